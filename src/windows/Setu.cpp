// SPDX-License-Identifier: MIT
#include "Setu.h"

// Qt
#include <QBoxLayout>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
// own
#include "AppInfo.h"
#include "CtrlsEx.h"
#include "FontDialog.h"
#include "HelpViewer.h"
#include "Panel.h"
#include "ScoreTables.h"
#include "ShiftState.h"
#include "StringGrid.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"

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

TSetuF::TSetuF(const QString& programFolder, const QFont& boardFont, ColorValue boardFontColor, QWidget* parent)
    : QDialog(parent)
    , m_folder(programFolder)
    , m_boardFont(boardFont)
    , m_boardFontColor(boardFontColor)
    , m_fontLColor(boardFontColor)
    , m_fontChooser(&FontDialog::GetFont)
{
    if (!m_folder.isEmpty() && !m_folder.endsWith(QLatin1Char('/')) && !m_folder.endsWith(QDir::separator()))
        m_folder += QDir::separator();
    CreateControls();
    FormCreate();
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

    // The top row is two check boxes high, for the two game switches beside the sounds.
    auto* sound = new QGroupBox(QStringLiteral("Sound 設定"), page);
    sound->setObjectName(QStringLiteral("GroupBox1"));
    sound->setGeometry(8, 6, 153, 70);
    m_cb1 = new QCheckBox(QStringLiteral("音を鳴らす"), sound);
    m_cb1->setObjectName(QStringLiteral("CB1"));
    m_cb1->setGeometry(12, 22, 130, 18);
    m_cb1->setChecked(true);

    // Beside the sound switch, in a frame of the same size.
    auto* game = new QGroupBox(QStringLiteral("ゲーム"), page);
    game->setObjectName(QStringLiteral("GroupBox4"));
    game->setGeometry(169, 6, 242, 70);
    m_cb4 = new QCheckBox(QStringLiteral("全部消せる盤面を配る"), game);
    m_cb4->setObjectName(QStringLiteral("CB4"));
    m_cb4->setGeometry(12, 22, 220, 18);
    m_cb4->setToolTip(QStringLiteral("次に配る盤から、最後の1組まで消せる並べ方になります"));
    m_cb5 = new QCheckBox(QStringLiteral("終了時のゲームを次に続ける"), game);
    m_cb5->setObjectName(QStringLiteral("CB5"));
    m_cb5->setGeometry(12, 44, 220, 18);
    m_cb5->setToolTip(QStringLiteral("終了したときの盤面と記録を、次に起動したときにそのまま続けます"));

    auto* font = new QGroupBox(QStringLiteral("フォント"), page);
    font->setObjectName(QStringLiteral("GroupBox2"));
    font->setGeometry(8, 80, 403, 60);
    m_fontPnl = new Panel(font);
    m_fontPnl->setObjectName(QStringLiteral("FontPnl"));
    m_fontPnl->setGeometry(12, 22, 30, 30);
    m_fontPnl->SetBevelOuter(bvRaised);
    m_fontPnl->SetBevelWidth(2);
    m_fontPnl->SetCaption(QStringLiteral("Ａ"));
    m_fontPnl->setFont(AppInfo::DefaultBoardFont());
    m_fontPnl->setCursor(Qt::PointingHandCursor);
    m_fontPnl->setToolTip(QStringLiteral("盤面のフォントを選びます"));
    m_fontPnl->installEventFilter(this);
    m_fontL = new QLabel(QStringLiteral("甲乙丙丁　子丑寅卯 一二三四"), font);
    m_fontL->setObjectName(QStringLiteral("FontL"));
    m_fontL->move(52, 25);
    m_fontL->setFont(AppInfo::DefaultBoardFont());
    m_fontL->adjustSize();

    auto* warning = new QGroupBox(QStringLiteral("やりすぎ警告"), page);
    warning->setObjectName(QStringLiteral("GroupBox3"));
    warning->setGeometry(8, 144, 403, 78);
    m_timeE = new TEditEx(warning);
    m_timeE->setObjectName(QStringLiteral("TimeE"));
    m_timeE->setGeometry(12, 22, 41, 24);
    m_timeE->SetAlignment(taRightJustify);
    m_timeE->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_timeE->setFont(AppInfo::WindowFont(AppInfo::PGothic, -16));
    m_timeE->SetText(QStringLiteral("30"));
    auto* minutes = new QLabel(QStringLiteral("分"), warning);
    minutes->setObjectName(QStringLiteral("Label1"));
    minutes->move(58, 28);
    minutes->adjustSize();
    auto* note = new QLabel(QStringLiteral("※1～59分までが有効です。"), warning);
    note->setObjectName(QStringLiteral("Label2"));
    note->move(84, 28);
    note->adjustSize();
    m_cb3 = new QCheckBox(QStringLiteral("経過時間を表示する。"), warning);
    m_cb3->setObjectName(QStringLiteral("CB3"));
    // The two switches side by side, to leave room for the row above.
    m_cb3->setGeometry(12, 54, 180, 18);
    m_cb2 = new QCheckBox(QStringLiteral("警告時に終了する。"), warning);
    m_cb2->setObjectName(QStringLiteral("CB2"));
    m_cb2->setGeometry(200, 54, 190, 18);

    QWidget::setTabOrder(m_cb1, m_cb4);
    QWidget::setTabOrder(m_cb4, m_cb5);
    QWidget::setTabOrder(m_cb5, m_timeE);
    QWidget::setTabOrder(m_timeE, m_cb3);
    QWidget::setTabOrder(m_cb3, m_cb2);
    return page;
}

