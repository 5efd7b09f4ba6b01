#pragma once

#include <string>
#include <string_view>

namespace store::values {

// A number's text as plain decimals: the exponent form that very small or very large values take
// ("5E-5", "1.5E+20") written out digit for digit ("0.00005", "150000000000000000000"); any other
// text, numbers without an exponent included, comes back as it is. The digits are moved, never
// recomputed, so nothing is rounded.
std::string plainDecimalText(std::string_view text);

}  // namespace store::values
