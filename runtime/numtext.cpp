// SPDX-License-Identifier: MIT
#include "runtime/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <version>

// An older C++ library (the WebAssembly build's) has no floating-point from_chars; there an
// exact reading of its own does the floating-point work, with the same results.
#if __cpp_lib_to_chars >= 201611L
#define DRAVLET_FLOAT_CHARCONV 1
#else
#define DRAVLET_FLOAT_CHARCONV 0
#include "runtime/decimal.h"
#endif

namespace dravlet {

std::string renderNumber(double value)
{
    constexpr double exactIntegerLimit = 9007199254740992.0;  // 2^53
    if (!(std::trunc(value) == value && std::fabs(value) <= exactIntegerLimit)) {
        // The drill only ever renders whole numbers; anything else is a fault of the
        // caller, which a plausible-looking text would hide.
#ifndef __EMSCRIPTEN__
        std::fputs("dravlet: renderNumber was given a value that is not a whole number up to 2^53\n", stderr);
#endif
        std::abort();
    }
    std::array<char, 24> buffer{};
    char* const first = buffer.data();
    // One more place than the digits, for the blank or the minus.
    const auto [end, error] = std::to_chars(first + 1, first + buffer.size(), static_cast<std::int64_t>(value));
    (void)error;
    if (buffer[1] != '-') {
        buffer[0] = ' ';
        return {first, end};
    }
    return {first + 1, end};
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits beyond these bounds cannot change the double nearest to the number: a whole
// part longer than maxWholeDigits overflows anyway; a fraction that starts with more
// than maxLeadingZeros zeros is below half the smallest double, whatever follows; and
// the nearest double is fixed by the first 768 significant digits (a tie between two
// doubles needs that many) plus whether any later digit is non-zero.
constexpr std::size_t maxWholeDigits = 400;
constexpr std::size_t maxLeadingZeros = 400;
constexpr std::size_t maxSignificantDigits = 800;

}  // namespace

double readNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // Whole part, without the leading zeros that do not change its value.
    const std::size_t wholeStart = pos;
    while (pos < text.size() && text[pos] == '0') {
        ++pos;
    }
    const std::size_t significantStart = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    const std::string_view whole = text.substr(significantStart, pos - significantStart);
    bool anyDigit = pos > wholeStart;

    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionStart = ++pos;
        while (pos < text.size() && isDigit(text[pos])) {
            ++pos;
        }
        fraction = text.substr(fractionStart, pos - fractionStart);
        anyDigit = anyDigit || !fraction.empty();
    }
    if (!anyDigit) {
        return 0.0;
    }

    const double sign = negative ? -1.0 : 1.0;
    if (whole.size() > maxWholeDigits) {
        return sign * std::numeric_limits<double>::max();
    }

    // A bounded copy: "<whole>.<fraction>", the fraction cut short with a final 1
    // standing for any non-zero digit cut off, so rounding still comes out right.
    std::array<char, maxWholeDigits + maxLeadingZeros + maxSignificantDigits + 5> buffer{};
    std::size_t length = 0;
    buffer[length++] = '0';
    for (const char c : whole) {
        buffer[length++] = c;
    }
    buffer[length++] = '.';
    // Zeros that lead a fraction with no whole part only place its first significant digit.
    const std::size_t leadingZeros = whole.empty() ? std::min(fraction.find_first_not_of('0'), fraction.size()) : 0;
    const std::size_t kept =
        std::min(fraction.size(), std::min(leadingZeros, maxLeadingZeros) + maxSignificantDigits);
    for (std::size_t i = 0; i < kept; ++i) {
        buffer[length++] = fraction[i];
    }
    if (fraction.substr(kept).find_first_not_of('0') != std::string_view::npos) {
        buffer[length++] = '1';
    }
    buffer[length++] = '0';

    double value = 0.0;
#if DRAVLET_FLOAT_CHARCONV
    const auto [end, error] =
        std::from_chars(buffer.data(), buffer.data() + length, value, std::chars_format::fixed);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // A whole part of one digit or more can only overflow; a pure fraction can
        // only underflow.
        value = whole.empty() ? 0.0 : std::numeric_limits<double>::max();
    }
#else
    // The digits without the point, and as many powers of ten down as digits after it.
    const std::string_view number(buffer.data(), length);
    const std::size_t point = number.find('.');
    value = nearestDouble(std::string(number.substr(0, point)) + std::string(number.substr(point + 1)),
                          -static_cast<long>(length - point - 1));
    if (std::isinf(value)) {
        value = std::numeric_limits<double>::max();
    }
#endif
    return sign * value;
}

}  // namespace dravlet
