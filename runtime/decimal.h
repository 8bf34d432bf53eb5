#pragma once

#include <string>
#include <string_view>

namespace dravlet {

// Exact conversions between doubles and decimal digits for a C++ library without the
// floating-point std::to_chars and std::from_chars (the WebAssembly build's). They give
// the same results, and need neither the C library's printf and strtod nor the 128-bit
// software floating point those bring along.

// What std::to_chars(first, last, value) writes: the fewest significant digits that read
// back as the value, in fixed or scientific notation, whichever is shorter (fixed on a
// tie), "inf" or "nan" with a "-" before when negative.
std::string shortestDecimal(double value);

// The double nearest to digits x 10^exponent (digits: '0' to '9' only, at least one),
// ties to even; infinity beyond the largest finite double.
double nearestDouble(std::string_view digits, long exponent);

}  // namespace dravlet
