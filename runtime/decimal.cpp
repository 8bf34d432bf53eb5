// SPDX-License-Identifier: MIT
#include "runtime/decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace dravlet {

namespace {

// An unsigned integer of any size: 32-bit limbs, least significant first, no zero limb on top.
class BigInt {
public:
    explicit BigInt(std::uint64_t value = 0)
    {
        for (; value != 0; value >>= 32) {
            m_limbs.push_back(static_cast<std::uint32_t>(value));
        }
    }

    bool isZero() const { return m_limbs.empty(); }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend)
    {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : m_limbs) {
            carry += std::uint64_t{limb} * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry));
        }
    }

    // Times 10^exponent, nine digits a step.
    void multiplyByPowerOfTen(long exponent)
    {
        for (; exponent >= 9; exponent -= 9) {
            multiplyAdd(1000000000, 0);
        }
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) {
            rest *= 10;
        }
        multiplyAdd(rest, 0);
    }

    void shiftLeft(int bits)
    {
        if (isZero() || bits <= 0) {
            return;
        }
        const auto limbs = static_cast<std::size_t>(bits / 32);
        const int rest = bits % 32;
        if (rest != 0) {
            std::uint32_t carry = 0;
            for (std::uint32_t& limb : m_limbs) {
                const std::uint32_t next = limb >> (32 - rest);
                limb = (limb << rest) | carry;
                carry = next;
            }
            if (carry != 0) {
                m_limbs.push_back(carry);
            }
        }
        m_limbs.insert(m_limbs.begin(), limbs, 0);
    }

    int bitLength() const
    {
        if (isZero()) {
            return 0;
        }
        int bits = static_cast<int>(m_limbs.size() - 1) * 32;
        for (std::uint32_t top = m_limbs.back(); top != 0; top >>= 1) {
            ++bits;
        }
        return bits;
    }

    // Minus other, which is not larger.
    void subtract(const BigInt& other)
    {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            std::int64_t value = std::int64_t{m_limbs[i]} - borrow;
            if (i < other.m_limbs.size()) {
                value -= other.m_limbs[i];
            }
            borrow = value < 0 ? 1 : 0;
            m_limbs[i] = static_cast<std::uint32_t>(value + (borrow << 32));
        }
        trim();
    }

    friend bool operator<(const BigInt& a, const BigInt& b)
    {
        if (a.m_limbs.size() != b.m_limbs.size()) {
            return a.m_limbs.size() < b.m_limbs.size();
        }
        return std::lexicographical_compare(a.m_limbs.rbegin(), a.m_limbs.rend(), b.m_limbs.rbegin(),
                                            b.m_limbs.rend());
    }

private:
    void trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0) {
            m_limbs.pop_back();
        }
    }

    std::vector<std::uint32_t> m_limbs;
};

}  // namespace

double nearestDouble(std::string_view digits, long exponent)
{
    const auto first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) {
        return 0.0;
    }
    // The value lies in [10^(magnitude - 1), 10^magnitude).
    const long magnitude = static_cast<long>(digits.size() - first) + exponent;
    constexpr long beyondLargest = std::numeric_limits<double>::max_exponent10 + 2;
    constexpr long belowHalfSmallest = -324;  // 10^-324 < half of the smallest subnormal
    if (magnitude >= beyondLargest) {
        return std::numeric_limits<double>::infinity();
    }
    if (magnitude <= belowHalfSmallest) {
        return 0.0;
    }
    BigInt numerator;
    for (const char digit : digits.substr(first)) {
        numerator.multiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
    }
    BigInt denominator(1);
    if (exponent >= 0) {
        numerator.multiplyByPowerOfTen(exponent);
    } else {
        denominator.multiplyByPowerOfTen(-exponent);
    }
    // Scaled so that 1 <= numerator / denominator < 2; the value is that x 2^binaryExponent.
    int binaryExponent = numerator.bitLength() - denominator.bitLength();
    denominator.shiftLeft(binaryExponent);
    numerator.shiftLeft(-binaryExponent);
    if (numerator < denominator) {
        numerator.shiftLeft(1);
        --binaryExponent;
    }
    constexpr int mantissaBits = std::numeric_limits<double>::digits;
    constexpr int smallestNormal = std::numeric_limits<double>::min_exponent - 1;
    if (binaryExponent >= std::numeric_limits<double>::max_exponent) {
        return std::numeric_limits<double>::infinity();
    }
    // The bits the double keeps: fewer below the smallest normal exponent.
    const int bits = mantissaBits - std::max(0, smallestNormal - binaryExponent);
    if (bits < 0) {
        return 0.0;
    }
    std::uint64_t mantissa = 0;
    bool half = false;
    for (int i = 0; i <= bits; ++i) {
        const bool bit = !(numerator < denominator);
        if (bit) {
            numerator.subtract(denominator);
        }
        numerator.shiftLeft(1);
        if (i < bits) {
            mantissa = (mantissa << 1) | (bit ? 1U : 0U);
        } else {
            half = bit;
        }
    }
    if (half && (!numerator.isZero() || mantissa % 2 == 1)) {
        ++mantissa;
    }
    return std::ldexp(static_cast<double>(mantissa), binaryExponent - bits + 1);
}

}  // namespace dravlet
