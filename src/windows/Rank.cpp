// SPDX-License-Identifier: MIT
#include "windows/Rank.h"

// Qt
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
// own
#include "windows/AppInfo.h"
#include "windows/Name.h"
#include "windows/Notice.h"
#include "controls/Panel.h"
#include "windows/RankHost.h"
#include "game/Ranking.h"
#include "app/RankingFile.h"

namespace {

constexpr int ClientWidth = 393;
constexpr int ClientHeight = 276;
constexpr int MaxWidth = 400;
constexpr int PanelHeight = 34;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

} // namespace

TRankF::TRankF(RankingFile& ranking, RankHost* host, TNameF* nameForm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , m_ranking(ranking)
    , m_host(host)
    , m_nameForm(nameForm)
{
    Q_ASSERT(host);
    setObjectName(QStringLiteral("RankF"));
    setModal(false);
    setWindowTitle(tr("ランキング"));
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));

    m_sg0 = new TStringGrid(&m_ranking.Grid(), this);
    m_sg0->setObjectName(QStringLiteral("SG0"));
    m_sg0->setFont(AppInfo::WindowFont(AppInfo::PGothic, 15, true, true));
    m_sg0->SetFontColor(SysColors::clAqua);
    m_sg0->SetColor(SysColors::clGray);
    m_sg0->SetFixedColor(SysColors::clBlue);
    m_sg0->SetDefaultRowHeight(18);
    m_sg0->SetColWidths({ 42, 119, 53, 152 });
    m_sg0->Grid()->SetFixedRows(1);
    m_sg0->Grid()->SetFixedCols(1);
    m_sg0->SetLines(TStringGrid::glAll);
    m_sg0->SetRowSelect(true);
    m_sg0->SetEditing(false);
    m_sg0->SetDrawCell([this](QPainter& painter, int col, int row, const QRect& rect,
                           TStringGrid::CellState state) { SG0DrawCell(painter, col, row, rect, state); });

    m_panel1 = new Panel(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->SetBevelOuter(bvLowered);
    m_okBtn = new QPushButton(QStringLiteral("OK"), m_panel1);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_clrBtn = new QPushButton(tr("クリア"), m_panel1);
    m_clrBtn->setObjectName(QStringLiteral("ClrBtn"));
    connect(m_okBtn, &QPushButton::clicked, this, &TRankF::OKBtnClick);
    connect(m_clrBtn, &QPushButton::clicked, this, &TRankF::ClrBtnClick);

    m_penFixed = QPen(SysColors::ToQColor(SysColors::clWhite));
    m_penCell = QPen(SysColors::ToQColor(SysColors::clAqua));
    m_penHighlight = QPen(SysColors::ToQColor(SysColors::clYellow));

    if (m_nameForm)
        m_nameForm->SetPlayWave([host](Sound sound) { host->PlayWave(sound); });

    resize(ClientWidth, ClientHeight);
    FormResize(); // a hidden window gets its resize event only when first shown
    FormCreate();
}

TRankF::~TRankF() = default;

void TRankF::FormCreate()
{
    // The header is the model's, written when the ranking was made.
    setWindowTitle(QStringLiteral("RanKing Top ") + QString::number(Ranking::Places));
}

TextGrid& TRankF::Grid() const
{
    return m_ranking.Grid();
}

void TRankF::ShowRanking(RankingMode mode)
{
    // While the window is open its grid is newer than the file: an entry made since it
    // opened is saved only when it closes, so reading the file now would drop that entry.
    if (!isVisible())
        m_ranking.Load();
    RenumberRanks();
    if (mode == RankingMode::OfferResult && RankPosition(m_host->PointsTotal()) == Ranking::NotPlaced)
        return;
    BringToFront();
}

int TRankF::RankPosition(int points) const
{
    return Ranking::RankPosition(Grid(), points);
}

