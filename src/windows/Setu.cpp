// SPDX-License-Identifier: MIT
#include "windows/Setu.h"

// Qt
#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
// own
#include "windows/AppInfo.h"
#include "windows/AppStyle.h"
#include "controls/CtrlsEx.h"
#include "windows/FontDialog.h"
#include "windows/HelpViewer.h"
#include "windows/Notice.h"
#include "controls/Panel.h"
#include "game/ScoreTables.h"
#include "controls/ShiftState.h"
#include "controls/StringGrid.h"
#include "app/AppModel.h"
#include "app/GameSession.h"

namespace {

constexpr int BottomHeight = 34;

TSetuF::MessageHook& MessageHookSlot()
{
    static TSetuF::MessageHook hook;
    return hook;
}

// The score tables draw each cell's text on one line: the two symbols centred, the points
// to the right, the text to the left.
TAlignment ScoreColumnAlignment(int col)
{
    return col <= 1 ? taCenter : col == 2 ? taRightJustify : taLeftJustify;
}

} // namespace

TSetuF::TSetuF(AppModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_fontChooser(&FontDialog::GetFont)
{
    CreateControls();
    FormCreate();
    m_constructed = true;
}

TSetuF::~TSetuF() = default;

// ---------------------------------------------------------------------------------------
// Layout

void TSetuF::CreateControls()
{
    setObjectName(QStringLiteral("SetuF"));
    // A dialog border: not meant to be resized, kept above the other windows.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setSizeGripEnabled(false);
    setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
    setMinimumSize(DesignWidth, DesignHeight);
    resize(DesignWidth, DesignHeight);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(CreateSystemPage(), QStringLiteral("システム"));
    m_pages->addTab(CreateScoreGrid(1), QStringLiteral("干"));
    m_pages->addTab(CreateScoreGrid(2), QStringLiteral("支"));
    m_pages->addTab(CreateScoreGrid(3), QStringLiteral("九星"));
    m_pages->setCurrentIndex(0);

    m_bottom = new QWidget(this);
    m_bottom->setObjectName(QStringLiteral("Panel1"));

    m_defBtn = new QPushButton(QStringLiteral("初期値"), m_bottom);
    m_defBtn->setObjectName(QStringLiteral("DefBtn"));
    m_defBtn->setGeometry(8, 5, 75, 25);
    m_defBtn->setVisible(false);
    connect(m_defBtn, &QPushButton::clicked, this, &TSetuF::DefBtnClick);

    m_okBtn = new QPushButton(QStringLiteral("OK"), m_bottom);
    m_okBtn->setObjectName(QStringLiteral("OKBtn"));
    m_okBtn->setDefault(true);
    m_okBtn->setAutoDefault(true);
    connect(m_okBtn, &QPushButton::clicked, this, &QDialog::accept);

    m_cancelBtn = new QPushButton(QStringLiteral("キャンセル"), m_bottom);
    m_cancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    m_cancelBtn->setAutoDefault(false);
    connect(m_cancelBtn, &QPushButton::clicked, this, &TSetuF::CancelBtnClick);

    m_helpBtn = new QPushButton(QStringLiteral("ヘルプ(&H)"), m_bottom);
    m_helpBtn->setObjectName(QStringLiteral("HelpBtn"));
    m_helpBtn->setAutoDefault(false);
    connect(m_helpBtn, &QPushButton::clicked, this, &TSetuF::HelpBtnClick);

    setTabOrder(m_pages, m_okBtn);
    setTabOrder(m_okBtn, m_cancelBtn);
    setTabOrder(m_cancelBtn, m_helpBtn);
    LayoutChildren();
}

QWidget* TSetuF::CreateSystemPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));

    // The top row is two check boxes high, for the two game switches beside the sounds; the
    // frames below are a little tighter to make room for it.
    auto* sound = new QGroupBox(QStringLiteral("Sound 設定"), page);
    sound->setObjectName(QStringLiteral("GroupBox1"));
    sound->setGeometry(8, 6, 153, 64);
    m_cb1 = new QCheckBox(QStringLiteral("音を鳴らす"), sound);
    m_cb1->setObjectName(QStringLiteral("CB1"));
    m_cb1->setGeometry(12, 20, 130, 18);
    m_cb1->setChecked(true);
    connect(m_cb1, &QCheckBox::toggled, this, [this](bool on) { m_model.Options().soundOn = on; m_model.Session().OptionsEdited(); });

    // Beside the sound switch, in a frame of the same size.
    auto* game = new QGroupBox(QStringLiteral("ゲーム"), page);
    game->setObjectName(QStringLiteral("GroupBox4"));
    game->setGeometry(169, 6, 242, 64);
    m_cb4 = new QCheckBox(QStringLiteral("全部消せる盤面を配る"), game);
    m_cb4->setObjectName(QStringLiteral("CB4"));
    m_cb4->setGeometry(12, 20, 220, 18);
    m_cb4->setToolTip(QStringLiteral("次に配る盤から、最後の1組まで消せる並べ方になります"));
    connect(m_cb4, &QCheckBox::toggled, this, [this](bool on) { m_model.Options().solvableDeals = on; m_model.Session().OptionsEdited(); });
    m_cb6 = new QCheckBox(QStringLiteral("終了時のゲームを次に続ける"), game);
    m_cb6->setObjectName(QStringLiteral("CB6"));
    m_cb6->setGeometry(12, 40, 220, 18);
    m_cb6->setToolTip(QStringLiteral("終了したときの盤面と記録を、次に起動したときにそのまま続けます"));
    connect(m_cb6, &QCheckBox::toggled, this, [this](bool on) { m_model.Options().resumeGame = on; m_model.Session().OptionsEdited(); });

    auto* font = new QGroupBox(QStringLiteral("フォント"), page);
    font->setObjectName(QStringLiteral("GroupBox2"));
    font->setGeometry(8, 74, 403, 56);
    m_fontPnl = new Panel(font);
    m_fontPnl->setObjectName(QStringLiteral("FontPnl"));
    m_fontPnl->setGeometry(12, 20, 30, 30);
    m_fontPnl->SetBevelOuter(bvRaised);
    m_fontPnl->SetBevelWidth(2);
    m_fontPnl->SetCaption(QStringLiteral("Ａ"));
    m_fontPnl->setFont(AppInfo::DefaultBoardFont());
    m_fontPnl->setCursor(Qt::PointingHandCursor);
    m_fontPnl->setToolTip(QStringLiteral("盤面のフォントを選びます"));
    // The keyboard opens the font dialog on it too (Space, Enter), as a click does.
    m_fontPnl->setFocusPolicy(Qt::StrongFocus);
    m_fontPnl->installEventFilter(this);
    m_fontL = new QLabel(QStringLiteral("甲乙丙丁　子丑寅卯 一二三四"), font);
    m_fontL->setObjectName(QStringLiteral("FontL"));
    m_fontL->move(52, 23);
    m_fontL->setFont(AppInfo::DefaultBoardFont());
    m_fontL->adjustSize();

    auto* warning = new QGroupBox(QStringLiteral("やりすぎ警告"), page);
    warning->setObjectName(QStringLiteral("GroupBox3"));
    warning->setGeometry(8, 134, 403, 92);
    m_timeE = new TEditEx(warning);
    m_timeE->setObjectName(QStringLiteral("TimeE"));
    m_timeE->setGeometry(12, 20, 41, 24);
    m_timeE->SetAlignment(taRightJustify);
    m_timeE->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_timeE->setFont(AppInfo::WindowFont(AppInfo::PGothic, -16));
    m_timeE->SetText(QStringLiteral("30"));
    // Unnamed, a box in a frame is read by the frame's title.
    m_timeE->setAccessibleName(QStringLiteral("警告までの分数"));
    connect(m_timeE, &QLineEdit::textChanged, this, [this] { m_model.Options().warningMinutes = m_timeE->Text(); m_model.Session().OptionsEdited(); });
    auto* minutes = new QLabel(QStringLiteral("分"), warning);
    minutes->setObjectName(QStringLiteral("Label1"));
    minutes->move(58, 26);
    minutes->adjustSize();
    auto* note = new QLabel(QStringLiteral("※1～59分までが有効です。"), warning);
    note->setObjectName(QStringLiteral("Label2"));
    note->move(84, 26);
    note->adjustSize();
    m_cb3 = new QCheckBox(QStringLiteral("経過時間を表示する。"), warning);
    m_cb3->setObjectName(QStringLiteral("CB3"));
    m_cb3->setGeometry(12, 48, 200, 18);
    connect(m_cb3, &QCheckBox::toggled, this, [this](bool on) { m_model.Options().showElapsed = on; m_model.Session().OptionsEdited(); });
    m_cb2 = new QCheckBox(QStringLiteral("警告時に終了する。"), warning);
    m_cb2->setObjectName(QStringLiteral("CB2"));
    m_cb2->setGeometry(12, 68, 200, 18);
    connect(m_cb2, &QCheckBox::toggled, this, [this](bool on) { m_model.Options().quitOnWarning = on; m_model.Session().OptionsEdited(); });

    CreateColoursBox(warning);

    QWidget::setTabOrder(m_cb1, m_cb4);
    QWidget::setTabOrder(m_cb4, m_cb6);
    QWidget::setTabOrder(m_cb6, m_fontPnl);
    QWidget::setTabOrder(m_fontPnl, m_timeE);
    QWidget::setTabOrder(m_timeE, m_cb3);
    QWidget::setTabOrder(m_cb3, m_cb2);
    QWidget::setTabOrder(m_cb2, m_cb5);
    return page;
}

