// SPDX-License-Identifier: MIT
#include "Main.h"

// Qt
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <utility>

// own
#include "About.h"
#include "AppInfo.h"
#include "BrimBtn.h"
#include "ChkGroup.h"
#include "Deal.h"
#include "GradBox.h"
#include "HelpViewer.h"
#include "Keys.h"
#include "MainShortcuts.h"
#include "NBAry.h"
#include "NewCtrls.h"
#include "Panel.h"
#include "Rank.h"
#include "SavedGameFile.h"
#include "SettingsStore.h"
#include "Setu.h"
#include "StringGrid.h"
#include "Symbols.h"
#include "URLLink.h"
#include "sound/SoundPlayer.h"

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

// The keyboard cursor's frame: two pixels on each side of a tile, over the tile's own
// outline and the outline of its neighbour, with short brackets in the four corners of the
// face. The selection circle runs one pixel inside the outline and meets it only at the
// middle of each side; in the corners it keeps away from the brackets (where a bracket
// ends, five pixels along the edge, the circle is still two pixels off), so the circles of
// the tile and of its neighbours stay whole. Mouse presses go through to the tile beneath.
class CursorOverlay : public QWidget
{
public:
    explicit CursorOverlay(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

    // Where the frame goes for a tile of that geometry.
    static QRect Around(const QRect& tile) { return tile.adjusted(-1, -1, 1, 1); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QColor color = ToQColor(clYellow);
        const int w = width();
        const int h = height();
        painter.fillRect(0, 0, w, 2, color);
        painter.fillRect(0, h - 2, w, 2, color);
        painter.fillRect(0, 2, 2, h - 4, color);
        painter.fillRect(w - 2, 2, 2, h - 4, color);
        // The brackets: two pixels thick, CornerArm long, from each corner of the face.
        for (const int x : { 2, w - 2 - CornerArm })
            for (const int y : { 2, h - 4 })
                painter.fillRect(x, y, CornerArm, 2, color);
        for (const int x : { 2, w - 4 })
            for (const int y : { 2, h - 2 - CornerArm })
                painter.fillRect(x, y, 2, CornerArm, color);
    }

private:
    static constexpr int CornerArm = 5;
};

} // namespace

