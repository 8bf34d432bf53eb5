// SPDX-License-Identifier: MIT
#pragma once

// The tests' own oracle, independent of the program: a problem's numbers are read back
// from its text as the learner sees it and its answer is worked out in integers; a typed
// answer is read by a slow reference reader; the verdict follows from the two.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>
#include <string_view>
#include <vector>

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
#ifdef _WIN32
    // MinGW's own strtod, correctly rounded; no test reads with another locale set.
    const double value = std::strtod(number.c_str(), nullptr);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
#endif
    if (std::isinf(value)) {
        return std::copysign(std::numeric_limits<double>::max(), value);
    }
    return value;
}

// mantissa x 2^exponent written out in full ("0.000..." below one), digit by digit: the
// exact decimal of a binary fraction, such as the halfway point between two doubles. (The
// C library's printf is not exact for long doubles everywhere: not in WebAssembly.)
inline std::string exactDecimal(std::uint64_t mantissa, int exponent)
{
    std::string digits = std::to_string(mantissa);
    for (int i = 0; i < std::abs(exponent); ++i) {  // m x 2^-k is m x 5^k / 10^k
        int carry = 0;
        for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
            carry += (*digit - '0') * (exponent > 0 ? 2 : 5);
            *digit = static_cast<char>('0' + carry % 10);
            carry /= 10;
        }
        digits.insert(0, carry == 0 ? "" : std::string(1, static_cast<char>('0' + carry)));
    }
    const auto places = static_cast<std::size_t>(std::max(0, -exponent));
    digits.insert(0, std::max(digits.size(), places + 1) - digits.size(), '0');
    return places == 0 ? digits : digits.insert(digits.size() - places, ".");
}

// A problem as shown, with everything it implies. broken is nullptr for a sound
// problem, else what is wrong with it.
struct ShownProblem {
    int kind = 0;  // 1: liters to add, 2: liters of the first, 3: strength of the blend
    std::string subject;        // the first name, with its one trailing blank
    std::string secondSubject;  // kind 3 only
    long liters1 = 0, liters2 = 0, pct1 = 0, pct2 = 0, blend = 0, answer = 0;
    const char* broken = "not a problem of a known kind";
};

inline ShownProblem readProblem(std::string_view shown)
{
    ShownProblem p;
    const std::string text(shown);
    std::vector<long> n;  // the numbers shown, in order
    for (const char* at = text.c_str(); *at != '\0';) {
        if (*at >= '0' && *at <= '9') {
            char* end = nullptr;
            n.push_back(std::strtol(at, &end, 10));
            at = end;
        } else {
            ++at;
        }
    }
    const auto has = [&](const char* piece) { return text.find(piece) != std::string::npos; };
    p.kind = has("must be added") ? 1 : has(" needs ") ? 2 : has("what percentage") ? 3 : 0;
    if (n.size() != 4 || p.kind == 0) {
        return p;
    }
    p.subject = text.substr(0, text.find(' ') + 1);
    // Kind 1 shows L1, P1, P2 and the blend R and asks for L2 = L1 (R - P1) / (P2 - R).
    // Kind 2 shows the total T, R, P1 and P2 and asks for L1 = T (P2 - R) / (P2 - P1).
    // Kind 3 shows L1, P1, L2 and P2. What is asked must come out whole.
    if (p.kind == 3) {
        p.liters1 = n[0];
        p.pct1 = n[1];
        p.liters2 = n[2];
        p.pct2 = n[3];
        const auto from = text.find("solution and ") + 13;
        p.secondSubject = text.substr(from, text.find(' ', from) + 1 - from);
    } else {
        p.pct1 = n[p.kind == 1 ? 1 : 2];
        p.pct2 = n[p.kind == 1 ? 2 : 3];
        const long blend = n[p.kind == 1 ? 3 : 1];
        const long asked = n[0] * (p.kind == 1 ? blend - p.pct1 : p.pct2 - blend);
        const long over = p.kind == 1 ? p.pct2 - blend : p.pct2 - p.pct1;
        if (over == 0 || asked % over != 0) {
            p.broken = "what is asked is not whole";
            return p;
        }
        p.liters1 = p.kind == 1 ? n[0] : asked / over;
        p.liters2 = p.kind == 1 ? asked / over : n[0] - asked / over;
    }
    const long solute = p.pct1 * p.liters1 + p.pct2 * p.liters2;
    const long total = p.liters1 + p.liters2;
    p.blend = total == 0 ? 0 : solute / total;
    p.answer = p.kind == 1 ? p.liters2 : p.kind == 2 ? p.liters1 : p.blend;
    const auto inRange = [](long v) { return v >= 1 && v <= 99; };
    if (!inRange(p.liters1) || !inRange(p.liters2) || !inRange(p.pct1) || !inRange(p.pct2)) {
        p.broken = "liters and strengths lie from 1 to 99";
    } else if (p.subject.size() < 2) {
        p.broken = "the problem names no one";
    } else if (solute % total != 0) {
        p.broken = "the blend is not a whole per cent";
    } else if (p.pct1 == p.pct2) {
        p.broken = "the two strengths are equal";
    } else if (p.kind == 3 && (p.secondSubject.size() < 2 || p.secondSubject == p.subject)) {
        p.broken = "the second person is another name";
    } else {
        p.broken = nullptr;
    }
    return p;
}

// The verdict a learner must see after typing this answer to this problem.
inline std::string expectedVerdict(const ShownProblem& p, std::string_view typed)
{
    if (referenceRead(typed) == static_cast<double>(p.answer)) {
        return "CORRECT";
    }
    const std::string answer = std::to_string(p.answer);
    switch (p.kind) {
    case 1: return "Wrong! " + answer + " Liters are needed";
    case 2: return "Wrong! " + answer + " Liters  are needed";
    default: return "Wrong! The solution is  " + answer + "%";
    }
}

}  // namespace dravlet::testing
