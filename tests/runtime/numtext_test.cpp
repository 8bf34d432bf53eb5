// SPDX-License-Identifier: MIT
#include "runtime/numtext.h"
#include "runtime/decimal.h"
#include "tests/support/oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <locale>
#include <random>
#include <string>

namespace dravlet {
namespace {

struct RenderRow {
    const char* name;
    double value;
    const char* text;
};

class RenderNumber : public ::testing::TestWithParam<RenderRow> {};

TEST_P(RenderNumber, WritesOneLeadingBlankOrAMinus)
{
    EXPECT_EQ(renderNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RenderNumber,
    ::testing::Values(RenderRow{"Zero", 0.0, " 0"}, RenderRow{"NegativeZero", -0.0, " 0"},
                      RenderRow{"FiftyTwo", 52.0, " 52"},
                      RenderRow{"FloatThirty", static_cast<double>(30.0F), " 30"},
                      RenderRow{"LargestTotal", 198.0, " 198"},
                      RenderRow{"Negative", -3.0, "-3"},
                      RenderRow{"BeyondInt32", 4294967296.0, " 4294967296"},
                      RenderRow{"LargestExact", -9007199254740992.0, "-9007199254740992"}),
    [](const auto& row) { return std::string(row.param.name); });

// Only whole numbers are rendered; anything else stops the program instead of showing a
// text that may be wrong.
TEST(RenderNumberLimits, AbortsOnWhatIsNotAWholeNumberUpTo2To53)
{
    for (const double value : {12.5, -0.25, 9007199254740994.0, 1e20, std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_DEATH_IF_SUPPORTED(renderNumber(value), "not a whole number") << value;
    }
}

struct ReadRow {
    const char* name;
    const char* text;
    double value;
};

class ReadNumber : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadNumber, ReadsTheLeadingPlainNumber)
{
    EXPECT_EQ(readNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadNumber,
    ::testing::Values(
        ReadRow{"Whole", "30", 30.0}, ReadRow{"WithPointZero", "30.0", 30.0},
        ReadRow{"LeadingBlank", " 30", 30.0}, ReadRow{"LeadingBlanksAndTab", "  \t30", 30.0},
        ReadRow{"TrailingWord", "30 liters", 30.0}, ReadRow{"TrailingBlank", "30 ", 30.0},
        ReadRow{"Word", "thirty", 0.0}, ReadRow{"Empty", "", 0.0},
        ReadRow{"OnlyBlanks", "   ", 0.0}, ReadRow{"Fraction", "12.5 l", 12.5},
        ReadRow{"PercentSign", "52%", 52.0}, ReadRow{"TrailingPoint", "30.", 30.0},
        ReadRow{"LeadingPoint", ".5", 0.5}, ReadRow{"LonePoint", ".", 0.0},
        ReadRow{"PointThenWord", ".x", 0.0}, ReadRow{"Minus", "-30", -30.0},
        ReadRow{"Plus", "+30", 30.0}, ReadRow{"LoneSign", "-", 0.0},
        ReadRow{"SignThenBlank", "- 5", 0.0}, ReadRow{"TwoSigns", "+-5", 0.0},
        ReadRow{"LeadingZeros", "0030", 30.0}, ReadRow{"NoExponent", "1e2", 1.0},
        ReadRow{"NoHex", "0x1A", 0.0}, ReadRow{"CommaEndsTheNumber", "12,5", 12.0},
        ReadRow{"SecondPointEnds", "1.2.3", 1.2}, ReadRow{"NotInfinity", "inf", 0.0},
        ReadRow{"NotNaN", "nan", 0.0}, ReadRow{"WordFirst", "about 30", 0.0},
        ReadRow{"CorrectlyRounded", "0.1", 0.1}, ReadRow{"ManyDigits", "98.99999999999999999999", 99.0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ReadNumberLimits, MegabyteOfDigitsIsLargeButFiniteAndFast)
{
    const std::string digits(1 << 20, '9');
    // Best of three, so a busy machine does not fail it; a reader that went back over
    // the digits for each one would take minutes here, not milliseconds.
    auto best = std::chrono::steady_clock::duration::max();
    for (int round = 0; round < 3; ++round) {
        const auto started = std::chrono::steady_clock::now();
        const double value = readNumber(digits);
        best = std::min(best, std::chrono::steady_clock::now() - started);
        ASSERT_EQ(value, std::numeric_limits<double>::max());
    }
    EXPECT_EQ(readNumber("-" + digits), -std::numeric_limits<double>::max());
    EXPECT_LT(best, std::chrono::milliseconds(500));
}

TEST(ReadNumberLimits, LongRunsOfZerosKeepTheValue)
{
    EXPECT_EQ(readNumber(std::string(1 << 20, '0') + "42"), 42.0);
    EXPECT_EQ(readNumber("42." + std::string(1 << 20, '0') + "1"), 42.0);
    EXPECT_EQ(readNumber("0." + std::string(1 << 20, '0') + "1"), 0.0);
    EXPECT_EQ(readNumber(std::string(1 << 20, ' ') + "7"), 7.0);
}

// A tie between two doubles can need over 1 000 places after the point, most of them
// zeros that lead the fraction; the digits that follow them decide it, ties to even. Each
// tie ends in 5; one with 49 there is just below it.
TEST(ReadNumberLimits, LongTiesReadAsTheNearestDouble)
{
    // Between 0x1.0000000000001p-748 and the next double up: 801 places, the first 225 zeros;
    // between the two smallest doubles: 1 075 places, the first 323 zeros.
    const std::string tie = testing::exactDecimal((std::uint64_t{1} << 53) + 3, -801);
    const std::string smallest = testing::exactDecimal(3, -1075);
    const auto below = [](const std::string& text) { return text.substr(0, text.size() - 1) + "49"; };
    const double least = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(readNumber(tie), 0x1.0000000000002p-748);
    EXPECT_EQ(readNumber(below(tie)), 0x1.0000000000001p-748);
    EXPECT_EQ(readNumber("000" + tie + std::string(300, '0') + " l"), 0x1.0000000000002p-748);
    EXPECT_EQ(readNumber("-" + smallest), -2 * least);
    EXPECT_EQ(readNumber(below(smallest)), least);
}

TEST(ReadNumberLimits, MegabyteOfJunkAfterTheNumberIsIgnored)
{
    EXPECT_EQ(readNumber("30" + std::string(1 << 20, 'x')), 30.0);
    EXPECT_EQ(readNumber(std::string(1 << 20, 'x')), 0.0);
}

TEST(ReadNumberLimits, ResultIsNeverNaNOrInfinite)
{
    for (const char* text : {"1e999", "9999999999999999999999999999999999999999", "-.",
                             "179769313486231570814527423731704356798070567525844996598917476803157"
                             "260780028538760589558632766878171540458953514382464234321326889464182"
                             "768467546703537516986049910576551282076245490090389328944075868508455"
                             "133942304583236903222948165808559332123348274797826204144723168738177"
                             "180919299881250404026184124858368.0"}) {
        EXPECT_TRUE(std::isfinite(readNumber(text))) << text;
    }
}

// The WebAssembly build reads digits with code of its own; where the standard library can,
// it is the oracle: digits read as from_chars reads them, including exact ties between two
// doubles.
TEST(ExactDecimal, AgreesWithTheStandardLibraryBitForBit)
{
#if __cpp_lib_to_chars >= 201611L
    std::mt19937_64 random(20261208);
    const auto read = [](const std::string& digits, long exponent) {
        const std::string text = digits + "e" + std::to_string(exponent);
        double value = 0.0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        // Out of range: zero below the smallest double, infinity above the largest.
        return error == std::errc{} ? value : (exponent < 0 ? 0.0 : std::numeric_limits<double>::infinity());
    };
    std::vector<double> values{std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::max(), 0.1, 1.0 / 3, 1e23, 9007199254740993.0,
                               5e-324, 2.2250738585072009e-308};
    for (int i = 0; i < 6000; ++i) {
        const std::uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
        values.push_back(static_cast<double>(random() % 200000) / static_cast<double>(random() % 999 + 1));
    }
    for (const double value : values) {
        // The exact tie between the value and the next double up, just below and above it.
        const double next = std::nextafter(std::fabs(value), std::numeric_limits<double>::infinity());
        if (!std::isfinite(next)) {
            continue;
        }
        std::array<char, 1200> exact{};
        std::snprintf(exact.data(), exact.size(), "%.1100Le", (std::fabs(value) + static_cast<long double>(next)) / 2);
        std::string digits(exact.data(), std::strchr(exact.data(), 'e'));
        digits.erase(1, 1);
        digits.erase(digits.find_last_not_of('0') + 1);
        const long exponent = std::strtol(std::strchr(exact.data(), 'e') + 1, nullptr, 10) + 1
                              - static_cast<long>(digits.size());
        std::string below = digits;
        below.back() = static_cast<char>(below.back() - 1);
        for (const std::string& tie : {digits, below + "9", digits + "1"}) {
            const long shift = static_cast<long>(tie.size() - digits.size());
            ASSERT_EQ(nearestDouble(tie, exponent - shift), read(tie, exponent - shift)) << tie << "e" << exponent;
        }
    }
    for (int i = 0; i < 20000; ++i) {
        std::string digits = std::to_string(random() % 1000000000) + std::to_string(random());
        digits.resize(random() % digits.size() + 1);
        const long exponent = static_cast<long>(random() % 700) - 360;
        ASSERT_EQ(nearestDouble(digits, exponent), read(digits, exponent)) << digits << "e" << exponent;
    }
#else
    GTEST_SKIP() << "this C++ library has no floating-point from_chars to compare with";
#endif
}

#ifdef _WIN32
// The C runtime's own German locale (decimal comma).
const char* commaLocale()
{
    return "German_Germany.1252";
}
#else
// Builds a German locale (decimal comma) into a private folder, so the test needs no
// locale generated system-wide; localedef comes with libc, its sources with "locales".
const char* commaLocale()
{
    static const std::string dir = [] {
        std::string pattern = ::testing::TempDir() + "dravlet-locale-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        return made == nullptr ? std::string() : pattern;
    }();
    if (dir.empty()) {
        return nullptr;
    }
    const std::string command =
        "localedef -i de_DE -f UTF-8 -c '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return nullptr;
    }
    setenv("LOCPATH", dir.c_str(), 1);
    return "de_DE.UTF-8";
}
#endif

TEST(ReadNumberLimits, TheProcessLocaleDoesNotChangeTheDecimalPoint)
{
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly programs have only the C locale: there is no other to switch to";
#endif
    const char* name = commaLocale();
    ASSERT_NE(name, nullptr) << "could not build a comma-decimal locale";
    ASSERT_NE(std::setlocale(LC_ALL, name), nullptr);
    ASSERT_EQ(std::localeconv()->decimal_point[0], ',');
#ifndef _WIN32  // MinGW's C++ library has the C locale only
    std::locale::global(std::locale(name));
#endif

    EXPECT_EQ(readNumber("12.5"), 12.5);
    EXPECT_EQ(readNumber("12,5"), 12.0);
    EXPECT_EQ(renderNumber(1234567.0), " 1234567");

    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
#ifndef _WIN32
    unsetenv("LOCPATH");
#endif
}

}  // namespace
}  // namespace dravlet
