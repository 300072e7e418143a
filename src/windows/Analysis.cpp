// SPDX-License-Identifier: MIT
#include "windows/Analysis.h"

// Qt
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
// own
#include "app/GameSession.h"
#include "windows/AppInfo.h"
#include "windows/Main.h"
#include "solver/GameBridge.h"
#include "controls/StringGrid.h"

#include <algorithm>

using namespace SysColors;

namespace {

constexpr int Gap = 8; // between the main window and this one
constexpr int LineColumns = 4; // first, second, points, text: the move log's visible columns
const char* const ProvenCaption = QT_TRANSLATE_NOOP("TAnalysisF", "最高点（確定）");
const char* const SearchingCaption = QT_TRANSLATE_NOOP("TAnalysisF", "これ以上（探索中）");
const char* const StoppedCaption = QT_TRANSLATE_NOOP("TAnalysisF", "これ以上（止めました）");

QString Points(int total)
{
    return QLocale::c().toString(total);
}

} // namespace

// --- opening and the title ------------------------------------------------------------------

TAnalysisF* TAnalysisF::Open(TMainF& main, GameSession& session)
{
    TAnalysisF* window = main.findChild<TAnalysisF*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TAnalysisF(main, session);
        connect(&session, &GameSession::BoardChanged, window, &TAnalysisF::GameChanged);
        // An edited score table changes what every line is worth.
        connect(&session, &GameSession::ScoreTablesChanged, window, &TAnalysisF::GameChanged);
        window->PlaceBeside(main);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void TAnalysisF::PlaceBeside(const QWidget& main)
{
    // Right of the main window where the screen has room, else left of it, never off it.
    // Where neither side has room, the side with more: it covers the least of the main
    // window, and on a tie the right, which covers the side panel rather than the board.
    const QRect outer = main.frameGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    QPoint at(outer.right() + 1 + Gap, outer.top());
    if (const QScreen* screen = main.screen()) {
        const QRect area = screen->availableGeometry();
        const int needed = Gap + width() + frame.width();
        const int roomRight = area.right() - outer.right();
        const int roomLeft = outer.left() - area.left();
        if (roomRight < needed && roomLeft > roomRight)
            at.setX(outer.left() - Gap - width() - frame.width());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width() - frame.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height() - frame.height())));
    }
    move(at);
}

QString TAnalysisF::Title(std::optional<quint32> number)
{
    const QString title = tr("この盤面の最高点");
    return number ? title + tr("（盤面番号 %1）").arg(*number) : title;
}

void TAnalysisF::SetDealNumber(std::optional<quint32> number)
{
    setWindowTitle(Title(number));
}

// --- layout ---------------------------------------------------------------------------------

TAnalysisF::TAnalysisF(TMainF& main, GameSession& session)
    : QWidget(&main, Qt::Window)
    , m_main(main)
    , m_session(session)
    , m_analysis(session.State())
{
    // Every deal has a number: the title names the board it looks at.
    SetDealNumber(session.State().DealNumber());
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    // Esc closes it as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);

    m_source = new QButtonGroup(this);
    auto* sources = new QHBoxLayout;
    const QString sourceNames[] = { tr("今の局面から"), tr("配られた盤面から") };
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(sourceNames[i], this);
        m_source->addButton(button, i);
        sources->addWidget(button);
    }
    m_source->button(int(Source::Position))->setChecked(true);
    // A click on either, the chosen one too, starts the search again.
    connect(m_source, &QButtonGroup::idClicked, this, [this](int id) { m_analysis.SetSource(Source(id)); });
    sources->addStretch();
    layout->addLayout(sources);

    m_note = new QLabel(this);
    layout->addWidget(m_note);

    auto* totals = new QGridLayout;
    m_bestCaption = new QLabel(tr(SearchingCaption), this);
    m_bestTotal = new QLabel(this);
    m_bestTotal->setFont(AppInfo::WindowFont(AppInfo::PGothic, -20, true));
    m_bestTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_playerTotal = new QLabel(this);
    m_playerTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(m_bestCaption, 0, 0);
    totals->addWidget(m_bestTotal, 0, 1);
    totals->addWidget(new QLabel(tr("あなたの点"), this), 1, 0);
    totals->addWidget(m_playerTotal, 1, 1);
    layout->addLayout(totals);

    m_status = new QLabel(this);
    layout->addWidget(m_status);

    m_line = new TStringGrid(LineColumns, 2, this);
    m_line->setFont(AppInfo::WindowFont(AppInfo::Mincho, -13));
    m_line->SetFontColor(clWindowText);
    // The colour of the cells, so that below the last row and right of the text the grid
    // shows no other (the move log never shows it: it has rows enough to fill its height).
    // The classic gray, and the palette's on the desktop's colours, as in the move log.
    m_line->SetColor(clBtnShadow);
    m_line->SetFixedColor(clTeal);
    m_line->SetDefaultRowHeight(16);
    m_line->SetLines(TStringGrid::glFixedHorz);
    m_line->SetRowSelect(true);
    m_line->SetFlat(true);
    m_line->SetEditing(false);
    m_line->SetColWidths({ 18, 18, 28, 150 });
    m_line->SetRowHeight(0, 5);
    m_line->SetDrawCell([this](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState state) {
        painter.fillRect(rect, TStringGrid::LogCellColor(state));
        const TAlignment alignment = col <= 1 ? taCenter : col == 2 ? taRightJustify : taLeftJustify;
        TStringGrid::DrawCellText(painter, rect, m_line->Grid()->Cell(col, row), alignment);
    });
    m_line->setMinimumHeight(16 * 12);
    layout->addWidget(m_line, 1);

    auto* buttons = new QHBoxLayout;
    m_nextBtn = new QPushButton(tr("次の一手"), this);
    m_stopBtn = new QPushButton(tr("止める"), this);
    connect(m_nextBtn, &QPushButton::clicked, this, &TAnalysisF::NextMoveClick);
    connect(m_stopBtn, &QPushButton::clicked, this, &TAnalysisF::StopClick);
    buttons->addWidget(m_nextBtn);
    buttons->addWidget(m_stopBtn);
    layout->addLayout(buttons);

    connect(&m_analysis, &Solver::AnalysisSession::Began, this, &TAnalysisF::ShowBegun);
    connect(&m_analysis, &Solver::AnalysisSession::Followed, this, &TAnalysisF::ShowFollowed);
    connect(&m_analysis, &Solver::AnalysisSession::LineChanged, this, &TAnalysisF::ShowLine);
    connect(&m_analysis, &Solver::AnalysisSession::Polled, this, &TAnalysisF::ShowState);
    connect(&m_analysis, &Solver::AnalysisSession::MarkChanged, this, &TAnalysisF::ShowMark);
    resize(260, 420);
}

