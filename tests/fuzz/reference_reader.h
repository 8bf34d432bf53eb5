#pragma once

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>
#include <string_view>

namespace dravlet::testing {

// The answer-reading rules written the slow, obvious way: pick out the characters of
// the number one by one, copy them whole, and let the C library's strtod (in the "C"
// locale, correctly rounded) turn them into a double.
inline double referenceRead(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number += text[i++];
    }
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits) {
        return 0.0;
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    if (std::isinf(value)) {
        return std::copysign(std::numeric_limits<double>::max(), value);
    }
    return value;
}

}  // namespace dravlet::testing
