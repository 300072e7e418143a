// SPDX-License-Identifier: MIT
#include "game/DealRandom.h"

namespace {

constexpr quint64 Multiplier = 6364136223846793005ULL;
// The stream: any odd increment gives a full-period generator; this one is fixed for good,
// since changing it would change every numbered board.
constexpr quint64 Increment = 1442695040888963407ULL;

} // namespace

DealRandom::DealRandom(quint64 seed)
{
    // As the generator's authors seed it: step once from 0, add the seed, step again.
    Next();
    m_state += seed;
    Next();
}

quint32 DealRandom::Next()
{
    const quint64 old = m_state;
    m_state = old * Multiplier + Increment;
    const auto xorshifted = quint32(((old >> 18u) ^ old) >> 27u);
    const auto rot = quint32(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((0u - rot) & 31u));
}

quint32 DealRandom::Below(quint32 bound)
{
    if (bound == 0)
        return 0;
    // 2^32 mod bound, computed in 32 bits: the values below it are the incomplete run.
    const quint32 threshold = (0u - bound) % bound;
    for (;;) {
        const quint32 r = Next();
        if (r >= threshold)
            return r % bound;
    }
}

int DealRandom::Weighted(const std::vector<int>& weights)
{
    qint64 sum = 0;
    for (int w : weights)
        sum += w;
    if (sum <= 0 || sum > qint64(0xFFFFFFFFu))
        return 0;
    qint64 r = Below(quint32(sum));
    for (size_t i = 0; i < weights.size(); ++i) {
        if (r < weights[i])
            return int(i);
        r -= weights[i];
    }
    return 0;
}
