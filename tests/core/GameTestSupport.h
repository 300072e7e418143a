// SPDX-License-Identifier: MIT
// A recording host for the game, and a way to lay out a board from a picture.
#pragma once

#include "game/Game.h"
#include "game/ScoreTables.h"
#include "game/TextGrid.h"

// Qt
#include <QStringList>

#include <array>
#include <ostream>
#include <vector>

// Readable failure messages for texts and pictures, and for the game's named values.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(Sound sound, std::ostream* os) { *os << "sound " << int(sound); }
inline void PrintTo(RankingMode mode, std::ostream* os) { *os << "ranking mode " << int(mode); }
inline void PrintTo(RankPending pending, std::ostream* os) { *os << "rank pending " << int(pending); }
inline void PrintTo(const GameRecord& r, std::ostream* os)
{
    *os << "deal " << r.dealNumber << " (" << r.deal.rows << "x" << r.deal.cols << "), " << r.moves.size()
        << " moves, " << r.selection.size() << " picked, " << r.redo.size() << " to redo";
}

class RecordingHost : public GameHost
{
public:
    DealSettings deal;
    Colouring colouring = Colouring::ByElement;
    std::vector<Sound> sounds;
    int beeps = 0;
    RankPending rankPendingAtEnd = RankPending::None;
    std::array<int, 5> strip {};
    int remaining = -1;
    int points = -1;
    PointsRefresh pointsRefresh = PointsRefresh::Other;
    std::vector<GameEnd> ends;
    Game* game = nullptr;

    void PlayWave(Sound sound) override { sounds.push_back(sound); }
    void Beep() override { ++beeps; }
    DealSettings CurrentDealSettings() const override { return deal; }
    Colouring CurrentColouring() const override { return colouring; }
    void GameEnded(GameEnd end) override
    {
        ends.push_back(end);
        if (game)
            rankPendingAtEnd = game->RankPending();
    }
    void BoardChanged() override { }
    void ElementStripChanged(const std::array<int, 5>& counts) override { strip = counts; }
    void RemainingChanged(int value) override { remaining = value; }
    void PointsChanged(int total, PointsRefresh refresh) override
    {
        points = total;
        pointsRefresh = refresh;
    }
};

// Lays out the bottom rows of the board from a picture: the last string is row 9, each
// character one column from the left; "." is a hidden tile. Rows above and columns to the
// right of the picture are hidden.
inline void LayBoard(Game& game, const QStringList& picture)
{
    std::array<QString, Game::TileCount> captions;
    std::array<bool, Game::TileCount> visible {};
    const int top = Game::Rows - int(picture.size());
    for (int i = 0; i < picture.size(); ++i) {
        const QString& line = picture.at(i);
        for (int c = 0; c < line.size() && c < Game::Cols; ++c) {
            const int index = c + (top + i) * Game::Cols;
            if (line.at(c) != QLatin1Char('.')) {
                captions[size_t(index)] = line.at(c);
                visible[size_t(index)] = true;
            }
        }
    }
    game.SetBoardForTest(captions, visible);
}

// The board in play as a picture of its bottom `rows` rows, in the same form.
inline QStringList Picture(const Game& game, int rows, int cols)
{
    QStringList out;
    for (int r = Game::Rows - rows; r < Game::Rows; ++r) {
        QString line;
        for (int c = 0; c < cols; ++c) {
            const Tile& t = game.TileAt(c, r);
            line += t.visible ? t.caption : QStringLiteral(".");
        }
        out << line;
    }
    return out;
}

// The three default score tables, as the options dialog holds them.
struct DefaultTables
{
    TextGrid stems { ScoreTables::Columns, ScoreTables::InitialRowCount(1) };
    TextGrid branches { ScoreTables::Columns, ScoreTables::InitialRowCount(2) };
    TextGrid stars { ScoreTables::Columns, ScoreTables::InitialRowCount(3) };

    DefaultTables()
    {
        ScoreTables::FillDefaults(1, stems);
        ScoreTables::FillDefaults(2, branches);
        ScoreTables::FillDefaults(3, stars);
    }
    void AttachTo(Game& game)
    {
        game.SetScoreTable(1, &stems);
        game.SetScoreTable(2, &branches);
        game.SetScoreTable(3, &stars);
    }
};
