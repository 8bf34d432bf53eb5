// SPDX-License-Identifier: MIT
// Reading an answer: never crashes, never reads outside the text, never returns NaN or
// infinity, and agrees with the slow reference reader on every input.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "runtime/numtext.h"
#include "tests/support/oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = dravlet::readNumber(text);
    const double expected = dravlet::testing::referenceRead(text);
    if (!std::isfinite(value)) {
        std::fprintf(stderr, "not finite: %g\n", value);
        std::abort();
    }
    // Bit for bit (so 0 and -0 differ), except that both readers may give either zero.
    if (std::memcmp(&value, &expected, sizeof value) != 0 && !(value == 0.0 && expected == 0.0)) {
        std::fprintf(stderr, "read %.17g, reference %.17g\n", value, expected);
        std::abort();
    }
    return 0;
}

#ifdef DRAVLET_LIBFUZZER
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// Texts that byte mutations alone do not reach: the exact halfway point between the double
// the text reads as (or one drawn at random) and the next one up, up to 1 075 places after
// the point, or a hair beyond it; and a piece of the text repeated up to 1 000 times.
// Run with -max_len=2000 or more.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned seed)
{
    std::mt19937_64 random(seed);
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint64_t choice = random() % 4;
    if (choice == 0) {
        double value = std::fabs(dravlet::testing::referenceRead(text));
        if (value == 0.0 || random() % 2 == 0) {
            const std::uint64_t bits = random() & 0x7FEF'FFFF'FFFF'FFFFU;  // finite, not negative
            std::memcpy(&value, &bits, sizeof value);
        }
        int exponent = 0;
        const auto mantissa = static_cast<std::uint64_t>(std::ldexp(std::frexp(value, &exponent), 53));
        text = dravlet::testing::exactDecimal(2 * mantissa + 1, exponent - 54);
        text += random() % 2 == 0 ? "" : std::string(random() % 400, '0') + "1";
    } else if (choice == 1 && !text.empty()) {
        const std::size_t at = random() % text.size();
        const std::string piece = text.substr(at, random() % 4 + 1);
        for (std::uint64_t times = random() % 1000 + 1; times > 0; --times) {
            text.insert(at, piece);
        }
    } else {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    size = std::min(text.size(), maxSize);
    std::memcpy(data, text.data(), size);
    return size;
}
#endif
