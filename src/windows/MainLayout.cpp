// SPDX-License-Identifier: MIT
// TMainF's layout and sizing: the controls of the main window in the order of its layout
// table, the menu, the 120 tiles on the board panel, the move log's columns, and the
// window's size, which always leaves room for the whole 12 x 10 board.
#include "windows/Main.h"

// Qt
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>
#include <QTimer>

// own
#include "app/GameSession.h"
#include "controls/BrimBtn.h"
#include "controls/ChkGroup.h"
#include "controls/GradBox.h"
#include "controls/NBAry.h"
#include "controls/Panel.h"
#include "controls/ShiftState.h"
#include "controls/StringGrid.h"
#include "controls/URLLink.h"
#include "windows/AppInfo.h"
#include "windows/CursorFrame.h"
#include "windows/HelpViewer.h"
#include "windows/PairMark.h"

namespace {

using namespace SysColors;

// The height of a menu bar as the system metric gives it: the move log keeps that much for
// its scroll bar. The window's size counts the menu bar as it is laid out instead.
constexpr int MenuBarHeight = 19;
constexpr int TileSize = 30;
constexpr int BoardBevel = 8;
constexpr int SidePanelWidth = 172;
constexpr int TopStripHeight = 20;

// The move log's design width, and its column widths (-1 hides a column).
constexpr int MoveLogWidth = 168;
constexpr int MoveLogWidths[Game::LogColumns] = { 18, 18, 25, 40, 0, -1, -1, -1, -1 };

// Sets the colour a widget draws its text in. A palette rather than a style sheet: a style
// sheet brings a style of its own to every widget it is set on, which costs start-up time.
void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// A transparent label in a colour and font of the layouts.
QLabel* MakeLabel(const QString& text, QWidget* parent, ColorValue color, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    // A label draws no background of its own: whatever is behind it shows through.
    label->setAutoFillBackground(false);
    SetTextColor(label, ToQColor(color));
    label->adjustSize();
    return label;
}

// The gradient button look the three command buttons share.
void StyleCommandButton(TBrimBtn* button, const QString& caption, const QFont& font)
{
    button->SetTopColor(clBlue);
    button->SetOutLineColor(clWhite);
    button->SetDrawOutLine(true);
    button->SetEndColor(clGray);
    button->SetColorCnt(20);
    button->SetOutLineRound(false);
    button->SetCaptionLeft(5);
    button->SetCaptionTop(5);
    button->setFont(font);
    button->SetFontColor(clWhite);
    button->SetCaption(caption);
}

} // namespace

