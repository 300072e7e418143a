// SPDX-License-Identifier: MIT
// TRankF: the ranking window, "RanKing Top 30". Modeless and on top; only its buttons close
// it. At the end of a game the main window offers the result (RankingMode::OfferResult):
// when it places, the window opens, the name entry runs and the result goes in, drawn in
// yellow. The menu shows the table only (RankingMode::ShowOnly). Closing the window saves
// "Rank.dat" (keeping "Ranksav") and deals a new board. The order of the entries is
// game/Ranking.h; the ranking itself, its file and the merge of a save with what another
// copy of the program saved meanwhile are app/RankingFile.h, which this window shows.
#pragma once

// Qt
#include <QDialog>
#include <QPen>
#include <QPointer>
// own
#include "game/GameHost.h"
#include "controls/StringGrid.h"

#include <functional>
#include <memory>

class Panel;
class QPushButton;
class RankHost;
class RankingFile;
class TNameF;
class TextGrid;

class TRankF : public QDialog
{
    Q_OBJECT

public:
    // ranking: the model's ranking, which the window shows and edits. nameForm runs the name
    // entry; without one the window makes its own. Its sound goes through the host.
    TRankF(RankingFile& ranking, RankHost* host, TNameF* nameForm = nullptr, QWidget* parent = nullptr);
    ~TRankF() override;

    TStringGrid* SG0() const { return m_sg0; }
    // The ranking table (the model's).
    TextGrid& Grid() const;
    Panel* Panel1() const { return m_panel1; }
    QPushButton* OKBtn() const { return m_okBtn; }
    QPushButton* ClrBtn() const { return m_clrBtn; }
    // The row drawn in yellow: the place of the last result offered (0 before any), and
    // once it is saved, its place in the ranking as saved.
    int HighlightRow() const { return m_highlightRow; }

    // Tests replace the modal parts: the name entry and the clear question.
    void SetAskName(std::function<QString()> askName) { m_askName = std::move(askName); }
    void SetConfirmClear(std::function<bool()> confirmClear) { m_confirmClear = std::move(confirmClear); }

    // OfferResult offers the finished game's result (the host's RankPending is Waiting),
    // ShowOnly only shows the table. A window already open is only brought to the front: a
    // result offered then is not entered.
    void ShowRanking(RankingMode mode);
    int RankPosition(int points) const;
    // Enters the current game's points under the name at the place.
    void InsertRankEntry(int place, const QString& name);
    void RenumberRanks();

    void FormShow();
    void FormClose();
    void FormResize();
    void OKBtnClick();
    void ClrBtnClick();
    void SG0DrawCell(QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState state);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    // Every way of closing ends here: hide, save, deal.
    void done(int result) override;

private:
    void FormCreate();
    QString AskName();
    bool ConfirmClear();
    void BringToFront();

    RankingFile& m_ranking;
    RankHost* m_host;
    QPointer<TNameF> m_nameForm;
    std::unique_ptr<TNameF> m_ownNameForm; // made when no name entry was handed in
    TStringGrid* m_sg0 = nullptr;
    Panel* m_panel1 = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_clrBtn = nullptr;
    int m_highlightRow = 0;
    bool m_centred = false;
    std::function<QString()> m_askName;
    std::function<bool()> m_confirmClear;
    QPen m_penFixed, m_penCell, m_penHighlight;
};
