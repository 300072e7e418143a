// SPDX-License-Identifier: MIT
// The deals' random numbers, wholly our own: the PCG32 generator (64-bit state, 32-bit
// output by xorshift and random rotation) and an unbiased mapping to a range. A deal number
// seeds it, so the same number gives the same board with every compiler and standard
// library; the standard distributions (uniform_int_distribution, shuffle, ...) are free to
// differ between libraries, and do, so none of them may touch a deal.
#pragma once

// Qt
#include <QtGlobal>

#include <vector>

class DealRandom
{
public:
    explicit DealRandom(quint64 seed);

    // The next 32 bits.
    quint32 Next();
    // Uniform over 0 .. bound - 1; 0 for a bound of 0. Draws that would favour the low
    // values (the last, incomplete run of 2^32 mod bound values) are drawn again.
    quint32 Below(quint32 bound);
    // An index of weights, each as likely as its share of their sum; 0 when they sum to 0.
    // The weights must not be negative.
    int Weighted(const std::vector<int>& weights);

private:
    quint64 m_state = 0;
};