TMainF::TMainF(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint
                              | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_game(*this)
    , m_programFolder(programFolder)
{
    AppInfo::InstallFontSubstitutions();
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    BuildLayout();
    BuildMenu();
    InstallMainShortcuts(*this);
    FormCreate();
}

TMainF::~TMainF()
{
    FormDestroy();
}

void TMainF::SetWindows(TAboutBox* about, TRankF* rank, TSetuF* setu)
{
    m_about = about;
    m_rank = rank;
    m_setu = setu;
    if (m_setu)
        for (int kind = 1; kind <= 3; ++kind)
            m_game.SetScoreTable(kind, m_setu->ScoreTable(kind));
    // No sound plays before the options dialog with its sound switch is here, so the clips
    // are loaded now rather than while the window is first drawn.
    if (!m_sound)
        m_sound = std::make_unique<SoundPlayer>();
}

// --- layout -----------------------------------------------------------------------------

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
    m_urlLink1->setToolTip(QStringLiteral("Brimwell サポートページへＧＯ！"));
    m_urlLink1->SetLink(SupportPageUrl().toString());

    m_timeL = MakeLabel(QStringLiteral("経過時間 ：00:00 00 "), m_panel1, clWhite,
                        AppInfo::WindowFont(AppInfo::PGothic, -13));
    const QFont labelFont = AppInfo::WindowFont(AppInfo::PGothic, -13, false, true);
    m_pntL = MakeLabel(QStringLiteral("ポイント:0 "), m_panel1, clBlue, labelFont);
    m_pntL->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_zanL = MakeLabel(QStringLiteral("残"), m_panel1, clBlue, labelFont);
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
    StyleCommandButton(m_reBtn, QStringLiteral("<<"), AppInfo::WindowFont(AppInfo::PGothic, -16, true));
    m_hintBtn = new TBrimBtn(m_panel2);
    m_hintBtn->setGeometry(45, 8, 27, 25);
    StyleCommandButton(m_hintBtn, QStringLiteral("!!"), AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    m_startBtn = new TBrimBtn(m_panel2);
    m_startBtn->setGeometry(80, 8, 81, 25);
    StyleCommandButton(m_startBtn, QStringLiteral("Start!!"), AppInfo::WindowFont(AppInfo::PGothic, -19, true, true));
    connect(m_reBtn, &TBrimBtn::Clicked, this, [this] { ReBtnClick(); });
    connect(m_hintBtn, &TBrimBtn::Clicked, this, [this] { HintBtnClick(); });
    connect(m_startBtn, &TBrimBtn::Clicked, this, [this] { StartBtnClick(); });

    m_panel6 = new Panel(m_dPnl);
    m_panel6->SetColor(clGray);

    m_sg1 = new TStringGrid(&m_game.MoveLog(), m_panel6);

    m_panel3 = new Panel(m_panel6);
    m_panel3->SetBevelOuter(bvNone);
    m_panel3->SetColor(clGray);
    // The two size lists take their font and silver face from this panel instead of a
    // setFont or setPalette of their own: a combo box builds its whole drop-down list as soon
    // as either changes, and nothing needs that list before it is first opened.
    m_panel3->setFont(AppInfo::WindowFont(AppInfo::PGothic, -15));
    QPalette comboPalette = m_panel3->palette();
    comboPalette.setColor(QPalette::Button, ToQColor(clSilver));
    m_panel3->setPalette(comboPalette);
    const QFont smallWhite = AppInfo::WindowFont(AppInfo::PGothic, -12);
    m_label1 = MakeLabel(QStringLiteral("縦"), m_panel3, clWhite, smallWhite);
    m_label1->move(8, 12 - m_label1->height() / 2 + 4);
    m_label2 = MakeLabel(QStringLiteral("×　横"), m_panel3, clWhite, smallWhite);
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
    m_cg1->SetItems({ QStringLiteral("干"), QStringLiteral("支"), QStringLiteral("九星") });
    m_cg1->SetBitChk(1);

    m_rgcBox = new QFrame(m_panel6);
    m_rgcBox->setFont(smallWhite);
    // An untitled group: a one-pixel silver line around the two choices.
    m_rgcBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_rgcBox->setLineWidth(1);
    SetTextColor(m_rgcBox, ToQColor(clSilver));
    m_rgc = new QButtonGroup(m_rgcBox);
    const QStringList colouring = { QStringLiteral("着色する"), QStringLiteral("着色しない") };
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
    connect(m_rgc, &QButtonGroup::idClicked, this, [this] { RGCClick(); });

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
    QMenu* file1 = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file1->setObjectName(QStringLiteral("File1"));
    add(file1, "New1", QStringLiteral("スタート(&N)"), &TMainF::StartBtnClick);
    add(file1, "DealNo1", QStringLiteral("番号を指定して配る…"), &TMainF::DealNo1Click);
    add(file1, "R1", QStringLiteral("元に戻す(&R)"), &TMainF::ReBtnClick);
    m_redo1 = add(file1, "Redo1", QStringLiteral("やり直し"), &TMainF::RedoClick);
    m_redo1->setEnabled(false);
    file1->addSeparator()->setObjectName(QStringLiteral("N1"));
    add(file1, "H1", QStringLiteral("ハイスコア(&H)"), &TMainF::H1Click);
    file1->addSeparator()->setObjectName(QStringLiteral("N2"));
    add(file1, "Exit1", QStringLiteral("終了(&X)"), &TMainF::Exit1Click);

    QAction* o1 = bar->addAction(QStringLiteral("設定(&S)"));
    o1->setObjectName(QStringLiteral("O1"));
    connect(o1, &QAction::triggered, this, &TMainF::O1Click);

    QMenu* help1 = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help1->setObjectName(QStringLiteral("Help1"));
    add(help1, "Contents1", QStringLiteral("目次(&C)"), &TMainF::Contents1Click);
    add(help1, "About1", QStringLiteral("バージョン情報(&A)..."), &TMainF::About1Click);
    add(help1, "W1", QStringLiteral("ｻﾎﾟｰﾄﾍﾟｰｼﾞへ(&W)"), &TMainF::W1Click);
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
            connect(tile, &TBrimBtn::MouseDown, this, [this](TBrimBtn* sender, int button, int shift, int, int) {
                BoardMousePress(sender->Tag());
                m_game.TileMouseDown(sender->Tag(), button, shift);
            });
            m_tiles[size_t(c + r * Game::Cols)] = tile;
        }
    // Above every tile.
    m_cursorFrame = new CursorOverlay(m_bPnl);
    m_cursorFrame->hide();
    m_cursorFrame->raise();
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
    m_sg1->SetDrawCell([this](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState) {
        painter.fillRect(rect, ToQColor(clGray));
        if (col > Game::LogText)
            return;
        QString text = m_sg1->Cell(col, row);
        const TAlignment alignment = col <= Game::LogSymbol2 ? taCenter : col == Game::LogPoints ? taRightJustify
                                                                                                  : taLeftJustify;
        TStringGrid::DrawCellText(painter, rect, text, alignment);
    });
}

