// The runtime's number-to-text conversions that pages print with: the
// digit-placeholder Format patterns and Str, the plain conversion that keeps
// a blank where a non-negative number's sign would stand.
#pragma once

#include <QString>

// Formats x by a pattern of digit placeholders: "0" always shows a digit,
// "#" shows one only where it is significant, an optional "." separates the
// integer and fraction placeholders. So "#.#####" gives 1.26606 and .5
// (no leading zero, trailing zeros dropped), "0.####0" gives 0.27148 and
// 2.00000 (everything up to the last "0" placeholder shown). The value is
// taken at fifteen significant digits and rounded half away from zero, as
// the runtime does; a value that rounds to zero carries no sign. A pattern
// made of anything else throws std::invalid_argument.
QString Format(double x, const QString& pattern);

// num2str with a leading blank for non-negative numbers: 0.002 gives " .002",
// -0.001 gives "-.001", 0 gives " 0".
QString Str(double x);