void TRankF::InsertRankEntry(int place, const QString& name)
{
    m_ranking.Enter(place, name, m_host->PointsTotal(), m_host->CurrentDateTime());
}

void TRankF::RenumberRanks()
{
    Ranking::RenumberRanks(Grid());
}

void TRankF::FormShow()
{
    if (m_host->RankPending() == RankPending::None)
        return; // only shown
    m_host->SetRankPending(RankPending::None);
    const int place = RankPosition(m_host->PointsTotal());
    m_highlightRow = place;
    m_sg0->viewport()->update();
    if (Ranking::IsEmpty(Grid())) {
        InsertRankEntry(1, AskName());
        return;
    }
    if (place >= 1 && place <= Ranking::Places)
        InsertRankEntry(place, AskName());
    if (place >= 1 && place < Grid().RowCount())
        Grid().SetRow(place);
    m_ranking.TrimToPlaces();
}

void TRankF::FormClose()
{
    // The save places this copy's entry into the ranking as another copy may have saved it
    // meanwhile; the highlight follows the entry to its place there.
    const bool entered = m_ranking.HasNewEntry();
    QString error;
    const bool saved = m_ranking.Save(&error);
    if (entered)
        m_highlightRow = m_ranking.EntryRow();
    // A ranking that may not be saved in this run was named at start.
    if (!saved && !m_ranking.SavesRefused()) {
        m_host->ShowMessage(tr("ランキングを保存できませんでした。\n%1\n%2")
                                .arg(QDir::toNativeSeparators(m_ranking.Path()), error));
    }
    m_host->NewGame();
}

void TRankF::FormResize()
{
    if (width() > MaxWidth) {
        resize(MaxWidth, height()); // comes back here with the new width
        return;
    }
    const int gridHeight = qMax(0, height() - PanelHeight);
    m_sg0->setGeometry(0, 0, width(), gridHeight);
    m_panel1->setGeometry(0, gridHeight, width(), PanelHeight);
    const int top = (PanelHeight - ButtonHeight) / 2;
    m_clrBtn->setGeometry(8, top, ButtonWidth, ButtonHeight);
    m_okBtn->setGeometry(width() - 8 - ButtonWidth, top, ButtonWidth, ButtonHeight);
}

void TRankF::OKBtnClick()
{
    close();
}

void TRankF::ClrBtnClick()
{
    if (!ConfirmClear())
        return;
    m_ranking.Clear();
    BringToFront();
}

void TRankF::SG0DrawCell(QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState state)
{
    painter.fillRect(rect, painter.brush());
    // White on the headers and the rank column, aqua elsewhere, yellow for the last result
    // offered, whatever the cell (so the header is yellow until a result is offered).
    painter.setPen(row == m_highlightRow     ? m_penHighlight
            : (state & TStringGrid::gdFixed) ? m_penFixed
                                             : m_penCell);
    TStringGrid::DrawCellText(painter, rect, Grid().Cell(col, row), taCenter);
}

void TRankF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    FormShow();
}

void TRankF::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TRankF::keyPressEvent(QKeyEvent* event)
{
    // Only the buttons close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRankF::done(int result)
{
    const bool wasVisible = isVisible();
    QDialog::done(result);
    if (wasVisible)
        FormClose();
}

QString TRankF::AskName()
{
    if (m_askName)
        return m_askName();
    if (!m_nameForm) {
        m_ownNameForm = std::make_unique<TNameF>();
        RankHost* host = m_host;
        m_ownNameForm->SetPlayWave([host](Sound sound) { host->PlayWave(sound); });
        m_nameForm = m_ownNameForm.get();
    }
    return m_nameForm->Execute();
}

bool TRankF::ConfirmClear()
{
    if (m_confirmClear)
        return m_confirmClear();
    return Notice::AskYesNo(this, tr("ランキングをクリアしてよろしいですか？"));
}

void TRankF::BringToFront()
{
    show();
    raise();
    activateWindow();
}