QSize TMainF::Decorations() const
{
    // The frame and caption as the window system draws them. Without a window manager
    // there are none, and the client area gets what a Windows frame (4 pixels a side) and
    // caption (one menu-bar height) would leave, so the board fits as designed.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() > 0 || frame.height() > 0)
        return frame;
    return QSize(8, 8 + LaidOutMenuBarHeight());
}

int TMainF::LaidOutMenuBarHeight() const
{
    // What the window's layout gives the menu bar: a height for the bar's width, else the
    // height it asks for. Sizing with any other height would hand the difference to the
    // board panel, whose room is exactly twelve columns by ten rows.
    const QMenuBar* bar = menuBar();
    const int height = bar->heightForWidth(12 * TileSize + SidePanelWidth + 4 * BoardBevel);
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
    const int outerHeight = 2 * m + 10 * TileSize + TopStripHeight + 4 * b + 8;
    const int outerWidth = 12 * TileSize + SidePanelWidth + 4 * b + 8;
    setFixedSize(QSize(outerWidth, outerHeight) - Decorations());
}

// --- creation and lifetime ----------------------------------------------------------------

void TMainF::FormCreate()
{
    // The random generator was seeded from the clock when the game was made, and the start
    // time taken with the elapsed-time clock.
    m_elapsed.Restart();
    setWindowTitle(AppInfo::Title);
    if (m_programFolder.isEmpty())
        m_programFolder = AppInfo::ProgramFolder();
    else if (!m_programFolder.endsWith(QLatin1Char('/')) && !m_programFolder.endsWith(QDir::separator()))
        m_programFolder += QDir::separator();
    ReadSettings();

    m_fontInfo1 = std::make_unique<TFontInfo>();
    m_fontInfo1->SetName(QStringLiteral("FontInfo1"));
    m_fontInfo1->SetEntryName(QStringLiteral("FontInfo1"));
    m_fontInfo1->SetKeyName(Keys::Root);
    const TFontInfo::StoredFont stored = m_fontInfo1->LoadFont(m_bPnl->font(), m_boardFontColor);
    m_boardFont = stored.font;
    m_boardFontColor = stored.color;
    m_bPnl->setFont(m_boardFont);
    if (!stored.error.isEmpty())
        AddStartupError(QStringLiteral("次の設定を読み込めないため、既定値を使います: FontInfo1\n\n") + stored.error);

    CreateTiles();
    if (!m_resumeAtStart || !RestoreSavedGame())
        m_game.NewGame();
    SetupMoveLog();
    SizeWindow();
    LayoutControls();
    m_bPnl->setFocus(Qt::OtherFocusReason);
    m_timer1->start();
    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TMainF::ReadSettings()
{
    // Reading needs no key, and creating it at a first start is a synced write ahead of the
    // first frame: the options dialog's store, opened right after that frame, creates it.
    SettingsStore store = OpenStore(Keys::Root, RegOpen::Existing);
    // A stored index outside a list falls back to its first item, which the deal needs.
    const int cbh = store.ReadNumber(Keys::Sys::CBH);
    m_cbh->setCurrentIndex(cbh >= 0 && cbh < m_cbh->count() ? cbh : 0);
    const int cbw = store.ReadNumber(Keys::Sys::CBW);
    m_cbw->setCurrentIndex(cbw >= 0 && cbw < m_cbw->count() ? cbw : 0);
    m_cg1->SetBitChk(store.ReadNumber(Keys::Sys::CG1));
    const int rgc = store.ReadNumber(Keys::Sys::RGC);
    m_rgc->button(rgc == 1 ? 1 : 0)->setChecked(true);
    m_solvableAtStart = store.ReadFlag(Keys::Set::Solvable);
    m_resumeAtStart = store.ReadFlag(Keys::Set::Resume);
    if (store.HasErrors())
        m_startupErrors = store.ErrorMessage();
}

void TMainF::AddStartupError(const QString& text)
{
    // Said together, once the window shows.
    m_startupErrors = m_startupErrors.isEmpty() ? text : m_startupErrors + QStringLiteral("\n\n") + text;
}

bool TMainF::RestoreSavedGame()
{
    using SavedGameFile::Status;
    const QString path = SavedGameFile::Path();
    const SavedGameFile::ReadResult read = SavedGameFile::Load(path);
    // No game kept, or a file that is not one of ours: a new deal, as at any start.
    if (read.status == Status::Missing || read.status == Status::Foreign)
        return false;
    if (read.status == Status::Read) {
        // A game scored with other tables does not go on under these.
        if (read.saved.tablesFingerprint != SavedGameFile::TablesFingerprint(m_programFolder))
            return false;
        if (m_game.Restore(read.saved.game)) {
            m_elapsed.Restart(read.saved.elapsedSeconds * 1000);
            m_warnings.ResumeAt(read.saved.elapsedSeconds);
            m_logRestored = true;
            return true;
        }
    }
    AddStartupError(QStringLiteral("前回終了したときのゲームは、保存ファイルが壊れているため続けられません。"
                                   "新しい盤面を配ります。\n") + QDir::toNativeSeparators(path));
    return false;
}

bool TMainF::ResumeSwitch() const
{
    return m_setu ? m_setu->ResumeGame() : m_resumeAtStart;
}

void TMainF::KeepGameAtClose()
{
    const QString path = SavedGameFile::Path();
    // With the switch off no game is kept, and none kept earlier may come back when it is
    // turned on again. A game closed while its end was being shown is over.
    if (!ResumeSwitch() || !Game::IsTileNumber(m_game.FindMove())) {
        SavedGameFile::Remove(path);
        return;
    }
    const SavedGameFile::SavedGame saved { m_game.Record(), m_elapsed.Seconds(),
        SavedGameFile::TablesFingerprint(m_programFolder) };
    QString why;
    if (!SavedGameFile::Save(path, saved, &why))
        ShowMessage(QStringLiteral("終了時のゲームを保存できませんでした。次の起動では新しい盤面を配ります。\n")
            + QDir::toNativeSeparators(path) + QStringLiteral("（") + why + QStringLiteral("）"));
}

void TMainF::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The frame is known only once the window is on screen.
    SizeWindow();
    // Showing the window activates it at start-up; without a window manager no activation
    // arrives, so the board font is applied here as well.
    ApplyBoardFont();
    // The log of a restored game moved its current row while its view had no size yet,
    // which scrolled its first rows away: from the top again, as far as that row allows.
    if (std::exchange(m_logRestored, false)) {
        m_sg1->scrollToTop();
        m_sg1->scrollTo(m_sg1->currentIndex());
    }
    if (!m_startupErrors.isEmpty()) {
        const QString text = m_startupErrors;
        m_startupErrors.clear();
        QTimer::singleShot(0, this, [this, text] { ShowMessage(text); });
    }
}