TAnalysisF::~TAnalysisF() = default;

bool TAnalysisF::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        GameChanged();
    return QWidget::event(event);
}

void TAnalysisF::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_analysis.Open();
}

void TAnalysisF::closeEvent(QCloseEvent* event)
{
    m_analysis.Close();
    QWidget::closeEvent(event);
}

void TAnalysisF::SetSource(Source source)
{
    m_source->button(int(source))->setChecked(true);
    m_analysis.SetSource(source);
}

// --- following the game ---------------------------------------------------------------------

void TAnalysisF::GameChanged()
{
    if (isVisible())
        m_analysis.GameChanged();
}

void TAnalysisF::Restart()
{
    m_analysis.Restart();
}

void TAnalysisF::ShowBegun()
{
    // The title names the deal searched: a finished game held after the next deal keeps its own.
    SetDealNumber(m_analysis.DealNumber());
    const bool fromDeal = m_analysis.FromDeal();
    const int base = m_analysis.Base();
    m_note->setText(m_analysis.HoldsFinishedGame() ? tr("終わったゲームを、配られた盤面から")
                        : fromDeal ? tr("配られた盤面から")
                                   : tr("今の局面から（ここまで %1 点）").arg(Points(base)));
    m_playerTotal->setText(Points(m_analysis.PlayerTotal()));
    m_line->Grid()->SetRowCount(2);
    for (int c = 0; c < LineColumns; ++c)
        m_line->Grid()->SetCell(c, 1, QString());
    if (!m_analysis.CurrentRun()) {
        m_note->setText(tr("この盤面は調べられません"));
        m_bestTotal->clear();
        m_status->clear();
        m_stopBtn->setEnabled(false);
        m_nextBtn->setEnabled(false);
        return;
    }
    m_stopBtn->setEnabled(true);
}

void TAnalysisF::ShowFollowed()
{
    // A pick, a pair standing picked, or a move after the deal that is searched.
    m_playerTotal->setText(Points(m_analysis.PlayerTotal()));
    m_nextBtn->setEnabled(m_analysis.CanMarkNextMove());
}

// --- showing the search -----------------------------------------------------------------------

void TAnalysisF::ShowState()
{
    const Solver::Run::State& state = m_analysis.LastState();
    using Verdict = Solver::AnalysisSession::Verdict;
    const Verdict verdict = m_analysis.CurrentVerdict();
    m_bestCaption->setText(tr(verdict == Verdict::Proven    ? ProvenCaption
                                  : verdict == Verdict::Stopped ? StoppedCaption
                                                                : SearchingCaption));
    m_bestTotal->setText(Points(m_analysis.Base() + state.best.total));
    const qint64 ms = m_analysis.ElapsedMs();
    m_status->setText(tr("経過 %1 秒　%2 局面")
                          .arg(QString::number(double(ms) / 1000.0, 'f', 1), QLocale::c().toString(state.nodes)));
    m_stopBtn->setEnabled(!state.finished);
    m_nextBtn->setEnabled(m_analysis.CanMarkNextMove());
}

void TAnalysisF::ShowLine()
{
    const Solver::Run* run = m_analysis.CurrentRun();
    const std::vector<Solver::LogRow> rows
        = Solver::LogRowsOf(run->Start(), m_analysis.ShownLine().moves, run->Values(), m_session.State());
    m_line->Grid()->SetRowCount(std::max(2, int(rows.size()) + 1));
    for (int c = 0; c < LineColumns; ++c)
        m_line->Grid()->SetCell(c, 1, QString());
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = int(i) + 1;
        m_line->Grid()->SetCell(0, r, rows[i].first);
        m_line->Grid()->SetCell(1, r, rows[i].second);
        m_line->Grid()->SetCell(2, r, QString::number(rows[i].points));
        m_line->Grid()->SetCell(3, r, rows[i].text);
    }
}

void TAnalysisF::StopClick()
{
    m_stopBtn->setEnabled(false);
    m_analysis.Stop();
}

// --- the next move on the board -----------------------------------------------------------------

void TAnalysisF::NextMoveClick()
{
    m_analysis.MarkNextMove();
}

void TAnalysisF::ShowMark()
{
    if (const std::optional<Solver::Picks> picks = m_analysis.Marked())
        m_main.MarkPair(picks->first, picks->second);
    else
        m_main.ClearPairMark();
}

std::pair<int, int> TAnalysisF::MarkedTiles() const
{
    return m_main.MarkedPair();
}
