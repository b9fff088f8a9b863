#pragma once

#include <QString>

// Fixed-point text with exactly two decimals, a point and no grouping (12.50, -7.50). The value is first taken
// to 15 significant digits, then halves are rounded away from zero, so 1.005 gives 1.01.
QString TwoDecimalText(double value);