void TMainF::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutControls();
}

bool TMainF::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TMainF::FormActivate()
{
    ApplyBoardFont();
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        FormClose();
    }
    event->accept();
    emit Closed();
}

void TMainF::FormClose()
{
    m_timer1->stop();
    SettingsStore store = OpenStore(Keys::Root);
    store.WriteNumber(Keys::Sys::CBH, m_cbh->currentIndex());
    store.WriteNumber(Keys::Sys::CBW, m_cbw->currentIndex());
    store.WriteNumber(Keys::Sys::CG1, m_cg1->BitChk());
    store.WriteNumber(Keys::Sys::RGC, m_rgc->checkedId());
    if (store.HasErrors())
        ShowMessage(store.ErrorMessage());
    KeepGameAtClose();
}

void TMainF::FormDestroy()
{
    if (!m_fontInfo1)
        return;
    m_fontInfo1->SetKeyName(Keys::Root);
    m_fontInfo1->SaveFont(m_boardFont, m_boardFontColor);
}

// --- commands --------------------------------------------------------------------------------

void TMainF::StartBtnClick()
{
    StartDeal(std::nullopt);
}

void TMainF::DealNumbered(quint32 number)
{
    StartDeal(number);
}

void TMainF::StartDeal(std::optional<quint32> number)
{
    Beep();
    if (m_cg1->BitChk() == 0) {
        Beep();
        ShowMessage(QStringLiteral("使用するものを一つ以上チェックして下さい。"));
        return;
    }
    m_startBtn->SetFontColor(clRed);
    m_game.NewGame(number);
    m_startBtn->SetFontColor(clWhite);
}

