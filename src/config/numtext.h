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

} // namespace varnet
