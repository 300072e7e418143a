// SPDX-License-Identifier: MIT
#include "solver/Line.h"

#include <algorithm>

namespace Solver {

quint64 Random::Next()
{
    quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

quint32 Random::Below(quint32 n)
{
    // Lemire's multiply-and-reject: no modulo bias.
    quint64 product = quint64(quint32(Next())) * n;
    quint32 low = quint32(product);
    if (low < n) {
        const quint32 threshold = quint32(-n) % n;
        while (low < threshold) {
            product = quint64(quint32(Next())) * n;
            low = quint32(product);
        }
    }
    return quint32(product >> 32);
}

Replay ReplayLine(Board board, const std::vector<Move>& moves, const PairValues& values)
{
    Replay replay;
    std::array<Move, MaxMoves> legal;
    for (const Move& m : moves) {
        const int n = board.Moves(legal);
        if (std::find(legal.begin(), legal.begin() + n, m) == legal.begin() + n) {
            replay.legal = false;
            break;
        }
        replay.total += board.Value(m, values);
        board.Apply(m);
    }
    replay.end = board;
    return replay;
}

bool PlaysOut(const Board& board, const Line& line, const PairValues& values)
{
    const Replay replay = ReplayLine(board, line.moves, values);
    return replay.legal && replay.total == line.total && !replay.end.HasMove();
}

Line Greedy(Board board, const PairValues& values)
{
    Line line;
    std::array<Move, MaxMoves> moves;
    for (int n; (n = board.Moves(moves)) > 0;) {
        int pick = 0;
        for (int i = 1; i < n; ++i)
            if (board.Value(moves[size_t(i)], values) > board.Value(moves[size_t(pick)], values))
                pick = i;
        line.total += board.Value(moves[size_t(pick)], values);
        line.moves.push_back(moves[size_t(pick)]);
        board.Apply(moves[size_t(pick)]);
    }
    return line;
}

Line RandomPlay(Board board, const PairValues& values, quint64 seed)
{
    Random random(seed);
    Line line;
    std::array<Move, MaxMoves> moves;
    for (int n; (n = board.Moves(moves)) > 0;) {
        const Move m = moves[random.Below(quint32(n))];
        line.total += board.Value(m, values);
        line.moves.push_back(m);
        board.Apply(m);
    }
    return line;
}

} // namespace Solver
