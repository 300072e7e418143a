// SPDX-License-Identifier: MIT
// The game being played and the choices it is dealt with, owned in one place. Every window
// renders it from its signals and changes it through its typed calls: a pick with a mode, the
// hint, undo, redo, a deal. No window holds game data of its own.
//
// Reports come in two kinds:
// - what changed (the board, the counts, the points, the selection, whether undo and redo
//   can do anything, the deal choices, the options, the score tables, the board font) is
//   signalled while the call that changed it runs, so that the windows are up to date when
//   it returns;
// - the end of a game is signalled after the call that ended it has returned, from the event
//   loop: the window that handles it (the notice, the ranking, the next deal) never runs
//   inside the click that caused it. Any typed call made before that report has gone out
//   sends it first, so that nothing is played between the end of a game and its handling.
//
// The session lives in the application model (AppModel::Session()) and scores with the
// model's tables; it reads the clearable-deal switch from the model's options at each deal.
#pragma once

#include "app/AppModel.h"
#include "game/Game.h"

// Qt
#include <QFont>
#include <QList>
#include <QObject>

#include <array>
#include <optional>

class GameSession : public QObject
{
    Q_OBJECT

public:
    // The board-height list offers rows 3..10, the board-width list 4..12 columns in steps of
    // two, and the colouring is by element (0) or plain (1).
    static constexpr int HeightChoices = 8;
    static constexpr int WidthChoices = 5;

    // No board is dealt until Deal or Restore. The score tables are the model's.
    explicit GameSession(AppModel& model);
    ~GameSession() override;

    // The game as it stands, for rendering.
    const Game& State() const { return m_game; }
    // The move log, as the grid that shows it takes it.
    TextGrid& MoveLog() { return m_game.MoveLog(); }
    // A test's way to lay out a board, attach tables or seed the deals; what it changes is
    // signalled as a call would signal it.
    Game& GameForTest() { return m_game; }

    // --- typed calls

    // A fresh deal from the current choices, of the given number or a random one. The
    // caller refuses a deal without a symbol set (CanDeal) and says why.
    void Deal(std::optional<quint32> number = std::nullopt);
    bool CanDeal() const { return Choices().symbolSets != 0; }
    // The pick of tile 1..120 (Game::Pick); a removal that leaves no pair ends the game.
    void Pick(int tile, PickMode mode);
    // The hint "!!" (Game::HintBtnClick).
    void Hint();
    void Undo();
    void Redo();
    // Every tile coloured anew from the colouring choice.
    void Recolour();
    // Replaces the game with a kept one (Game::Restore); false leaves the game as it was.
    bool Restore(const GameRecord& record);
    // The finished game's result is offered to the ranking while this is Waiting.
    ::RankPending RankPending() const { return m_game.RankPending(); }
    void SetRankPending(::RankPending value) { m_game.SetRankPending(value); }

    // --- the choices the next deal is made with (kept in the model's settings)

    // As stored, each brought into its range (a height or width index outside its list is
    // its first item, the symbol sets keep bits 0..2, a colouring other than 1 is 0).
    const DealChoices& Choices() const { return m_model.Deal(); }
    // Takes new choices; a change of colouring colours every tile anew.
    void SetChoices(DealChoices choices);
    // Reads the choices from the settings store (opened with mode) and takes them; the
    // result names what could not be read. WriteChoices writes those changed since they
    // were read, and names what could not be written.
    QString ReadChoices(RegOpen mode);
    QString WriteChoices();
    // The deal the choices and the clearable-deal option give.
    DealSettings DealFromChoices() const;

    // --- what the model's other owners changed

    // A sound wanted outside the game (the ranking's name entry).
    void WantSound(Sound sound) { emit SoundWanted(sound); }
    // The options dialog changed one of the live options.
    void OptionsEdited() { emit OptionsChanged(); }
    // The board font and its colour, which the model keeps.
    void SetBoardFont(const QFont& font, quint32 color);

signals:
    // Tiles changed: captions, play, marks or colours.
    void BoardChanged();
    // Tiles in play per element, wood to water.
    void ElementCountsChanged(const std::array<int, 5>& counts);
    void RemainingChanged(int remaining);
    void PointsChanged(int total, PointsRefresh refresh);
    // The picked tiles, in pick order.
    void SelectionChanged(const QList<int>& selection);
    // Whether undo would take a move back, and whether redo would put one back.
    void UndoRedoChanged(bool canUndo, bool canRedo);
    // A sound the game asks for, and the plain beep; whether they are heard is the
    // player's choice, which whoever plays them applies.
    void SoundWanted(Sound sound);
    void BeepWanted();
    // The game ended; sent from the event loop after the call that ended it returned.
    void GameEnded(GameEnd end);
    void ChoicesChanged(const DealChoices& choices);
    void OptionsChanged();
    // A cell or the rows of a score table changed; one report for a burst of changes.
    void ScoreTablesChanged();
    void BoardFontChanged(const QFont& font, quint32 color);

private:
    // The game's host: its reports, passed on as the session's signals.
    class Host : public GameHost
    {
    public:
        explicit Host(GameSession& session)
            : m_session(session)
        {
        }
        void PlayWave(Sound sound) override { emit m_session.SoundWanted(sound); }
        void Beep() override { emit m_session.BeepWanted(); }
        DealSettings CurrentDealSettings() const override { return m_session.DealFromChoices(); }
        Colouring CurrentColouring() const override;
        void GameEnded(GameEnd end) override;
        void BoardChanged() override;
        void ElementStripChanged(const std::array<int, 5>& counts) override { emit m_session.ElementCountsChanged(counts); }
        void RemainingChanged(int remaining) override { emit m_session.RemainingChanged(remaining); }
        void PointsChanged(int total, PointsRefresh refresh) override { emit m_session.PointsChanged(total, refresh); }

    private:
        GameSession& m_session;
    };

    // Runs a call into the game: an end of game not yet reported goes out first, and what
    // the call changed in the selection and in undo and redo is signalled after it.
    template <class Call> void Play(Call&& call);
    void ReportEnd();
    void WatchTables();

    AppModel& m_model;
    Host m_host { *this };
    Game m_game { m_host };
    std::optional<GameEnd> m_endToReport;
    QList<int> m_selectionShown;
    std::pair<bool, bool> m_undoRedoShown { false, false };
    bool m_tablesReportQueued = false;
};
