// SPDX-License-Identifier: MIT
#include "runtime/random.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <version>
#if __cpp_lib_bit_cast >= 201806L
#include <bit>
#endif

namespace dravlet {

double unitFromBits(std::uint64_t bits)
{
    constexpr double scale = 0x1.0p-53;
    return static_cast<double>(bits >> 11) * scale;
}

int wholeDraw(double r, int n)
{
    const double scaled = std::floor(r * static_cast<double>(n));
    // r < 1 keeps scaled below n; the clamp makes that hold for any caller's r.
    return static_cast<int>(std::clamp(scaled, 0.0, static_cast<double>(n - 1))) + 1;
}

int drawWhole(RandomSource& random, int n)
{
    return wholeDraw(random.next(), n);
}

void MersenneRandom::reseed(double seed)
{
    // Every bit of the clock reading counts, fractions included.
#if __cpp_lib_bit_cast >= 201806L
    m_engine.seed(std::bit_cast<std::uint64_t>(seed));
#else
    // An older C++ library (the WebAssembly build's) has no bit_cast; the copy is the same bits.
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    m_engine.seed(bits);
#endif
}

double MersenneRandom::next()
{
    return unitFromBits(m_engine());
}

}  // namespace dravlet