void TSetuF::CreateColoursBox(QWidget* warning)
{
    // The page has no room left below its three frames, so the colours take the empty
    // lower right of the warning's frame, in a frame of their own that says they are
    // something else.
    auto* colours = new QGroupBox(QStringLiteral("配色"), warning);
    colours->setObjectName(QStringLiteral("GroupBox5"));
    // A frame inside a frame is read by the outer one's title unless named.
    colours->setAccessibleName(QStringLiteral("配色"));
    colours->setGeometry(214, 40, 183, 48);
    m_cb5 = new QCheckBox(QStringLiteral("デスクトップの配色を使う"), colours);
    m_cb5->setObjectName(QStringLiteral("CB5"));
    m_cb5->setGeometry(8, 22, 171, 18);
    m_cb5->setToolTip(QStringLiteral("デスクトップのテーマの色で表示します"));
    // Live like every other setting; キャンセル reloads the stored choice and so switches back.
    connect(m_cb5, &QCheckBox::toggled, this, [this](bool on) {
        m_model.Options().desktopColors = on;
        m_model.Session().OptionsEdited();
        AppColors::Apply(on);
    });
}

TStringGrid* TSetuF::CreateScoreGrid(int kind)
{
    auto* grid = new TStringGrid(m_model.ScoreTable(kind));
    grid->setObjectName(QStringLiteral("SG%1").arg(kind));
    grid->SetDefaultRowHeight(16);
    grid->SetColWidths({25, 25, 25, 312});
    grid->Grid()->SetFixedRows(1);
    grid->Grid()->SetFixedCols(2);
    grid->SetEditing(true);
    grid->SetDrawCell([grid](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState) {
        painter.fillRect(rect, painter.brush());
        TStringGrid::DrawCellText(painter, rect, grid->Grid()->Cell(col, row), ScoreColumnAlignment(col));
    });
    m_sg[kind - 1] = grid;
    return grid;
}

