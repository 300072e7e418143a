// SPDX-License-Identifier: MIT
// The game itself: the board of 120 tiles, the deal, the picks and the removal of pairs
// with falling tiles and closing columns, the hint, the end of a game, and the move log
// with its scoring and undo. The move log is the game's only record of its moves: the
// points total is summed from it and undo reads the last move back from it.
//
// The game holds no widget. It tells its host (GameHost.h) what changed, that the game has
// ended, and asks it for sounds and the player's current choices. A tile is named by its
// tile number (BoardSize.h).
//
// Every deal has a number: the number, the board size, the symbol sets and the clearable-
// deal choice together decide the board, on every machine. Undo keeps what it took back,
// so that redo can replay it until something new is played. A game in progress can be
// written out as a GameRecord and restored from one exactly.
#pragma once

#include "game/BoardSize.h"
#include "game/DealRandom.h"
#include "game/GameHost.h"
#include "game/SolvableDeal.h"
#include "game/TextGrid.h"

// Qt
#include <QList>
#include <QPointer>

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct Tile
{
    QString caption;               // the symbol, or empty; kept while hidden
    bool visible = false;          // in play
    int zset = 0;                  // 1 while selected
    quint32 topColor = 0x8000000F; // face colour (a colour value)
};

// One row of the move log, typed. The game reads and writes the log only through it, so the
// text forms of the log's cells (a tile number as "%3d", a column mark as "1") live in Read
// and Write alone.
struct LogRow
{
    std::array<QString, 2> symbols; // the picks' symbols, in pick order
    QString points;                 // the score table's points text, unchanged
    QString text;                   // the score table's text
    std::array<int, 2> tiles {};    // the picks' tile numbers in pick order; 0 for none
    // Whether the removal emptied the column of the pair's lower-numbered ([0]) or higher-
    // numbered ([1]) tile; undo reopens those columns.
    std::array<bool, 2> emptied {};

    static LogRow Read(const TextGrid& log, int row);
    // Writes every column but the empty filler column 4; cells that already hold their
    // text are left alone.
    void Write(TextGrid& log, int row) const;

    bool operator==(const LogRow&) const = default;
};

// Tile numbers in pick order, as a record keeps them. (Not a QList: Qt 6.4 compares two
// empty QList<int> by handing memcmp a null pointer, which the sanitizers stop at.)
using Picks = std::vector<int>;

// What one undo took back, for redo to put again: the move's log row, and the pick that
// stood when the undo cancelled it (one tile, or a pair picked without removal) with the log
// row it had written. Only the first undo after play can have cancelled a pick.
struct RedoStep
{
    LogRow move;
    Picks selection;
    LogRow pending; // the row of the cancelled pick; empty without one

    bool operator==(const RedoStep&) const = default;
};

struct GameRecord;

// How a pick treats a completed pair: Remove takes it off the board (the left mouse
// button, Space); Hold leaves it selected to show its score (the right button,
// Shift+Space, the hint).
enum class PickMode { Remove, Hold };

class Game
{
public:
    // The board's frame: 12 columns by 10 rows, whatever size is dealt in it.
    static constexpr int Cols = BoardSize::Cols;
    static constexpr int Rows = BoardSize::Rows;
    static constexpr int TileCount = BoardSize::TileCount;

    // What CheckTile and FindMove answer when they name no tile.
    static constexpr int NotInPlay = 888;  // the tile is hidden or off the board
    static constexpr int NoPartner = 998;  // no neighbour of the same kind (FindMove: no move left)
    static constexpr int BoardEmpty = 999; // FindMove on a board with no tile in play
    // Whether a CheckTile or FindMove answer names a tile.
    static constexpr bool IsTileNumber(int result) { return result >= 1 && result <= TileCount; }

    // Columns of the move log. Columns 0 to 3 show; 4 fills the grid's width and stays
    // empty; 5 to 8 are hidden and hold what undo needs (LogRow).
    enum LogColumn { LogSymbol1 = 0, LogSymbol2 = 1, LogPoints = 2, LogText = 3, LogFill = 4,
                     LogTile1 = 5, LogTile2 = 6, LogMark1 = 7, LogMark2 = 8, LogColumns = 9 };
    // The log's row count before the first removal; each removal adds a row, each undo
    // takes one away again.
    static constexpr int LogDesignRows = 20;

    // The source of fresh deal numbers is seeded from the clock. No board is dealt until
    // NewGame.
    explicit Game(GameHost& host);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Seeds the source of fresh deal numbers again, so that the deals that follow repeat
    // (tests, benchmarks).
    void Seed(quint32 seed) { m_numbers = DealRandom(seed); }

