#pragma once

#include <QString>

class DbValue;

// Prices and amounts of the top selling report and the stock sheet: fixed-point with two decimals after the
// value has been cut to 10 significant digits (halves away from zero, after the usual 15-digit clean-up). A
// value with more than 10 integer digits comes out in exponent notation (1.5E+10).
QString ReportAmountText(double value);

// A stored value read as a number for the reports: integers and reals as they are, NULL as 0, text only when it
// is a number. Nothing when the value cannot be read as a number.
bool ReportNumberOf(const DbValue& value, double& number);
