// SPDX-License-Identifier: MIT
// The game itself: the board of 120 tiles, the deal, the picks and the removal of pairs
// with falling tiles and closing columns, the hint, the end of a game, and the move log
// with its scoring and undo. The move log is the game's only record of its moves: the
// points total is summed from it and undo reads the last move back from it.
#pragma once

#include "GameHost.h"
#include "SolvableDeal.h"
#include "TextGrid.h"

// Qt
#include <QPointer>
#include <QStringList>

#include <array>
#include <memory>
#include <random>
#include <vector>

struct Tile
{
    QString caption;               // the symbol, or empty; kept while hidden
    bool visible = false;          // in play
    int zset = 0;                  // 1 while selected
    quint32 topColor = 0x8000000F; // face colour (a colour value)
};

class Game
{
public:
    static constexpr int Cols = 12;
    static constexpr int Rows = 10;
    static constexpr int TileCount = Cols * Rows;

    // Results of CheckTile and FindMove; anything below 777 is a tile number.
    static constexpr int NotInPlay = 888;
    static constexpr int NoPartner = 998;
    static constexpr int BoardEmpty = 999;

    // Shift-state bits of a mouse press.
    static constexpr int ShiftLeft = 8;
    static constexpr int ShiftRight = 16;

    // Columns of the move log.
    enum LogColumn { LogSymbol1 = 0, LogSymbol2 = 1, LogPoints = 2, LogText = 3, LogFill = 4,
                     LogTile1 = 5, LogTile2 = 6, LogMark1 = 7, LogMark2 = 8, LogColumns = 9 };
    static constexpr int LogDesignRows = 20;

    explicit Game(GameHost& host);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The random generator is seeded from the clock at construction; tests seed it again.
    void Seed(quint32 seed) { m_rng.seed(seed); }

    // The score table of each kind (1 stems, 2 branches, 3 stars), read live at scoring.
    void SetScoreTable(int kind, TextGrid* table);
    // The table that scores pairs of that kind now; null when none is set.
    const TextGrid* ScoreTable(int kind) const { return kind >= 1 && kind <= 3 ? m_tables[size_t(kind)].data() : nullptr; }

    // --- the board
    void NewGame();
    void ColorTile(int col, int row);
    void ColorAllTiles();
    QString TileCaption(int number) const;
    int CheckTile(int col, int row) const;
    int FindMove() const;
    bool CanPairWithSelection(int number) const;
    void ClickTile(int col, int row, int shift);
    void TileMouseDown(int tag, int button, int shift);
    void HintBtnClick();
    void ReopenColumn(int col);
    void UpdateElementStrip();

    // --- the keyboard cursor's way over the tiles in play (the window keeps the cursor)
    // The tile in play one step from tile `number` (dCol, dRow: one of them -1 or 1, the
    // other 0). Up and down go to the next tile in play in the same column; left and right
    // to the nearest column that holds a tile in play, on the same row or, where that
    // column is lower, its tile nearest to that row. `number` itself when nothing lies in
    // that direction: the cursor stops at the edges of the board in play.
    int CursorStep(int number, int dCol, int dRow) const;
    // `number` while that tile is in play; otherwise the tile in play nearest to it, the
    // nearest column first (the left one on a tie), then the nearest row (the lower one on
    // a tie). 0 when no tile is in play.
    int NearestInPlay(int number) const;

    // --- the move log
    void ScorePair();
    int PointsTotal() const;
    void ReBtnClick();

    // --- state
    const Tile& TileAt(int col, int row) const { return m_tiles[size_t(Index(col, row))]; }
    const Tile& TileByNumber(int number) const;
    static int TileNumber(int col, int row) { return col + row * Cols + 1; }
    const QStringList& Selection() const { return m_selection; }
    int Remaining() const { return m_remaining; }
    int MoveRow() const { return m_moveRow; }
    int ClickedTile() const { return m_clickedTile; }
    void SetClickedTile(int number) { m_clickedTile = number; }
    const QString& SymbolPool() const { return m_symbolPool; }
    // How the board as dealt clears, when the deal built it to clear (DealSettings::
    // solvable): the pairs in their order of removal. Empty for the plain deal.
    const std::vector<SolvableDeal::Removal>& DealSolution() const { return m_dealSolution; }
    int RankPending() const { return m_rankPending; }
    void SetRankPending(int value) { m_rankPending = value; }
    TextGrid& MoveLog() { return *m_log; }
    const TextGrid& MoveLog() const { return *m_log; }
    std::array<int, 5> ElementCounts() const;
    QString RemainingText() const;

    // A test's (and a benchmark's) way to lay out a board: captions of every tile by row,
    // the tiles in play, and the game state reset as after a deal.
    void SetBoardForTest(const std::array<QString, TileCount>& captions,
                         const std::array<bool, TileCount>& visible);

private:
    static int Index(int col, int row) { return col + row * Cols; }
    Tile& At(int col, int row) { return m_tiles[size_t(Index(col, row))]; }
    int HiddenInColumn(int col) const;
    // The row of column col's tile in play nearest to row, the lower on a tie; -1 for none.
    int NearestRowInPlay(int col, int row) const;
    bool ColumnEmpty(int col) const;
    int EntryNumber(qsizetype i) const;
    void ClearSelectionMarks();
    void ResetAfterDeal();
    bool DealClearable(int rows, int cols, const DealSettings& s);
    void RemoveSelection();
    void CloseEmptyColumns();
    void EndTest();
    void RefreshPoints(const char* trailer);

    GameHost& m_host;
    std::array<Tile, TileCount> m_tiles;
    std::array<QPointer<TextGrid>, 4> m_tables;
    std::unique_ptr<TextGrid> m_log;
    QStringList m_selection;
    int m_remaining = 0;
    int m_moveRow = 1;
    int m_clickedTile = 0;
    QString m_symbolPool;
    std::vector<SolvableDeal::Removal> m_dealSolution;
    int m_rankPending = 0;
    std::mt19937 m_rng;
};
