// Reading a decimal number as the nearest double, the same on every build and in every locale.
#pragma once

#include <charconv>

// What std::from_chars(first, last, value) does for a double in its general format, for the C++
// libraries that lack it (the browser build's): reads the longest prefix of the form
// [-]digits[.digits][(e|E)[+|-]digits], or [-]inf, [-]infinity, [-]nan, [-]nan(chars) in any
// case, as the nearest double. ptr points past what was read. ec is invalid_argument when no
// number starts at first (value untouched), result_out_of_range when the number lies beyond the
// doubles (it would become infinite, or a number that is not zero would become zero; value
// untouched); numbers below the normal range keep their nearest subnormal value. The locale's
// decimal separator plays no part.
std::from_chars_result FromChars(const char* first, const char* last, double& value);
