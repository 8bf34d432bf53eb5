#include "runtime/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace dravlet {

std::string renderNumber(double value)
{
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    std::to_chars_result result{};
    constexpr double exactIntegerLimit = 9007199254740992.0;  // 2^53
    if (std::trunc(value) == value && std::fabs(value) < exactIntegerLimit) {
        result = std::to_chars(first, last, static_cast<std::int64_t>(value));
    } else {
        result = std::to_chars(first, last, value);
    }
    std::string text(first, result.ptr);
    if (!text.starts_with('-')) {
        text.insert(text.begin(), ' ');
    }
    return text;
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits beyond these bounds cannot change the double nearest to the number: a whole
// part longer than maxWholeDigits overflows anyway, and the nearest double is fixed
// by the first 767 significant digits plus whether any later digit is non-zero.
constexpr std::size_t maxWholeDigits = 400;
constexpr std::size_t maxFractionDigits = 800;

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
    std::array<char, maxWholeDigits + maxFractionDigits + 4> buffer{};
    std::size_t length = 0;
    buffer[length++] = '0';
    for (const char c : whole) {
        buffer[length++] = c;
    }
    buffer[length++] = '.';
    const std::size_t kept = std::min(fraction.size(), maxFractionDigits);
    for (std::size_t i = 0; i < kept; ++i) {
        buffer[length++] = fraction[i];
    }
    if (fraction.substr(kept).find_first_not_of('0') != std::string_view::npos) {
        buffer[length++] = '1';
    }
    buffer[length++] = '0';

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(buffer.data(), buffer.data() + length, value, std::chars_format::fixed);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // A whole part of one digit or more can only overflow; a pure fraction can
        // only underflow.
        value = whole.empty() ? 0.0 : std::numeric_limits<double>::max();
    }
    return sign * value;
}

}  // namespace dravlet