TStringGrid* TSetuF::CreateScoreGrid(int kind)
{
    auto* grid = new TStringGrid(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
    grid->setObjectName(QStringLiteral("SG%1").arg(kind));
    grid->SetDefaultRowHeight(16);
    grid->SetColWidths({25, 25, 25, 312});
    grid->SetFixedRows(1);
    grid->SetFixedCols(2);
    grid->SetEditing(true);
    grid->SetDrawCell([grid](QPainter& painter, int col, int row, const QRect& rect, TStringGrid::CellState) {
        painter.fillRect(rect, painter.brush());
        TStringGrid::DrawCellText(painter, rect, grid->Cell(col, row), ScoreColumnAlignment(col));
    });
    m_sg[kind - 1] = grid;
    m_slots[kind] = grid->Grid();
    return grid;
}

// ---------------------------------------------------------------------------------------
// Live settings

bool TSetuF::SoundOn() const { return m_cb1->isChecked(); }
bool TSetuF::QuitOnWarning() const { return m_cb2->isChecked(); }
bool TSetuF::ShowElapsed() const { return m_cb3->isChecked(); }
bool TSetuF::SolvableDeals() const { return m_cb4->isChecked(); }
bool TSetuF::ResumeGame() const { return m_cb5->isChecked(); }
QString TSetuF::WarningMinutesText() const { return m_timeE->Text(); }

TextGrid* TSetuF::ScoreTable(int kind) const
{
    return kind >= 1 && kind <= 3 ? m_sg[kind - 1]->Grid() : nullptr;
}

TStringGrid* TSetuF::SG(int kind) const
{
    return kind >= 1 && kind <= 3 ? m_sg[kind - 1] : nullptr;
}

QFont TSetuF::BoardFont() const { return m_fontL->font(); }
ColorValue TSetuF::BoardFontColor() const { return m_fontLColor; }

void TSetuF::SetBoardFont(const QFont& font, ColorValue color)
{
    m_boardFont = font;
    m_boardFontColor = color;
    SetFontLFont(font, color);
}

void TSetuF::SetFontLFont(const QFont& font, ColorValue color)
{
    m_fontL->setFont(font);
    m_fontLColor = color;
    QPalette palette = m_fontL->palette();
    palette.setColor(QPalette::WindowText, SysColors::ToQColor(color));
    m_fontL->setPalette(palette);
    m_fontL->adjustSize();
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
        QMessageBox::warning(parent, AppInfo::Title, text);
}

// ---------------------------------------------------------------------------------------
// Table slots and files

void TSetuF::SetRankingGrid(TextGrid* grid)
{
    m_rankingGrid = grid;
    m_slots[RankingSlot] = grid;
}

TextGrid* TSetuF::Slot(int slot) const
{
    return slot >= 0 && slot < SlotCount ? m_slots[slot].data() : nullptr;
}

bool TSetuF::LoadTableFile(int slot, const QString& fileName)
{
    TextGrid* grid = Slot(slot);
    if (!grid)
        return false;
    return TableFile::Load(*grid, m_folder + fileName) == TableFile::LoadResult::Loaded;
}

bool TSetuF::SaveTableFile(int slot, const QString& fileName, QString* errorText)
{
    TextGrid* grid = Slot(slot);
    if (!grid)
        return true;
    return TableFile::Save(*grid, m_folder + fileName, errorText);
}

// ---------------------------------------------------------------------------------------
// Handlers

void TSetuF::FormCreate()
{
    setWindowTitle(QStringLiteral("設定"));

    m_slots[RankingSlot] = m_rankingGrid;
    for (int kind = 1; kind <= 3; ++kind)
        m_slots[kind] = m_sg[kind - 1]->Grid();

    for (int kind = 1; kind <= 3; ++kind)
        m_sg[kind - 1]->SetRowCount(ScoreTables::InitialRowCount(kind));
    for (int kind = 1; kind <= 3; ++kind)
        LoadTableFile(kind, ScoreTables::FileName(kind));

    ReadSettings();

    SetFontLFont(m_boardFont, m_boardFontColor);
}

void TSetuF::ReadSettings()
{
    SettingsStore store = OpenStore(Keys::Root);
    m_cb1->setChecked(store.ReadFlag(Keys::Wav::CB1));
    m_cb2->setChecked(store.ReadFlag(Keys::Set::CB2));
    m_cb3->setChecked(store.ReadFlag(Keys::Set::CB3));
    m_timeE->SetText(store.ReadText(Keys::Set::TimeE));
    m_cb4->setChecked(store.ReadFlag(Keys::Set::Solvable));
    m_cb5->setChecked(store.ReadFlag(Keys::Set::Resume));
    if (store.HasErrors())
        Notify(this, store.ErrorMessage());
}

void TSetuF::FormClose()
{
    // One table that cannot be written must not cost the others or the settings: every
    // step is tried, and what was lost is reported once at the end.
    QStringList lost;
    for (int kind = 1; kind <= 3; ++kind) {
        const QString name = ScoreTables::FileName(kind);
        QString why;
        if (!SaveTableFile(kind, name, &why))
            lost << QStringLiteral("%1%2（%3）").arg(m_folder, name, why);
    }

    SettingsStore store = OpenStore(Keys::Root);
    store.WriteFlag(Keys::Wav::CB1, m_cb1->isChecked());
    store.WriteFlag(Keys::Set::CB2, m_cb2->isChecked());
    store.WriteFlag(Keys::Set::CB3, m_cb3->isChecked());
    store.WriteText(Keys::Set::TimeE, m_timeE->Text());
    store.WriteFlag(Keys::Set::Solvable, m_cb4->isChecked());
    store.WriteFlag(Keys::Set::Resume, m_cb5->isChecked());

    QStringList parts;
    if (!lost.isEmpty())
        parts << QStringLiteral("次のファイルを保存できませんでした。\n") + lost.join(QLatin1Char('\n'));
    if (store.HasErrors())
        parts << store.ErrorMessage();
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
        ScoreTables::FillDefaults(kind, *m_sg[kind - 1]->Grid());
}

void TSetuF::FontPnlMouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/)
{
    QFont font = m_fontL->font();
    ColorValue color = m_fontLColor;
    if (!m_fontChooser || !m_fontChooser(this, font, color))
        return;
    SetFontLFont(font, color);
    // The board takes the font at once; it is the board font from now on, so a later
    // キャンセル keeps it.
    m_boardFont = font;
    m_boardFontColor = color;
    if (m_applyBoardFont)
        m_applyBoardFont();
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
    return QDialog::eventFilter(watched, event);
}