// ---------------------------------------------------------------------------------------
// Live settings

bool TSetuF::SoundOn() const { return m_cb1->isChecked(); }
bool TSetuF::QuitOnWarning() const { return m_cb2->isChecked(); }
bool TSetuF::ShowElapsed() const { return m_cb3->isChecked(); }
bool TSetuF::SolvableDeals() const { return m_cb4->isChecked(); }
bool TSetuF::DesktopColors() const { return m_cb5->isChecked(); }
bool TSetuF::ResumeGame() const { return m_cb6->isChecked(); }
QString TSetuF::WarningMinutesText() const { return m_timeE->Text(); }

TextGrid* TSetuF::ScoreTable(int kind) const
{
    return m_model.ScoreTable(kind);
}

TStringGrid* TSetuF::SG(int kind) const
{
    return kind >= 1 && kind <= 3 ? m_sg[kind - 1] : nullptr;
}

QFont TSetuF::BoardFont() const { return m_fontL->font(); }
ColorValue TSetuF::BoardFontColor() const { return m_model.Options().boardFontColor; }

void TSetuF::ShowBoardFont()
{
    const LiveOptions& options = m_model.Options();
    m_fontL->setFont(options.boardFont);
    QPalette palette = m_fontL->palette();
    palette.setColor(QPalette::WindowText, SysColors::ToQColor(options.boardFontColor));
    m_fontL->setPalette(palette);
    m_fontL->adjustSize();
}

void TSetuF::ShowOptions()
{
    const LiveOptions options = m_model.Options();
    m_cb1->setChecked(options.soundOn);
    m_cb2->setChecked(options.quitOnWarning);
    m_cb3->setChecked(options.showElapsed);
    m_timeE->SetText(options.warningMinutes);
    m_cb4->setChecked(options.solvableDeals);
    m_cb5->setChecked(options.desktopColors);
    m_cb6->setChecked(options.resumeGame);
}

