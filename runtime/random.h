// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <random>

namespace dravlet {

// Source of the uniform numbers behind every draw. A seam, so tests can script the
// sequence and count how many values a procedure takes.
class RandomSource {
public:
    RandomSource() = default;
    virtual ~RandomSource() = default;
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;

    // Restarts the sequence from a seed; the same seed gives the same sequence.
    virtual void reseed(double seed) = 0;
    // The next value r of the sequence, 0 <= r < 1, uniform.
    virtual double next() = 0;
};

// Maps 64 random bits to [0, 1): the top 53 bits scaled by 2^-53, so the largest
// result is 1 - 2^-53 and 1.0 itself can never come out.
double unitFromBits(std::uint64_t bits);

// The whole-number draw Int(r * n) + 1: 1 to n, each equally likely. Never exceeds
// n, even for the largest r below 1.
int wholeDraw(double r, int n);

// Draws 1 to n from the source, taking exactly one value.
int drawWhole(RandomSource& random, int n);

// The program's generator: a 64-bit Mersenne Twister.
class MersenneRandom final : public RandomSource {
public:
    void reseed(double seed) override;
    double next() override;

private:
    std::mt19937_64 m_engine;
};

}  // namespace dravlet