    // The score table of kind 1 (stems), 2 (branches) or 3 (stars): columns first symbol,
    // second symbol, points, text, from row 1. It is read at each scoring, so an edit
    // counts at once; a table that is gone (or never set) scores nothing.
    void SetScoreTable(int kind, TextGrid* table);
    // The table that scores pairs of that kind now; null when none is set.
    const TextGrid* ScoreTable(int kind) const { return kind >= 1 && kind <= 3 ? m_tables[size_t(kind)].data() : nullptr; }

    // --- the board

    // Deals a new board from the host's current choices: the bottom rows x the left columns
    // are in play, every tile (hidden ones too) drawn from the pool of the ticked sets, or,
    // when the host asks for it and the size allows, a board built to clear. The board is
    // that of the deal number given, or of a fresh random number. Empties the selection,
    // the log and what can be redone, and tells the host every label, the element counts
    // and the board.
    void NewGame(std::optional<quint32> number = std::nullopt);
    // The number of the board dealt last (0 before the first deal).
    quint32 DealNumber() const { return m_dealNumber; }
    // The choices the board dealt last was dealt with.
    const DealSettings& DealtWith() const { return m_dealtWith; }
    // Recolours all 120 tiles from the host's colouring choice and tells the host.
    void ColorAllTiles();
    // The tile's own number when it is in play and has a same-kind neighbour in play;
    // otherwise NotInPlay (hidden, or off the board) or NoPartner. A tile without a symbol
    // never has a partner.
    int CheckTile(int col, int row) const;
    // The first tile with a partner, scanning the columns from the left and each column from
    // the bottom up; NoPartner when there is none, BoardEmpty when no tile is in play.
    int FindMove() const;
    // Whether the tile may join the selection by its position: always into an empty
    // selection, the selected tile itself when it stands alone, otherwise only a tile
    // orthogonally next to the first pick (the end of one row does not touch the start of
    // the next).
    bool CanPairWithSelection(int number) const;
    // The pick of tile (col, row), as a left press (Remove) or a right press (Hold) would
    // pick it. Asks for the pick sound first, then either unselects the tile (the lone
    // selected tile clicked again), refuses the pick (the refused sound; nothing changes),
    // or selects it and writes the picks into the current log row, scoring a completed
    // pair. A pair completed with Remove is removed: the removal sound, the tiles
    // above fall, emptied columns close, the log moves on, and when no pair is left the
    // result waits for the ranking and the host is told that the game has ended.
    // A pair picked with Hold stays selected: Remove on one of its tiles then removes it,
    // Hold on one of them takes both back, and every other tile is refused.
    // Off the board: nothing.
    void ClickTile(int col, int row, PickMode mode);
    // The same for the tile numbered tile (1..120); nothing for any other number.
    void Pick(int tile, PickMode mode);
    // The hint "!!". With nothing selected it picks, as a right button would, the first
    // tile FindMove would name, leaving its partner to the player (nothing when there is
    // none). With a selection it asks for the pick sound and takes the whole selection back,
    // the score of a standing pair included.
    void HintBtnClick();
    // Opens an empty column at col by moving the columns from col on one place right; the
    // last column's content is dropped. The inverse of closing col; undo uses it.
    void ReopenColumn(int col);

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

    // The sum of the log's points column, the pair being picked included. A points text
    // that is not an integer (an edited score table) counts as 0.
    int PointsTotal() const;
    // Undo "<<": asks the host for the beep, then, when the log holds a move, cancels any
    // selection and takes the last move back exactly: its tiles return with their symbols,
    // the tiles above rise again, the columns it closed reopen, and its log row empties.
    // With no move to take back (right after a deal) only the beep. What it takes back,
    // the cancelled pick included, can be redone.
    void ReBtnClick();
    // Redo: asks the host for the beep, as undo does, then puts back what the last undo
    // took back, exactly: the same pair goes again, its log row comes back with its points
    // and text, and a pick that the undo cancelled stands again. Nothing else without
    // anything to redo. A pick that selects a tile, a removal and a deal forget what could
    // be redone.
    void RedoClick();
    bool CanRedo() const { return !m_redo.empty(); }

    // --- a game in progress, kept and restored

    GameRecord Record() const;
    // Replaces the game with the recorded one, when the record holds a game these rules can
    // have played: its deal dealt again from the number, every move (and every move to
    // redo) played again from it as the player picked it, and what that gives must be the
    // record, move marks, tiles in play and all. A game that had ended is refused too. On
    // refusal (false) the game is left as it was. The recorded points and texts are taken
    // as they stand, not looked up again.
    bool Restore(const GameRecord& record);

    // --- state

