#pragma once

#include <string>

namespace varnet {

// Numbers as the program writes them in files and shows them in windows:
// "." as decimal separator whatever the locale, the shortest form that gives
// the value back (at most 7 significant digits for a Single, 15 for a
// Double), an exponent such as "1E-10" or "1.5E+07" for very large or very
// small magnitudes, and a zero before the point ("0.5").
std::string formatSingle(float value);
std::string formatDouble(double value);

// The same with one leading blank when the value is not negative, as
// number boxes and composed texts show numbers (" 3", "-3", " 0.5").
std::string strSingle(float value);
std::string strInteger(long long value);

// At least `digits` digits with leading zeros, a "-" before negative
// values ("007", "-012"), as lists and port names show numbers.
std::string zeroPadded(long long value, int digits);

} // namespace varnet