void TSetuF::SetFontChooser(FontChooser chooser)
{
    m_fontChooser = chooser ? std::move(chooser) : FontChooser(&FontDialog::GetFont);
}

void TSetuF::SetMessageHook(MessageHook hook)
{
    MessageHookSlot() = std::move(hook);
}

void TSetuF::Notify(QWidget* parent, const QString& text)
{
    if (MessageHookSlot())
        MessageHookSlot()(parent, text);
    else
        Notice::Show(parent, text, QMessageBox::Warning);
}

// ---------------------------------------------------------------------------------------
// Handlers

void TSetuF::FormCreate()
{
    setWindowTitle(QStringLiteral("設定"));
    m_model.ReadScoreTables();
    const QString unread = m_model.ReadSettings(Keys::Owner::Options);
    ShowOptions();
    m_model.Session().OptionsEdited();
    ShowBoardFont();
    if (unread.isEmpty())
        return;
    if (m_constructed)
        Notify(this, unread);
    else
        QTimer::singleShot(0, this, [this, unread] { Notify(this, unread); });
}

void TSetuF::FormClose()
{
    // One table that cannot be written must not cost the others or the settings: every
    // step is tried, and what was lost is reported once at the end.
    const QStringList lost = m_model.WriteScoreTables();
    const QString unwritten = m_model.WriteSettings(Keys::Owner::Options);
    QStringList parts;
    if (!lost.isEmpty())
        parts << QStringLiteral("次のファイルを保存できませんでした。\n") + lost.join(QLatin1Char('\n'));
    if (!unwritten.isEmpty())
        parts << unwritten;
    if (!parts.isEmpty())
        Notify(this, parts.join(QStringLiteral("\n\n")));
}

void TSetuF::CancelBtnClick()
{
    FormCreate();
    reject();
}

void TSetuF::HelpBtnClick()
{
    ShowHelp(this, Help::Contents);
}

void TSetuF::DefBtnClick()
{
    for (int kind = 1; kind <= 3; ++kind)
        ScoreTables::FillDefaults(kind, *m_model.ScoreTable(kind));
}

void TSetuF::FontPnlMouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/)
{
    QFont font = m_fontL->font();
    ColorValue color = m_model.Options().boardFontColor;
    if (!m_fontChooser || !m_fontChooser(this, font, color))
        return;
    // The board takes the font at once; it is the board font from now on, so a later
    // キャンセル keeps it.
    m_model.Session().SetBoardFont(font, color);
    ShowBoardFont();
}

void TSetuF::FormResize()
{
    const int w = qMax(width(), DesignWidth);
    const int h = qMax(height(), DesignHeight);
    if (w != width() || h != height())
        resize(w, h);
}

// ---------------------------------------------------------------------------------------
// Events

void TSetuF::done(int result)
{
    // OK, キャンセル, Esc and the close box all end here; the guard keeps a nested close
    // (a notice that closes us again) from saving twice.
    if (!m_closing) {
        m_closing = true;
        FormClose();
        m_closing = false;
    }
    QDialog::done(result);
}

void TSetuF::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // The program's colours changed: a system colour of the sample label resolves anew.
    if (event->type() == QEvent::PaletteChange)
        ShowBoardFont();
}

void TSetuF::keyPressEvent(QKeyEvent* event)
{
    // Esc is the キャンセル button, reload included, not a bare reject.
    if (event->matches(QKeySequence::Cancel)) {
        m_cancelBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSetuF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

void TSetuF::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
    LayoutChildren();
}

void TSetuF::LayoutChildren()
{
    m_pages->setGeometry(0, 0, width(), height() - BottomHeight);
    m_bottom->setGeometry(0, height() - BottomHeight, width(), BottomHeight);
    // The buttons keep to the right edge, as laid out for the design width.
    const int right = width();
    m_helpBtn->setGeometry(right - 83, 5, 75, 25);
    m_cancelBtn->setGeometry(right - 163, 5, 75, 25);
    m_okBtn->setGeometry(right - 243, 5, 75, 25);
}

bool TSetuF::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_fontPnl && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        FontPnlMouseDown(ShiftState::ButtonCode(mouse->button()), ShiftState::FromEvent(*mouse), at.x(), at.y());
        return true;
    }
    if (watched == m_fontPnl && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            FontPnlMouseDown(0, ShiftState::ssLeft, 0, 0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
