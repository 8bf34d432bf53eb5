// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace dravlet {

// A whole number as the program writes it into a text: one leading blank when not
// negative, "-" when negative, then the digits, with no point or exponent (52 -> " 52",
// 30.0f -> " 30", -3 -> "-3"). Only whole values up to 2^53 in magnitude, which every
// number the drill shows is: given a fraction or a larger value, it says so on the error
// output and aborts the program rather than write a text that could be wrong.
std::string renderNumber(double value);

// The value of an answer typed by the learner: after leading blanks (spaces, tabs),
// the plain decimal number that begins the text, the rest ignored; 0 when the text
// does not begin with a number.
//   - one optional sign, "+" or "-", directly before the digits;
//   - digits with an optional decimal point; a leading point counts (".5" is 0.5);
//   - the point is always ".", whatever the process locale; "12,5" reads as 12;
//   - no exponent ("1e2" reads as 1) and no hexadecimal;
//   - never NaN or infinity: a number too large for a double reads as the largest
//     finite double, with its sign.
// Linear in the length of the text, and copies at most a bounded prefix of it.
double readNumber(std::string_view text);

}  // namespace dravlet