void TMainF::DealNo1Click()
{
    if (!m_dealF)
        m_dealF = new TDealF(this);
    m_dealF->Prepare(m_game.DealNumber());
    if (m_dealF->exec() == QDialog::Accepted && m_dealF->Chosen())
        DealNumbered(*m_dealF->Chosen());
}

void TMainF::H1Click()
{
    m_game.SetRankPending(RankPending::None);
    if (m_rank)
        m_rank->ShowRanking(RankingMode::ShowOnly);
}

void TMainF::Exit1Click()
{
    close();
}

void TMainF::O1Click()
{
    if (m_setu)
        m_setu->exec();
}

void TMainF::Contents1Click()
{
    ShowHelp(this, Help::Contents);
}

void TMainF::About1Click()
{
    if (m_about)
        m_about->exec();
}

void TMainF::W1Click()
{
    // The support page opens as a left click on the link would open it.
    m_urlLink1->MouseDown(0, Game::ShiftLeft, 0, 0);
}

void TMainF::RGCClick()
{
    m_game.ColorAllTiles();
}

void TMainF::ReBtnClick()
{
    m_game.ReBtnClick();
}

void TMainF::RedoClick()
{
    m_game.RedoClick();
}

void TMainF::HintBtnClick()
{
    m_game.HintBtnClick();
    // The cursor goes to the tile the hint picked (not when the hint took a pick back).
    if (m_game.Selection().size() == 1) {
        m_cursorTile = m_game.Selection().first();
        PlaceCursor();
    }
}

void TMainF::Timer1Timer()
{
    m_timeL->setVisible(m_setu && m_setu->ShowElapsed());
    const qint64 seconds = m_elapsed.Seconds();
    m_timeL->setText(OverPlay::ElapsedLabel(seconds));
    if (!m_setu || !m_warnings.Tick(seconds, m_setu->WarningMinutesText()))
        return;
    const QString minutes = m_setu->WarningMinutesText();
    const bool quitting = m_setu->QuitOnWarning();
    PlayWave(Sound::Notice);
    ShowMessage(OverPlay::WarningText(minutes, quitting, AppInfo::Title));
    // Read again: the player may have changed it while the message was up.
    if (m_setu && m_setu->QuitOnWarning())
        close();
}

void TMainF::ApplyBoardFont()
{
    if (m_setu) {
        m_boardFont = m_setu->BoardFont();
        m_boardFontColor = m_setu->BoardFontColor();
    }
    if (m_bPnl->font() != m_boardFont)
        m_bPnl->setFont(m_boardFont);
    // The tiles are only drawn with it; the panel keeps it by the name it is stored under.
    const QFont drawn = AppInfo::DrawingFont(m_boardFont);
    for (TBrimBtn* tile : m_tiles) {
        if (tile->font() != drawn)
            tile->setFont(drawn);
        tile->SetFontColor(clWhite);
    }
    m_game.ColorAllTiles();
}

// --- GameHost ----------------------------------------------------------------------------------

void TMainF::PlayWave(Sound sound)
{
    if (!m_setu || !m_setu->SoundOn() || !m_sound)
        return;
    m_sound->Play(int(sound));
}

void TMainF::Beep()
{
    ++m_beepCount;
    QApplication::beep();
}

DealSettings TMainF::CurrentDealSettings() const
{
    DealSettings s;
    s.rows = m_cbh->currentText().toInt();
    s.cols = m_cbw->currentText().toInt();
    for (int i = 0; i < 3; ++i)
        s.sets[size_t(i)] = m_cg1->ItemChecked(i);
    s.solvable = m_setu ? m_setu->SolvableDeals() : m_solvableAtStart;
    return s;
}

Colouring TMainF::CurrentColouring() const
{
    switch (m_rgc->checkedId()) {
    case 0:
        return Colouring::ByElement;
    case 1:
        return Colouring::Plain;
    default:
        return Colouring::None;
    }
}

void TMainF::ShowGameOver(const QString& message)
{
    ShowMessage(message);
}

void TMainF::ShowRanking(RankingMode mode)
{
    if (m_rank)
        m_rank->ShowRanking(mode);
}

void TMainF::BoardChanged()
{
    m_redo1->setEnabled(m_game.CanRedo());
    const QString tip = QStringLiteral("新しい盤面を配ります（いまの盤面の番号：%1）").arg(m_game.DealNumber());
    if (m_startBtn->toolTip() != tip)
        m_startBtn->setToolTip(tip);
    if (!m_tiles[0])
        return;
    for (int i = 0; i < Game::TileCount; ++i) {
        const ::Tile& t = m_game.TileByNumber(i + 1);
        TBrimBtn* tile = m_tiles[size_t(i)];
        tile->SetCaption(t.caption);
        tile->SetTopColor(t.topColor);
        tile->SetZSet(t.zset);
        if (tile->isVisibleTo(m_bPnl) != t.visible)
            tile->setVisible(t.visible);
    }
    PlaceCursor();
}

