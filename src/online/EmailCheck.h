#pragma once

#include <QString>

// True when the address has the shape name@host.domain that the feedback window accepts: letters, digits and
// _ . + - before one at-sign, then a label of letters, digits and hyphens, a dot, and further labels that end in
// a letter or digit (either letter case). An empty text never passes.
bool IsValidEmailAddress(const QString& address);
