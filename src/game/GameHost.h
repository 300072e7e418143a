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
};

// The colouring choice: the chosen item of the colouring radio group.
enum class Colouring { None = -1, ByElement = 0, Plain = 1 };

class GameHost
{
public:
    virtual ~GameHost() = default;

    // Sounds 1 pick, 2 removal, 3 refused pick, 4 name entry and warning.
    virtual void PlayWave(int number) = 0;
    // The plain system beep (undo, the start command).
    virtual void Beep() = 0;

    virtual DealSettings CurrentDealSettings() const = 0;
    virtual Colouring CurrentColouring() const = 0;

    // The end-of-game notice; returns once the player has dismissed it.
    virtual void ShowGameOver(const QString& message) = 0;
    // Mode 0 offers the finished game to the ranking, mode 1 only shows the table.
    virtual void ShowRanking(int mode) = 0;

    // Tiles changed (captions, play, marks, colours): the view brings its tiles up to date.
    virtual void BoardChanged() = 0;
    // Counts of the tiles in play per element, wood to water.
    virtual void ElementStripChanged(const std::array<int, 5>& counts) = 0;
    virtual void RemainingLabelChanged(const QString& text) = 0;
    virtual void PointsLabelChanged(const QString& text) = 0;
};

// A host nobody watches, for running the game without a window (benchmarks, fuzzing): fixed
// deal choices, colouring by element, every notification dropped, the end of a game noted.
class QuietGameHost : public GameHost
{
public:
    DealSettings deal;
    bool gameOver = false;

    void PlayWave(int) override { }
    void Beep() override { }
    DealSettings CurrentDealSettings() const override { return deal; }
    Colouring CurrentColouring() const override { return Colouring::ByElement; }
    void ShowGameOver(const QString&) override { gameOver = true; }
    void ShowRanking(int) override { }
    void BoardChanged() override { }
    void ElementStripChanged(const std::array<int, 5>&) override { }
    void RemainingLabelChanged(const QString&) override { }
    void PointsLabelChanged(const QString&) override { }
};
