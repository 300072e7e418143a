// SPDX-License-Identifier: MIT
#include "solver/Nrpa.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Solver {

namespace {

    constexpr int PolicyBits = 16;
    constexpr quint32 PolicyMask = (1u << PolicyBits) - 1;

    // A move's code: its place and its two symbols, hashed into the policy's slots.
    quint32 CodeOf(const Board& board, const Move& m)
    {
        const quint32 key = (quint32(m.Code()) << 12) | (quint32(board.First(m)) << 6) | board.Second(m);
        return (key * 0x9E3779B1u) >> (32 - PolicyBits);
    }

    using Policy = std::vector<float>;

    struct Sequence
    {
        std::vector<Move> moves;
        int total = MinusInfinity;
    };

    class Nrpa
    {
    public:
        Nrpa(const Board& start, WorkerContext& context, quint64 seed, const NrpaOptions& options)
            : m_start(start), m_context(context), m_random(seed), m_options(options)
        {
            int best = 1;
            for (Tile t = 1; t < Blank; ++t)
                best = std::max(best, context.values.BestOf(t));
            m_bias = float(options.bias * 5.0 / best);
        }

        // False when stopped.
        bool Level(int level, Policy& policy, Sequence& best)
        {
            if (level == 0)
                return Playout(policy, best);
            for (int i = 0; i < m_options.iterations; ++i) {
                Policy copy = policy;
                Sequence found;
                if (!Level(level - 1, copy, found))
                    return false;
                if (found.total >= best.total)
                    best = std::move(found);
                Adapt(policy, best);
            }
            return true;
        }

    private:
        bool Playout(const Policy& policy, Sequence& out)
        {
            if (m_context.Tick())
                return false;
            Board board = m_start;
            out.moves.clear();
            out.total = 0;
            std::array<Move, MaxMoves> moves;
            std::array<float, MaxMoves> weight;
            for (int n; (n = board.Moves(moves)) > 0;) {
                if (m_context.Tick())
                    return false;
                float sum = 0;
                for (int i = 0; i < n; ++i) {
                    const Move& m = moves[size_t(i)];
                    sum += weight[size_t(i)] = std::exp(policy[CodeOf(board, m)] + m_bias * float(board.Value(m, m_context.values)));
                }
                float pick = sum * float(m_random.Next() >> 40) / float(1ull << 24);
                int chosen = n - 1;
                for (int i = 0; i < n - 1; ++i) {
                    pick -= weight[size_t(i)];
                    if (pick < 0) {
                        chosen = i;
                        break;
                    }
                }
                const Move& m = moves[size_t(chosen)];
                out.total += board.Value(m, m_context.values);
                out.moves.push_back(m);
                board.Apply(m);
            }
            if (out.total > m_context.best.total)
                m_context.Offer(Line { out.moves, out.total });
            return true;
        }

        // Shifts the policy towards the line: at each step the line's move gains alpha, and
        // every move there loses alpha times its probability, all read from the policy as
        // it was before.
        void Adapt(Policy& policy, const Sequence& line)
        {
            m_deltas.clear();
            Board board = m_start;
            std::array<Move, MaxMoves> moves;
            std::array<float, MaxMoves> weight;
            std::array<quint32, MaxMoves> codes;
            const float alpha = float(m_options.alpha);
            for (const Move& played : line.moves) {
                const int n = board.Moves(moves);
                float sum = 0;
                for (int i = 0; i < n; ++i) {
                    const Move& m = moves[size_t(i)];
                    codes[size_t(i)] = CodeOf(board, m);
                    sum += weight[size_t(i)] = std::exp(policy[codes[size_t(i)]] + m_bias * float(board.Value(m, m_context.values)));
                }
                for (int i = 0; i < n; ++i) {
                    m_deltas.push_back({ codes[size_t(i)], -alpha * weight[size_t(i)] / sum });
                    if (moves[size_t(i)] == played)
                        m_deltas.push_back({ codes[size_t(i)], alpha });
                }
                board.Apply(played);
            }
            for (const auto& [code, delta] : m_deltas)
                policy[code] += delta;
        }

        const Board m_start;
        WorkerContext& m_context;
        Random m_random;
        const NrpaOptions m_options;
        float m_bias = 0;
        std::vector<std::pair<quint32, float>> m_deltas;
    };

} // namespace

void SearchNrpa(const Board& start, WorkerContext& context, quint64 seed, const NrpaOptions& options)
{
    Nrpa nrpa(start, context, seed, options);
    for (;;) {
        Policy policy(size_t(PolicyMask) + 1, 0.0f);
        Sequence best;
        if (!nrpa.Level(options.level, policy, best))
            return;
    }
}

} // namespace Solver
