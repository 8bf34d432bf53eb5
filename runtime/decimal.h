// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace dravlet {

// The exact reading of decimal digits for a C++ library without the floating-point
// std::from_chars (the WebAssembly build's). It gives the same results, and needs neither
// the C library's strtod nor the 128-bit software floating point it brings along.

// The double nearest to digits x 10^exponent (digits: '0' to '9' only, at least one),
// ties to even; infinity beyond the largest finite double.
double nearestDouble(std::string_view digits, long exponent);

}  // namespace dravlet
