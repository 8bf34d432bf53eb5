#include "runtime/numtext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <version>

// An older C++ library (the WebAssembly build's) has only the integer to_chars and
// from_chars; there the C library does the floating-point work, with the same results.
#if __cpp_lib_to_chars >= 201611L
#define DRAVLET_FLOAT_CHARCONV 1
#else
#define DRAVLET_FLOAT_CHARCONV 0
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <utility>
#endif

namespace dravlet {

namespace {

#if !DRAVLET_FLOAT_CHARCONV
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

// The fewest significant digits that read back as the value, and the power of ten of
// the first. Where the correctly rounded digits miss (the gap below a power of two is
// half the gap above), a neighbour one unit away in the last digit may hit.
std::pair<std::string, int> shortestDigits(double magnitude)
{
    std::array<char, 64> text{};
    for (int precision = 0;; ++precision) {
        std::snprintf(text.data(), text.size(), "%.*e", precision, magnitude);
        std::string digits;
        const char* at = text.data();
        for (; *at != 'e'; ++at) {
            if (*at >= '0' && *at <= '9') {
                digits += *at;
            }
        }
        const int exponent = std::atoi(at + 1);
        const std::uint64_t mantissa = std::strtoull(digits.c_str(), nullptr, 10);
        for (const int step : {0, 1, -1}) {
            std::string candidate = std::to_string(mantissa + static_cast<std::uint64_t>(step));
            int power = exponent + static_cast<int>(candidate.size()) - static_cast<int>(digits.size());
            candidate.resize(digits.size(), '0');
            std::snprintf(text.data(), text.size(), "0.%se%d", candidate.c_str(), power + 1);
            if (precision >= 16 || strtod_l(text.data(), nullptr, cLocale()) == magnitude) {
                return {candidate, power};
            }
        }
    }
}

// What std::to_chars(first, last, value) writes: the shortest digits in fixed or
// scientific notation, whichever is shorter (fixed on a tie), always with a "." point.
std::string shortestText(double value)
{
    if (!std::isfinite(value)) {
        return std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    const auto [digits, exponent] = shortestDigits(std::fabs(value));
    const int count = static_cast<int>(digits.size());
    std::array<char, 16> power{};
    std::snprintf(power.data(), power.size(), "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string scientific =
        sign + digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + power.data();
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= count) {
        // A whole value: its exact digits, as long as the shortest ones padded with
        // zeros and nearer to it.
        std::array<char, 320> whole{};
        std::snprintf(whole.data(), whole.size(), "%.0f", std::fabs(value));
        fixed = whole.data();
    } else {
        const auto point = static_cast<std::size_t>(exponent + 1);
        fixed = digits.substr(0, point) + "." + digits.substr(point);
    }
    fixed = sign + fixed;
    return fixed.size() <= scientific.size() ? fixed : scientific;
}
#endif

}  // namespace

std::string renderNumber(double value)
{
    std::array<char, 64> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    std::string text;
    constexpr double exactIntegerLimit = 9007199254740992.0;  // 2^53
    if (std::trunc(value) == value && std::fabs(value) < exactIntegerLimit) {
        text.assign(first, std::to_chars(first, last, static_cast<std::int64_t>(value)).ptr);
    } else {
#if DRAVLET_FLOAT_CHARCONV
        text.assign(first, std::to_chars(first, last, value).ptr);
#else
        text = shortestText(value);
#endif
    }
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
    std::array<char, maxWholeDigits + maxFractionDigits + 5> buffer{};
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
    // Correctly rounded like from_chars; only an overflow differs (infinity, not an error).
    buffer[length] = '\0';
    value = strtod_l(buffer.data(), nullptr, cLocale());
    if (std::isinf(value)) {
        value = std::numeric_limits<double>::max();
    }
#endif
    return sign * value;
}

}  // namespace dravlet
