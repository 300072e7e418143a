// SPDX-License-Identifier: MIT
// What the game logic asks of the world outside it. The main window implements this; the
// tests implement it with a recorder; QuietGameHost stands in where nobody watches. The game
// never touches a widget.
#pragma once

// Qt
#include <QString>

#include <array>

// The deal's choices as the main window's controls hold them at the moment of the deal.
struct DealSettings
{
    int rows = 3;                             // 3..10
    int cols = 4;                             // 4, 6, 8, 10 or 12
    std::array<bool, 3> sets { true, false, false }; // stems, branches, stars
    bool solvable = false;                    // deal a board that can be cleared

    bool operator==(const DealSettings&) const = default;
};

// The colouring choice: the chosen item of the colouring radio group.
enum class Colouring { None = -1, ByElement = 0, Plain = 1 };

// The game's four short sounds, numbered as their clips are.
enum class Sound {
    Pick = 1,    // a tile picked
    Removal = 2, // a pair removed
    Refused = 3, // a pick refused
    Notice = 4,  // the name entry of the ranking, and the over-play warning
};

// How a game ended: no pair left on the board, or the board cleared.
enum class GameEnd { NoPairLeft = 0, Cleared = 1 };

// What refreshed the points total: the score lookup of a picked pair, or anything else (a
// removal, an undo, a deal). The points label ends differently after the two.
enum class PointsRefresh { Lookup = 0, Other = 1 };

// How the ranking is shown: offering the result of the game just finished, or only the
// table (the high-score menu).
enum class RankingMode { OfferResult = 0, ShowOnly = 1 };

// Whether a finished game waits to be entered into the ranking. Set at the end of a game
// before the ranking is offered it, cleared by the ranking window when it shows (entering
// the result) and by the high-score menu (showing the table only).
enum class RankPending { None = 0, Waiting = -1 };

class GameHost
{
public:
    virtual ~GameHost() = default;

    // Plays a sound, unless the player has switched sounds off.
    virtual void PlayWave(Sound sound) = 0;
    // The plain system beep (undo, the start command).
    virtual void Beep() = 0;

    virtual DealSettings CurrentDealSettings() const = 0;
    virtual Colouring CurrentColouring() const = 0;

    // The game has just ended: no pair is left, or the board is cleared. Its result waits
    // for the ranking (RankPending::Waiting); the game does nothing more until it is dealt
    // again, which is the host's to do.
    virtual void GameEnded(GameEnd end) = 0;

    // Tiles changed (captions, play, marks, colours): the view brings its tiles up to date.
    virtual void BoardChanged() = 0;
    // Counts of the tiles in play per element, wood to water.
    virtual void ElementStripChanged(const std::array<int, 5>& counts) = 0;
    // The number of tiles in play.
    virtual void RemainingChanged(int remaining) = 0;
    // The points total of the move log.
    virtual void PointsChanged(int total, PointsRefresh refresh) = 0;
};

// A host nobody watches, for running the game without a window (benchmarks, fuzzing): fixed
// deal choices, colouring by element, every notification dropped, the end of a game noted.
class QuietGameHost : public GameHost
{
public:
    DealSettings deal;
    bool gameOver = false;

    void PlayWave(Sound) override { }
    void Beep() override { }
    DealSettings CurrentDealSettings() const override { return deal; }
    Colouring CurrentColouring() const override { return Colouring::ByElement; }
    void GameEnded(GameEnd) override { gameOver = true; }
    void BoardChanged() override { }
    void ElementStripChanged(const std::array<int, 5>&) override { }
    void RemainingChanged(int) override { }
    void PointsChanged(int, PointsRefresh) override { }
};