    // Tile (col, row) of the frame, row 0 at the top.
    const Tile& TileAt(int col, int row) const { return m_tiles[size_t(Index(col, row))]; }
    // The tile of a tile number; an empty hidden tile for a number outside 1..120.
    const Tile& TileByNumber(int number) const;
    // The tile number of (col, row).
    static constexpr int TileNumber(int col, int row) { return BoardSize::TileNumber(col, row); }
    // The selected tiles' numbers, in pick order: none, one, or a pair standing without
    // removal.
    const QList<int>& Selection() const { return m_selection; }
    // Tiles in play: the dealt size, less 2 for each removal, plus 2 for each undo.
    int Remaining() const { return m_remaining; }
    // The log row of the move being picked: 1 after a deal, one more for each removal.
    int MoveRow() const { return m_moveRow; }
    // The symbols the deal drew from, in set order.
    const QString& SymbolPool() const { return m_symbolPool; }
    // How the board as dealt clears, when the deal built it to clear (DealSettings::
    // solvable): the pairs in their order of removal. Empty for the plain deal.
    const std::vector<SolvableDeal::Removal>& DealSolution() const { return m_dealSolution; }
    // Waiting from the end of a game until the ranking takes the result or the high-score
    // menu is used.
    ::RankPending RankPending() const { return m_rankPending; }
    void SetRankPending(::RankPending value) { m_rankPending = value; }
    // Tiles in play of each element (wood, fire, earth, metal, water), as the element strip
    // shows them; a tile of the empty pool counts nowhere.
    std::array<int, 5> ElementCounts() const;
    // The move log, shown by the main window's grid; LogColumn names its columns.
    TextGrid& MoveLog() { return *m_log; }
    const TextGrid& MoveLog() const { return *m_log; }

    // A test's (and a benchmark's) way to lay out a board: captions of every tile by row,
    // the tiles in play, and the game state reset as after a deal.
    void SetBoardForTest(const std::array<QString, TileCount>& captions,
                         const std::array<bool, TileCount>& visible);

private:
    static int Index(int col, int row) { return col + row * Cols; }
    Tile& At(int col, int row) { return m_tiles[size_t(Index(col, row))]; }
    Tile& AtNumber(int number) { return m_tiles[size_t(number - 1)]; }
    QString TileCaption(int number) const { return TileByNumber(number).caption; }
    void ColorTile(int col, int row);
    int HiddenInColumn(int col) const;
    // The row of column col's tile in play nearest to row, the lower on a tie; -1 for none.
    int NearestRowInPlay(int col, int row) const;
    bool ColumnEmpty(int col) const;
    void ClearSelectionMarks();
    void ResetAfterDeal();
    void DealBoard(quint32 number, const DealSettings& s);
    bool DealClearable(int rows, int cols, const DealSettings& s, DealRandom& rng);
    void WriteSelectionToLog();
    void ScorePair();
    void RemoveSelection();
    void TakeOutSelection();
    bool TakeBackMove();
    void PutBackMove(const RedoStep& step);
    void ShowMoveTaken();
    bool IsPair(int a, int b) const;
    bool ReplayMove(const LogRow& row);
    bool ReplayPick(const Picks& selection, const LogRow& pending);
    bool Replay(const GameRecord& record);
    void NotifyAll(PointsRefresh refresh);
    void CloseEmptyColumns();
    void EndTest();
    void PutBack(int col, int row, const QStringList& symbols);
    void RefreshPoints(PointsRefresh refresh);
    void UpdateElementStrip();

    GameHost& m_host;
    std::array<Tile, TileCount> m_tiles;
    std::array<QPointer<TextGrid>, 4> m_tables;
    std::unique_ptr<TextGrid> m_log;
    QList<int> m_selection;
    int m_remaining = 0;
    int m_moveRow = 1;
    QString m_symbolPool;
    std::vector<SolvableDeal::Removal> m_dealSolution;
    ::RankPending m_rankPending = ::RankPending::None;
    DealRandom m_numbers;
    quint32 m_dealNumber = 0;
    DealSettings m_dealtWith;
    std::vector<RedoStep> m_redo; // the next to redo last
};

// A game in progress, as much as it takes to restore it exactly: the deal, the tiles in
// play, the moves with their scores as the log holds them, the pick standing in the current
// log row, and what can be redone.
struct GameRecord
{
    quint32 dealNumber = 0;
    DealSettings deal;
    // Every tile by tile number - 1: its symbol while it is in play, nothing otherwise.
    // (Hidden tiles' captions take no part in the game, and undo does not keep them as they
    // were, so they are not kept.)
    std::array<std::optional<QString>, Game::TileCount> tiles;
    std::vector<LogRow> moves; // log rows 1.., oldest first
    Picks selection;           // in pick order
    LogRow pending;            // the current log row while a pick stands; empty otherwise
    std::vector<RedoStep> redo; // the next to redo last

    bool operator==(const GameRecord&) const = default;
};