void TMainF::BuildLayout()
{
    m_client = new QWidget(this);
    setCentralWidget(m_client);

    // The top strip: gradient, link, elapsed time, points and remaining tiles.
    m_panel1 = new Panel(m_client);
    m_panel1->SetColor(clSilver);
    m_panel1->SetBevelOuter(bvLowered);
    m_gradBox1 = new TGradBox(m_panel1);
    m_gradBox1->SetTopColor(clBlue);
    m_gradBox1->SetLastColor(clSilver);
    m_gradBox1->SetGradStyle(gsLeftRight);
    m_gradBox1->SetDrawOutLine(false);
    m_gradBox1->SetFont3D(false);

    m_urlLink1 = new TURLLink(m_panel1);
    m_urlLink1->SetCaption(QStringLiteral("Brimwell　"));
    m_urlLink1->setFont(AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    m_urlLink1->SetFontColor(clAqua);
    m_urlLink1->SetLinkColor(clRed);
    m_urlLink1->SetTransparent(true);
    m_urlLink1->SetEnableShowHint(false);
    m_urlLink1->SetHintOffsetY(0);
    m_urlLink1->SetHintFormFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    m_urlLink1->SetHintFormFontColor(clWindowText);
    m_urlLink1->setToolTip(tr("Brimwell サポートページへＧＯ！"));
    m_urlLink1->SetLink(SupportPageUrl().toString());

    m_timeL = MakeLabel(tr("経過時間 ：00:00 00 "), m_panel1, clWhite,
                        AppInfo::WindowFont(AppInfo::PGothic, -13));
    const QFont labelFont = AppInfo::WindowFont(AppInfo::PGothic, -13, false, true);
    m_pntL = MakeLabel(tr("ポイント:0 "), m_panel1, clBlue, labelFont);
    m_pntL->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_zanL = MakeLabel(tr("残"), m_panel1, clBlue, labelFont);
    m_zanL->setAlignment(Qt::AlignRight | Qt::AlignBottom);

    // The board: a navy panel with its gradient behind the tiles.
    m_bPnl = new Panel(m_client);
    m_bPnl->SetColor(clNavy);
    m_bPnl->SetBevelInner(bvRaised);
    m_bPnl->SetBevelOuter(bvLowered);
    m_bPnl->SetBevelWidth(BoardBevel);
    m_bPnl->setFont(AppInfo::DefaultBoardFont());
    // The board takes the keys of keyboard play; the tiles themselves take no focus.
    m_bPnl->setFocusPolicy(Qt::StrongFocus);
    m_bPnl->installEventFilter(this);
    m_gradBox2 = new TGradBox(m_bPnl);
    m_gradBox2->SetTopColor(clGray);
    m_gradBox2->SetLastColor(clNavy);
    m_gradBox2->SetDrawOutLine(false);
    m_gradBox2->SetFont3D(false);
    m_gradBox2->installEventFilter(this);

    // The side panel.
    m_dPnl = new Panel(m_client);
    m_dPnl->SetColor(clGray);
    m_dPnl->SetBevelOuter(bvLowered);

    m_panel4 = new Panel(m_dPnl);
    m_gsg = new TNBAry(m_panel4);
    m_gsg->SetColCount(5);
    m_gsg->SetRowCount(1);
    m_gsg->SetChangeColor(false);

    m_panel2 = new Panel(m_dPnl);
    m_panel2->SetColor(clNavy);
    m_tBox = new TGradBox(m_panel2);
    m_tBox->SetTopColor(clGray);
    m_tBox->SetLastColor(clNavy);
    m_tBox->SetFont3D(true);
    m_tBox->SetFontDepth(3);
    m_tBox->SetCaptionTop(40);

    m_reBtn = new TBrimBtn(m_panel2);
    m_reBtn->setGeometry(8, 8, 27, 25);
    StyleCommandButton(m_reBtn, tr("<<"), AppInfo::WindowFont(AppInfo::PGothic, -16, true));
    m_hintBtn = new TBrimBtn(m_panel2);
    m_hintBtn->setGeometry(45, 8, 27, 25);
    StyleCommandButton(m_hintBtn, tr("!!"), AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    m_startBtn = new TBrimBtn(m_panel2);
    m_startBtn->setGeometry(80, 8, 81, 25);
    StyleCommandButton(m_startBtn, tr("Start!!"), AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    connect(m_reBtn, &TBrimBtn::Clicked, this, [this] { ReBtnClick(); });
    connect(m_hintBtn, &TBrimBtn::Clicked, this, [this] { HintBtnClick(); });
    connect(m_startBtn, &TBrimBtn::Clicked, this, [this] { StartBtnClick(); });

    m_panel6 = new Panel(m_dPnl);
    m_panel6->SetColor(clGray);

    m_sg1 = new TStringGrid(&m_session.MoveLog(), m_panel6);

    m_panel3 = new Panel(m_panel6);
    m_panel3->SetBevelOuter(bvNone);
    m_panel3->SetColor(clGray);
    // The two size lists take their font and silver face from this panel instead of a
    // setFont or setPalette of their own: a combo box builds its whole drop-down list as soon
    // as either changes, and nothing needs that list before it is first opened.
    m_panel3->setFont(AppInfo::WindowFont(AppInfo::PGothic, -15));
    QPalette comboPalette = m_panel3->palette();
    comboPalette.setColor(QPalette::Button, ToQColor(clSilver));
    // Their text goes with their face, not with the desktop: light text on the silver face
    // would not read.
    comboPalette.setColor(QPalette::ButtonText, ToQColor(clBlack));
    m_panel3->setPalette(comboPalette);
    const QFont smallWhite = AppInfo::WindowFont(AppInfo::PGothic, -12);
    m_label1 = MakeLabel(tr("縦"), m_panel3, clWhite, smallWhite);
    m_label1->move(8, 12 - m_label1->height() / 2 + 4);
    m_label2 = MakeLabel(tr("×　横"), m_panel3, clWhite, smallWhite);
    m_label2->move(75, 12 - m_label2->height() / 2 + 4);
    m_cbh = new QComboBox(m_panel3);
    m_cbh->addItems({ "3", "4", "5", "6", "7", "8", "9", "10" });
    m_cbw = new QComboBox(m_panel3);
    m_cbw->addItems({ "4", "6", "8", "10", "12" });
    for (QComboBox* combo : { m_cbh, m_cbw })
        combo->setEditable(false);
    m_cbh->setGeometry(24, 3, 45, 20);
    m_cbw->setGeometry(112, 3, 45, 20);

    m_cg1 = new TChkGroup(m_panel6);
    m_cg1->setFont(smallWhite);
    m_cg1->SetFontColor(clWhite);
    m_cg1->SetColumns(3);
    m_cg1->SetItems({ tr("干"), tr("支"), tr("九星") });
    m_cg1->SetBitChk(1);

    m_rgcBox = new QFrame(m_panel6);
    m_rgcBox->setFont(smallWhite);
    // An untitled group: a one-pixel silver line around the two choices.
    m_rgcBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_rgcBox->setLineWidth(1);
    SetTextColor(m_rgcBox, ToQColor(clSilver));
    m_rgc = new QButtonGroup(m_rgcBox);
    const QStringList colouring = { tr("着色する"), tr("着色しない") };
    for (int i = 0; i < colouring.size(); ++i) {
        auto* radio = new QRadioButton(colouring.at(i), m_rgcBox);
        // White captions on the gray panel; the indicator keeps its white face and black dot.
        QPalette palette = radio->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        radio->setPalette(palette);
        m_rgc->addButton(radio, i);
    }
    m_rgc->button(0)->setChecked(true);

    m_timer1 = new QTimer(this);
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TMainF::Timer1Timer);
}

void TMainF::BuildMenu()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, void (TMainF::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file1 = bar->addMenu(tr("ファイル(&F)"));
    file1->setObjectName(QStringLiteral("File1"));
    add(file1, "New1", tr("スタート(&N)"), &TMainF::StartBtnClick);
    add(file1, "DealNo1", tr("番号を指定して配る(&D)…"), &TMainF::DealNo1Click);
    add(file1, "R1", tr("元に戻す(&R)"), &TMainF::ReBtnClick);
    m_redo1 = add(file1, "Redo1", tr("やり直し(&Y)"), &TMainF::RedoClick);
    m_redo1->setEnabled(false);
    file1->addSeparator()->setObjectName(QStringLiteral("N1"));
    add(file1, "H1", tr("ハイスコア(&H)"), &TMainF::H1Click);
    add(file1, "Best1", tr("この盤面の最高点(&B)…"), &TMainF::BestClick);
    file1->addSeparator()->setObjectName(QStringLiteral("N2"));
    add(file1, "Exit1", tr("終了(&X)"), &TMainF::Exit1Click);

    QAction* o1 = bar->addAction(tr("設定(&S)"));
    o1->setObjectName(QStringLiteral("O1"));
    connect(o1, &QAction::triggered, this, &TMainF::O1Click);

    QMenu* help1 = bar->addMenu(tr("ヘルプ(&H)"));
    help1->setObjectName(QStringLiteral("Help1"));
    add(help1, "Contents1", tr("目次(&C)"), &TMainF::Contents1Click);
    add(help1, "About1", tr("バージョン情報(&A)..."), &TMainF::About1Click);
    add(help1, "W1", tr("ｻﾎﾟｰﾄﾍﾟｰｼﾞへ(&W)"), &TMainF::W1Click);
}

QAction* TMainF::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void TMainF::CreateTiles()
{
    // Column 0..11 outer, row 0..9 inner, as the board numbers them.
    const int origin = 2 * m_bPnl->BevelWidth() + 1;
    QFont tileFont = m_bPnl->font();
    tileFont.setPointSize(12);
    for (int c = 0; c < Game::Cols; ++c)
        for (int r = 0; r < Game::Rows; ++r) {
            auto* tile = new TBrimBtn(m_bPnl);
            tile->setGeometry(TileSize * c + origin, TileSize * r + origin, TileSize, TileSize);
            tile->SetTag(Game::TileNumber(c, r));
            tile->setFont(tileFont);
            tile->SetFontColor(clWhite);
            tile->SetOutLineColor(clNavy);
            // The one place a tile's mouse bits become a pick: with the left button held
            // a completed pair is removed, otherwise it stays to show its score.
            connect(tile, &TBrimBtn::MouseDown, this, [this](TBrimBtn* sender, int, int shift, int, int) {
                BoardMousePress(sender->Tag());
                m_session.Pick(sender->Tag(), (shift & ShiftState::ssLeft) ? PickMode::Remove : PickMode::Hold);
            });
            m_tiles[size_t(c + r * Game::Cols)] = tile;
        }
    // Above every tile.
    m_cursorFrame = new ::CursorFrame(m_bPnl);
    m_cursorFrame->hide();
    m_cursorFrame->raise();
    for (int i = 0; i < 2; ++i)
        m_pairMarks[size_t(i)] = new PairMark(m_bPnl, i + 1);
}

void TMainF::LayoutControls()
{
    if (!m_client)
        return;
    const int w = m_client->width();
    const int h = m_client->height();
    m_panel1->setGeometry(0, 0, w, TopStripHeight);
    m_gradBox1->setGeometry(m_panel1->InnerRect());
    PlaceTopLabels();

    m_dPnl->setGeometry(w - SidePanelWidth, TopStripHeight, SidePanelWidth, h - TopStripHeight);
    m_bPnl->setGeometry(0, TopStripHeight, w - SidePanelWidth, h - TopStripHeight);
    m_gradBox2->setGeometry(m_bPnl->InnerRect());

    // The side panel stacks its parts from the top and from the bottom.
    const QRect side = m_dPnl->InnerRect();
    m_panel4->setGeometry(side.left(), side.top(), side.width(), 24);
    m_gsg->setGeometry(m_panel4->InnerRect());
    m_panel2->setGeometry(side.left(), side.top() + 24, side.width(), 40);
    m_tBox->setGeometry(m_panel2->InnerRect());
    m_panel6->setGeometry(side.left(), side.top() + 64, side.width(), side.height() - 64);
    const QRect inner = m_panel6->InnerRect();
    int bottom = inner.bottom() + 1;
    m_rgcBox->setGeometry(inner.left(), bottom - 30, inner.width(), 30);
    bottom -= 30;
    m_cg1->setGeometry(inner.left(), bottom - 30, inner.width(), 30);
    bottom -= 30;
    m_panel3->setGeometry(inner.left(), bottom - 24, inner.width(), 24);
    bottom -= 24;
    m_sg1->setGeometry(inner.left(), inner.top(), inner.width(), bottom - inner.top());

    // The radio group's two columns.
    const int half = (m_rgcBox->width() - 8) / 2;
    const QList<QAbstractButton*> radios = m_rgc->buttons();
    for (int i = 0; i < radios.size(); ++i)
        radios.at(i)->setGeometry(6 + i * half, 7, half, 18);
}

void TMainF::PlaceTopLabels()
{
    const QRect inner = m_panel1->InnerRect();
    m_urlLink1->setGeometry(inner.left(), inner.top(), 86, qMin(19, inner.height()));
    m_timeL->adjustSize();
    m_timeL->move(159, 5 - (m_timeL->height() - 13) / 2);
    m_zanL->adjustSize();
    m_zanL->setGeometry(inner.right() + 1 - m_zanL->width(), inner.top(), m_zanL->width(), inner.height());
    m_pntL->adjustSize();
    m_pntL->setGeometry(m_zanL->x() - m_pntL->width(), inner.top(), m_pntL->width(), inner.height());
}

void TMainF::SetupMoveLog()
{
    m_sg1->setFont(AppInfo::WindowFont(AppInfo::Mincho, -13));
    m_sg1->SetFontColor(clWindowText);
    m_sg1->SetColor(clNavy);
    m_sg1->SetFixedColor(clTeal);
    m_sg1->SetDefaultColWidth(18);
    m_sg1->SetDefaultRowHeight(16);
    m_sg1->SetLines(TStringGrid::glFixedHorz);
    m_sg1->SetRowSelect(true);
    m_sg1->SetFlat(true);
    m_sg1->SetEditing(false);
    QList<int> widths(std::begin(MoveLogWidths), std::end(MoveLogWidths));
    // Column 4 takes the rest of the design width: 97 is the sum of the list, hidden
    // columns included, and one menu-bar height is kept for the scroll bar.
    int listed = 0;
    for (int wdt : MoveLogWidths)
        listed += wdt;
    widths[Game::LogFill] = MoveLogWidth - listed - MenuBarHeight - 1;
    m_sg1->SetColWidths(widths);
    m_sg1->SetRowHeight(0, 5);
    m_sg1->SetDrawCell([this](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState state) {
        painter.fillRect(rect, TStringGrid::LogCellColor(state));
        if (col > Game::LogText)
            return;
        QString text = m_sg1->Grid()->Cell(col, row);
        const TAlignment alignment = col <= Game::LogSymbol2 ? taCenter : col == Game::LogPoints ? taRightJustify
                                                                                                  : taLeftJustify;
        TStringGrid::DrawCellText(painter, rect, text, alignment);
    });
}

QSize TMainF::Decorations() const
{
    // The frame and caption as the window system draws them. Without a window manager
    // there are none, and the client area gets what a Windows frame (4 pixels a side) and
    // caption (one menu-bar height) would leave, so the board fits as designed. A frame
    // narrower or lower than its client is none either: Wine without a window manager
    // reports one 2 pixels narrower, which would widen the client past the design.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() >= 0 && frame.height() >= 0 && (frame.width() > 0 || frame.height() > 0))
        return frame;
    return QSize(8, 8 + LaidOutMenuBarHeight());
}

int TMainF::LaidOutMenuBarHeight() const
{
    // What the window's layout gives the menu bar: a height for the bar's width, else the
    // height it asks for. Sizing with any other height would hand the difference to the
    // board panel, whose room is exactly twelve columns by ten rows.
    const QMenuBar* bar = menuBar();
    const int height = bar->heightForWidth(Game::Cols * TileSize + SidePanelWidth + 4 * BoardBevel);
    return height >= 0 ? height : bar->sizeHint().height();
}

QSize TMainF::OuterSize() const
{
    return size() + Decorations();
}

void TMainF::SizeWindow()
{
    // Outer size, frame and bars included: room for all twelve columns and ten rows
    // whatever the board size, so the width is always 572.
    const int b = m_bPnl->BevelWidth();
    const int m = LaidOutMenuBarHeight();
    const int outerHeight = 2 * m + Game::Rows * TileSize + TopStripHeight + 4 * b + 8;
    const int outerWidth = Game::Cols * TileSize + SidePanelWidth + 4 * b + 8;
    setFixedSize(QSize(outerWidth, outerHeight) - Decorations());
}