// --- keyboard play -----------------------------------------------------------------------------

bool TMainF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_bPnl || watched == m_gradBox2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            BoardMousePress(0);
            break;
        case QEvent::KeyPress:
            if (watched == m_bPnl && BoardKeyPress(*static_cast<QKeyEvent*>(event)))
                return true;
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainF::BoardKeyPress(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    // Keys with Ctrl or Alt, and shifted keys other than Space and Backspace, are left to
    // the window.
    if (modifiers != Qt::NoModifier
        && !(shift && (event.key() == Qt::Key_Space || event.key() == Qt::Key_Backspace)))
        return false;
    switch (event.key()) {
    case Qt::Key_Left:
        MoveCursor(-1, 0);
        return true;
    case Qt::Key_Right:
        MoveCursor(1, 0);
        return true;
    case Qt::Key_Up:
        MoveCursor(0, -1);
        return true;
    case Qt::Key_Down:
        MoveCursor(0, 1);
        return true;
    case Qt::Key_Space:
        // A cursor the player cannot see picks nothing: the first press shows it.
        if (!m_cursorShown || m_cursorFrame->isHidden()) {
            MoveCursor(0, 0);
            return true;
        }
        if (shift)
            m_game.TileMouseDown(m_cursorTile, 1, Game::ShiftRight);
        else
            m_game.TileMouseDown(m_cursorTile, 0, Game::ShiftLeft);
        return true;
    case Qt::Key_Backspace:
        if (shift)
            RedoClick();
        else
            ReBtnClick();
        return true;
    case Qt::Key_H:
        m_cursorShown = true;
        HintBtnClick();
        PlaceCursor();
        return true;
    default:
        return false;
    }
}

void TMainF::BoardMousePress(int tile)
{
    m_cursorShown = false;
    if (tile > 0)
        m_cursorTile = tile;
    m_bPnl->setFocus(Qt::MouseFocusReason);
    PlaceCursor();
}

void TMainF::MoveCursor(int dCol, int dRow)
{
    // A hidden cursor first shows where it stands; only the next key moves it.
    if (m_cursorShown)
        m_cursorTile = m_game.CursorStep(m_cursorTile, dCol, dRow);
    m_cursorShown = true;
    PlaceCursor();
}

void TMainF::PlaceCursor()
{
    if (!m_cursorFrame)
        return;
    // Keep to a tile in play; with none (the moment after the last pair went) the place
    // stays for the next deal.
    const int n = m_game.NearestInPlay(m_cursorTile);
    if (n > 0)
        m_cursorTile = n;
    if (!m_cursorShown || n == 0) {
        m_cursorFrame->hide();
        return;
    }
    m_cursorFrame->setGeometry(CursorOverlay::Around(m_tiles[size_t(n - 1)]->geometry()));
    m_cursorFrame->show();
}

void TMainF::ElementStripChanged(const std::array<int, 5>& counts)
{
    for (int j = 0; j < 5; ++j) {
        TBrimBtn* cell = m_gsg->Buttons(j, 0);
        if (!cell)
            continue;
        cell->SetCaption(QString::number(counts[size_t(j)]));
        cell->SetTopColor(Symbols::ElementColors[size_t(j)]);
        cell->SetFontColor(clWhite);
        cell->SetOutLineColor(clBlue);
    }
}

void TMainF::RemainingLabelChanged(const QString& text)
{
    m_zanL->setText(text);
    PlaceTopLabels();
}

void TMainF::PointsLabelChanged(const QString& text)
{
    m_pntL->setText(text);
    PlaceTopLabels();
}

// --- RankHost ----------------------------------------------------------------------------------

int TMainF::PointsTotal() const
{
    return m_game.PointsTotal();
}

::RankPending TMainF::RankPending() const
{
    return m_game.RankPending();
}

void TMainF::SetRankPending(::RankPending value)
{
    m_game.SetRankPending(value);
}

void TMainF::NewGame()
{
    m_game.NewGame();
}

void TMainF::ShowMessage(const QString& text)
{
    if (m_messageHook) {
        m_messageHook(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, AppInfo::Title, text, QMessageBox::Ok, this);
    box.exec();
}
