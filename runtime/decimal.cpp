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

    // Times base^exponent, in as few steps as fit 32 bits (base 5 or 10).
    void multiplyByPower(std::uint32_t base, long exponent)
    {
        std::uint32_t step = 1;
        for (long i = 0; i < exponent; ++i) {
            if (step > std::numeric_limits<std::uint32_t>::max() / base) {
                multiplyAdd(step, 0);
                step = 1;
            }
            step *= base;
        }
        multiplyAdd(step, 0);
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

    // Divides in place, giving the remainder.
    std::uint32_t divide(std::uint32_t divisor)
    {
        std::uint64_t remainder = 0;
        for (auto limb = m_limbs.rbegin(); limb != m_limbs.rend(); ++limb) {
            const std::uint64_t value = (remainder << 32) | *limb;
            *limb = static_cast<std::uint32_t>(value / divisor);
            remainder = value % divisor;
        }
        trim();
        return static_cast<std::uint32_t>(remainder);
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

// Significant digits (no zero at either end) and the power of ten of the first.
struct Digits {
    std::string digits;
    long power = 0;
};

// The exact digits of a finite value above zero: mantissa x 2^exponent is
// mantissa x 5^-exponent x 10^exponent when the exponent is negative.
Digits exactDigits(double value)
{
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    constexpr int mantissaBits = std::numeric_limits<double>::digits;
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, mantissaBits));
    exponent -= mantissaBits;
    for (; mantissa % 2 == 0 && exponent < 0; mantissa /= 2) {
        ++exponent;
    }
    BigInt whole(mantissa);
    if (exponent >= 0) {
        whole.shiftLeft(exponent);
    } else {
        whole.multiplyByPower(5, -exponent);
    }
    std::string digits;
    constexpr std::uint32_t chunk = 1000000000;
    while (!whole.isZero()) {
        std::uint32_t part = whole.divide(chunk);
        for (int i = 0; i < 9; ++i, part /= 10) {
            digits += static_cast<char>('0' + part % 10);
        }
    }
    std::reverse(digits.begin(), digits.end());
    digits.erase(0, digits.find_first_not_of('0'));
    const auto zerosAtEnd = digits.size() - 1 - digits.find_last_not_of('0');
    const long power = static_cast<long>(digits.size()) - 1 + std::min(exponent, 0);
    digits.resize(digits.size() - zerosAtEnd);
    return {digits, power};
}

// One unit more in the last place, carried: 99 becomes 10 at the next power of ten.
void addUnit(Digits& number)
{
    const auto at = number.digits.find_last_not_of('9');
    if (at == std::string::npos) {
        number.digits = "1" + std::string(number.digits.size() - 1, '0');
        ++number.power;
    } else {
        ++number.digits[at];
        std::fill(number.digits.begin() + static_cast<std::ptrdiff_t>(at) + 1, number.digits.end(), '0');
    }
}

// The exact digits rounded to count significant digits, ties to even (as printf's %.*e).
Digits rounded(const Digits& exact, std::size_t count)
{
    Digits result{exact.digits.substr(0, count), exact.power};
    if (exact.digits.size() <= count) {
        result.digits.resize(count, '0');
        return result;
    }
    const char next = exact.digits[count];
    const bool beyondHalf = exact.digits.find_first_not_of('0', count + 1) != std::string::npos;
    const bool odd = (result.digits.back() - '0') % 2 == 1;
    if (next > '5' || (next == '5' && (beyondHalf || odd))) {
        addUnit(result);
    }
    return result;
}

// The fewest significant digits that read back as the value: the value rounded to one
// digit, two, ... Where the rounded digits miss (just above a power of two the gap to the
// double below is half the gap above), the digits one unit up in the last place may hit;
// one unit down never can, being farther on the narrow side.
Digits shortestDigits(const Digits& exact, double magnitude)
{
    constexpr std::size_t enoughDigits = std::numeric_limits<double>::max_digits10;
    for (std::size_t count = 1;; ++count) {
        Digits candidate = rounded(exact, count);
        if (count >= enoughDigits) {
            return candidate;
        }
        for (int tries = 0; tries < 2; ++tries, addUnit(candidate)) {
            if (nearestDouble(candidate.digits, candidate.power + 1 - static_cast<long>(count)) == magnitude) {
                return candidate;
            }
        }
    }
}

}  // namespace

std::string shortestDecimal(double value)
{
    if (!std::isfinite(value)) {
        return std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf");
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0) {
        return sign + "0";
    }
    const Digits exact = exactDigits(std::fabs(value));
    const auto [digits, power] = shortestDigits(exact, std::fabs(value));
    const auto count = static_cast<long>(digits.size());
    const std::string powerDigits = std::to_string(std::abs(power));
    const std::string scientific = sign + digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + "e"
                                   + (power < 0 ? "-" : "+") + (powerDigits.size() < 2 ? "0" : "") + powerDigits;
    std::string fixed;
    if (power < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-power - 1), '0') + digits;
    } else if (power + 1 >= count) {
        // A whole value: its exact digits, as long as the shortest ones padded with zeros
        // and nearer to it.
        fixed = exact.digits + std::string(static_cast<std::size_t>(exact.power + 1) - exact.digits.size(), '0');
    } else {
        const auto point = static_cast<std::size_t>(power + 1);
        fixed = digits.substr(0, point) + "." + digits.substr(point);
    }
    fixed = sign + fixed;
    return fixed.size() <= scientific.size() ? fixed : scientific;
}

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
        numerator.multiplyByPower(10, exponent);
    } else {
        denominator.multiplyByPower(10, -exponent);
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
