// SPDX-License-Identifier: MIT
// The options dialog as the player and the rest of the program meet it: what it reads at
// start-up, what each way of closing keeps or discards, the score tables' editing and
// files, the font button, the clearable-deal switch. The settings store is a temporary file and the program folder a
// temporary directory; notices are collected instead of shown.

#include "windows/AppStyle.h"
#include "windows/Setu.h"
#include "windows/Setu.h"

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "app/GameSession.h"
#include "windows/Main.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QGroupBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
// own
#include "controls/CtrlsEx.h"
#include "controls/Panel.h"
#include "controls/StringGrid.h"
#include "app/AppModel.h"
#include "platform/Cp932.h"
#include "platform/Registry.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <memory>
#include <vector>

namespace {

class SetuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + QLatin1Char('/');
        Registry::SetUserFileOverride(m_dir.filePath(QStringLiteral("registry.reg")));
        TSetuF::SetMessageHook([this](QWidget*, const QString& text) { m_messages << text; });
    }

    void TearDown() override
    {
        TSetuF::SetMessageHook({});
        Registry::SetUserFileOverride(QString());
    }

    // A dialog over a model of its own, as a start of the program makes them, with the
    // board font the main window would have loaded.
    std::unique_ptr<TSetuF> MakeDialog()
    {
        m_models.push_back(std::make_unique<AppModel>(m_folder));
        QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
        font.setPixelSize(24);
        m_models.back()->Options().boardFont = font;
        m_models.back()->Options().boardFontColor = SysColors::clWindowText;
        return std::make_unique<TSetuF>(*m_models.back());
    }

    void WriteFile(const QString& name, const QByteArray& bytes) { WriteAll(m_folder + name, bytes); }

    QByteArray ReadFile(const QString& name) { return ReadAll(m_folder + name); }

    static QString Stored(const Keys::Flag& key)
    {
        return OpenStore(Keys::Root).ReadText(key.section, key.ident, QStringLiteral("<absent>"));
    }

    QTemporaryDir m_dir;
    QString m_folder;
    std::vector<std::unique_ptr<AppModel>> m_models;
    QStringList m_messages;
};

// The grid's open cell editor; closed editors linger hidden until they are deleted.
QLineEdit* OpenEditor(TStringGrid* grid)
{
    for (QLineEdit* edit : grid->viewport()->findChildren<QLineEdit*>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

// Types text into a score-table cell the way a player does, and ends the edit with Return.
void TypeIntoCell(TSetuF& dialog, int kind, int col, int row, const QString& keys)
{
    TStringGrid* grid = dialog.SG(kind);
    dialog.PageControl1()->setCurrentWidget(grid);
    const QModelIndex index = grid->model()->index(row, col);
    grid->setCurrentIndex(index);
    grid->edit(index);
    QLineEdit* editor = OpenEditor(grid);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    for (const QChar ch : keys) {
        // QTest only spells ASCII keys; anything else arrives as text, as an input method
        // would hand it over.
        QKeyEvent press(QEvent::KeyPress, ch.isDigit() ? Qt::Key_0 + ch.digitValue() : Qt::Key_unknown,
                        Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(editor, &press);
    }
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the edit through a queued call.
    QCoreApplication::processEvents();
}

} // namespace

TEST_F(SetuTest, FirstRunGivesTheDefaultsAndTheLayout)
{
    auto dialog = MakeDialog();
    EXPECT_TRUE(dialog->SoundOn());
    EXPECT_FALSE(dialog->QuitOnWarning());
    EXPECT_FALSE(dialog->ShowElapsed());
    EXPECT_EQ(dialog->WarningMinutesText(), QStringLiteral("30"));
    // Merely starting creates the root key.
    EXPECT_TRUE(Registry::User()->KeyExists(Keys::Root));

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("設定"));
    EXPECT_EQ(dialog->size(), QSize(427, 293));
    QTabWidget* pages = dialog->PageControl1();
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("システム"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("干"));
    EXPECT_EQ(pages->tabText(2), QStringLiteral("支"));
    EXPECT_EQ(pages->tabText(3), QStringLiteral("九星"));
    EXPECT_FALSE(dialog->DefBtn()->isVisibleTo(dialog.get()));
    EXPECT_TRUE(dialog->OKBtn()->isDefault());

    // No files: empty tables of the initial sizes, header row and symbol columns fixed.
    const int rows[] = {101, 145, 82};
    for (int kind = 1; kind <= 3; ++kind) {
        TextGrid* table = dialog->ScoreTable(kind);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->RowCount(), rows[kind - 1]);
        EXPECT_EQ(table->FixedRows(), 1);
        EXPECT_EQ(table->FixedCols(), 2);
        EXPECT_TRUE(table->Cell(0, 1).isEmpty());
    }
    EXPECT_EQ(dialog->ScoreTable(0), nullptr);
    EXPECT_EQ(dialog->ScoreTable(4), nullptr);

    // The dialog never shrinks below its layout.
    dialog->resize(200, 100);
    dialog->FormResize();
    EXPECT_EQ(dialog->size(), QSize(427, 293));
}

TEST_F(SetuTest, StoredFlagsAreReadAsNumbers)
{
    {
        SettingsStore store = OpenStore(Keys::Root);
        store.WriteText(QStringLiteral("Set"), QStringLiteral("CB3"), QStringLiteral("0x1"));
        store.WriteText(QStringLiteral("Set"), QStringLiteral("CB2"), QStringLiteral("yes"));
        store.WriteText(QStringLiteral("Wav"), QStringLiteral("CB1"), QStringLiteral("0"));
        store.WriteText(QStringLiteral("Set"), QStringLiteral("TimeE"), QStringLiteral("05"));
    }
    auto dialog = MakeDialog();
    EXPECT_TRUE(dialog->ShowElapsed());
    EXPECT_FALSE(dialog->QuitOnWarning()); // "yes" is no number: the default
    EXPECT_FALSE(dialog->SoundOn());
    EXPECT_EQ(dialog->WarningMinutesText(), QStringLiteral("05"));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(SetuTest, CloseBoxSavesLikeOkAndTheEditsSurviveARestart)
{
    {
        auto dialog = MakeDialog();
        dialog->show();
        TypeIntoCell(*dialog, 1, 2, 1, QStringLiteral("7"));
        dialog->ScoreTable(3)->SetCell(3, 5, QStringLiteral("比和"));
        dialog->CB3()->setChecked(true);
        dialog->CB1()->setChecked(false);
        dialog->TimeE()->SetText(QStringLiteral("45"));
        dialog->close();
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_EQ(Stored(Keys::Set::CB3), QStringLiteral("1"));
    EXPECT_EQ(Stored(Keys::Wav::CB1), QStringLiteral("0"));
    EXPECT_EQ(Stored(Keys::Set::CB2), QStringLiteral("0"));
    EXPECT_EQ(OpenStore(Keys::Root).ReadText(Keys::Set::TimeE), QStringLiteral("45"));
    const QByteArray sg1 = ReadFile(QStringLiteral("SG1.dat"));
    EXPECT_TRUE(sg1.startsWith(",,,,\r\n,,7,,\r\n,,,,\r\n")) << sg1.left(40).toStdString();
    EXPECT_EQ(sg1.count("\r\n"), 101);

    auto again = MakeDialog();
    EXPECT_EQ(again->ScoreTable(1)->Cell(2, 1), QStringLiteral("7"));
    EXPECT_EQ(again->ScoreTable(3)->Cell(3, 5), QStringLiteral("比和"));
    EXPECT_TRUE(again->ShowElapsed());
    EXPECT_FALSE(again->SoundOn());
    EXPECT_EQ(again->WarningMinutesText(), QStringLiteral("45"));
}

TEST_F(SetuTest, CancelAndEscDiscardEditsAndReloadTheSettings)
{
    WriteFile(QStringLiteral("SG1.dat"), Cp932::Encode(QStringLiteral(",,,,\r\n甲,甲,3,主気,\r\n甲,乙,3,主気,\r\n")));
    auto dialog = MakeDialog();
    ASSERT_EQ(dialog->ScoreTable(1)->RowCount(), 3);

    for (int round = 0; round < 2; ++round) {
        dialog->show();
        TypeIntoCell(*dialog, 1, 2, 1, QStringLiteral("99"));
        ASSERT_EQ(dialog->ScoreTable(1)->Cell(2, 1), QStringLiteral("99"));
        dialog->ScoreTable(2)->SetCell(3, 1, QStringLiteral("edited"));
        dialog->CB1()->setChecked(false);
        dialog->CB3()->setChecked(true);
        dialog->TimeE()->SetText(QStringLiteral("10"));

        if (round == 0)
            QTest::mouseClick(dialog->CancelBtn(), Qt::LeftButton);
        else
            QTest::keyClick(dialog.get(), Qt::Key_Escape);

        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->ScoreTable(1)->Cell(2, 1), QStringLiteral("3"));
        EXPECT_EQ(dialog->ScoreTable(1)->RowCount(), 3);
        EXPECT_TRUE(dialog->SoundOn());
        EXPECT_FALSE(dialog->ShowElapsed());
        EXPECT_EQ(dialog->WarningMinutesText(), QStringLiteral("30"));
        // A table without a file has nothing to reload from: its edit stays, and the close
        // after the reload saves it.
        EXPECT_EQ(dialog->ScoreTable(2)->Cell(3, 1), QStringLiteral("edited"));
        EXPECT_TRUE(ReadFile(QStringLiteral("SG1.dat")).contains(Cp932::Encode(QStringLiteral("甲,甲,3,主気,"))));
        EXPECT_EQ(Stored(Keys::Wav::CB1), QStringLiteral("1"));
        EXPECT_EQ(Stored(Keys::Set::CB3), QStringLiteral("0"));
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(SetuTest, DesktopColoursSwitchLiveAreStoredAndCancelPutsTheStoredChoiceBack)
{
    const QPalette saved = QApplication::palette();
    QPalette dark(QColor(0xE0, 0xE0, 0xE0), QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Window, QColor(0x28, 0x28, 0x28));
    AppColors::SetDesktopPalette(dark);
    AppColors::Apply(false);
    auto dialog = MakeDialog();
    QCheckBox* cb5 = dialog->CB5();
    EXPECT_EQ(cb5->text(), QStringLiteral("デスクトップの配色を使う"));
    EXPECT_FALSE(dialog->DesktopColors());
    // Its frame sits in the empty corner of the warning's frame, clear of every control there.
    auto* warning = dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox3"));
    auto* colours = cb5->parentWidget();
    ASSERT_TRUE(warning && colours->parentWidget() == warning);
    EXPECT_TRUE(warning->rect().contains(colours->geometry()));
    for (QWidget* control : warning->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != colours)
            EXPECT_FALSE(control->geometry().intersects(colours->geometry())) << control->objectName().toStdString();
    }

    dialog->show();
    cb5->setChecked(true);
    EXPECT_TRUE(SysColors::DesktopColorsInUse());
    EXPECT_EQ(SysColors::ToQColor(SysColors::clBtnFace), dark.color(QPalette::Button));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), dark.color(QPalette::Window));
    QTest::mouseClick(dialog->CancelBtn(), Qt::LeftButton);
    EXPECT_FALSE(dialog->DesktopColors());
    EXPECT_FALSE(SysColors::DesktopColorsInUse());
    EXPECT_EQ(SysColors::ToRgbValue(SysColors::clBtnFace), SysColors::clSilver);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), SysColors::ToQColor(SysColors::clSilver));
    EXPECT_EQ(Stored(Keys::Set::DesktopColors), QStringLiteral("0"));

    dialog->show();
    cb5->setChecked(true);
    dialog->OKBtn()->click();
    EXPECT_EQ(Stored(Keys::Set::DesktopColors), QStringLiteral("1"));
    EXPECT_TRUE(MakeDialog()->DesktopColors());

    SysColors::UseClassicColors();
    QApplication::setPalette(saved);
}

TEST_F(SetuTest, TableThatCannotBeWrittenCostsNothingElseAndIsReportedOnce)
{
    // A directory where SG2.dat should be: it cannot be read or written, whoever runs.
    ASSERT_TRUE(QDir(m_folder).mkdir(QStringLiteral("SG2.dat")));
    auto dialog = MakeDialog();
    EXPECT_EQ(dialog->ScoreTable(2)->RowCount(), 145);

    dialog->show();
    dialog->ScoreTable(1)->SetCell(3, 1, QStringLiteral("一"));
    dialog->ScoreTable(2)->SetCell(3, 1, QStringLiteral("二"));
    dialog->ScoreTable(3)->SetCell(3, 1, QStringLiteral("三"));
    dialog->CB2()->setChecked(true);
    dialog->accept();

    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("SG2.dat")));
    EXPECT_FALSE(m_messages[0].contains(QStringLiteral("SG1.dat")));
    EXPECT_FALSE(m_messages[0].contains(QStringLiteral("SG3.dat")));
    EXPECT_TRUE(ReadFile(QStringLiteral("SG1.dat")).contains(Cp932::Encode(QStringLiteral(",,,一,"))));
    EXPECT_TRUE(ReadFile(QStringLiteral("SG3.dat")).contains(Cp932::Encode(QStringLiteral(",,,三,"))));
    EXPECT_EQ(Stored(Keys::Set::CB2), QStringLiteral("1"));
    EXPECT_TRUE(QFileInfo(m_folder + QStringLiteral("SG2.dat")).isDir());

    // Every closing reports again, once.
    dialog->show();
    dialog->close();
    EXPECT_EQ(m_messages.size(), 2);
}

TEST_F(SetuTest, TypedCommaAndEditsReachTheTableAtOnce)
{
    auto dialog = MakeDialog();
    dialog->show();
    TypeIntoCell(*dialog, 2, 3, 4, QStringLiteral("生,気"));
    EXPECT_EQ(dialog->ScoreTable(2)->Cell(3, 4), QStringLiteral("生気"));
    TypeIntoCell(*dialog, 2, 2, 4, QStringLiteral("-5"));
    EXPECT_EQ(dialog->ScoreTable(2)->Cell(2, 4), QStringLiteral("-5"));
    // The symbol columns are fixed: no editor opens on them.
    TStringGrid* grid = dialog->SG(2);
    grid->edit(grid->model()->index(4, 0));
    EXPECT_EQ(OpenEditor(grid), nullptr);
}

TEST_F(SetuTest, CellsAreDrawnCentredRightAndLeft)
{
    auto dialog = MakeDialog();
    dialog->DefBtnClick();
    TStringGrid* grid = dialog->SG(1);
    dialog->PageControl1()->setCurrentWidget(grid);
    dialog->show();
    QImage image(grid->size(), QImage::Format_RGB32);
    grid->render(&image);

    // The leftmost and rightmost dark pixel inside a cell's rectangle.
    auto inkSpan = [&](int col, int row) {
        const QRect r = grid->CellRect(col, row);
        int first = -1, last = -1;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(image.pixel(x, y)) < 100) {
                    if (first < 0)
                        first = x - r.left();
                    last = r.right() - x;
                    break;
                }
        return std::pair{first, last};
    };
    const auto [symbolLeft, symbolRight] = inkSpan(0, 1);
    EXPECT_LE(std::abs(symbolLeft - symbolRight), 3) << symbolLeft << " " << symbolRight;
    const auto [pointsLeft, pointsRight] = inkSpan(2, 1); // "3", right-aligned
    EXPECT_GT(pointsLeft, pointsRight + 5) << pointsLeft << " " << pointsRight;
    const auto [textLeft, textRight] = inkSpan(3, 1); // "主気", left-aligned
    EXPECT_LE(textLeft, 2);
    EXPECT_GT(textRight, 200);
}

TEST_F(SetuTest, FontButtonChoosesTheBoardFontAndCancelKeepsIt)
{
    auto dialog = MakeDialog();
    int applied = 0;
    QObject::connect(&m_models.back()->Session(), &GameSession::BoardFontChanged, [&] { ++applied; });
    QFont chosen(QStringLiteral("ＭＳ 明朝"));
    chosen.setPixelSize(30);
    chosen.setUnderline(true);
    int asked = 0;
    dialog->SetFontChooser([&](QWidget*, QFont& font, ColorValue& color) {
        ++asked;
        EXPECT_EQ(font.pixelSize(), 24); // preset with the sample label's font
        EXPECT_EQ(color, SysColors::clWindowText);
        font = chosen;
        color = SysColors::clRed;
        return true;
    });

    dialog->show();
    QTest::mousePress(dialog->FontPnl(), Qt::RightButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(dialog->BoardFont().family(), chosen.family());
    EXPECT_EQ(dialog->BoardFont().pixelSize(), 30);
    EXPECT_TRUE(dialog->BoardFont().underline());
    EXPECT_EQ(dialog->BoardFontColor(), SysColors::clRed);
    EXPECT_EQ(dialog->FontL()->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    dialog->CancelBtnClick();
    EXPECT_EQ(dialog->BoardFont().pixelSize(), 30);
    EXPECT_EQ(dialog->BoardFontColor(), SysColors::clRed);

    // A cancelled font dialog changes nothing.
    dialog->SetFontChooser([&](QWidget*, QFont& font, ColorValue& color) {
        font = QFont();
        color = SysColors::clBlue;
        return false;
    });
    dialog->FontPnlMouseDown(0, 8, 5, 5);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(dialog->BoardFontColor(), SysColors::clRed);
    EXPECT_EQ(dialog->BoardFont().pixelSize(), 30);
}

// The clearable-deal switch: off at first, read live by the deal, stored when the dialog
// closes, and read before the first deal of the next start.
TEST_F(SetuTest, TheClearableSwitchIsOffAtFirstStoredOnCloseAndReadLive)
{
    {
        AppWindows windows(m_dir.path());
        TSetuF& setu = windows.Setu();
        QCheckBox* box = setu.CB4();
        EXPECT_EQ(box->text(), QStringLiteral("全部消せる盤面を配る"));
        EXPECT_FALSE(box->isChecked());
        EXPECT_TRUE(windows.Main().Session().State().DealSolution().empty());
        // It sits on the system page, inside the page and clear of the other controls.
        QWidget* page = setu.PageControl1()->widget(0);
        ASSERT_TRUE(page->isAncestorOf(box));
        const QRect boxRect(box->mapTo(page, QPoint(0, 0)), box->size());
        EXPECT_TRUE(QRect(0, 0, TSetuF::DesignWidth - 8, 225).contains(boxRect));
        for (QWidget* other : { static_cast<QWidget*>(setu.CB1()), static_cast<QWidget*>(setu.CB2()),
                 static_cast<QWidget*>(setu.CB3()), static_cast<QWidget*>(setu.FontPnl()),
                 static_cast<QWidget*>(setu.TimeE()) })
            EXPECT_FALSE(QRect(other->mapTo(page, QPoint(0, 0)), other->size()).intersects(boxRect));

        // Read live: the next deal is built to clear, without closing the dialog.
        box->setChecked(true);
        QTest::mouseClick(windows.Main().StartBtn(), Qt::LeftButton);
        EXPECT_EQ(windows.Main().Session().State().DealSolution().size(), 6u);
        setu.done(QDialog::Accepted);
        EXPECT_EQ(OpenStore(Keys::Root).ReadText(Keys::Set::Solvable.section, Keys::Set::Solvable.ident, "?"),
            QStringLiteral("1"));
    }
    // Stored: the first deal of the next start is already a clearable one.
    AppWindows windows(m_dir.path());
    EXPECT_TRUE(windows.Setu().CB4()->isChecked());
    EXPECT_EQ(windows.Main().Session().State().DealSolution().size(), 6u);
    windows.Setu().CB4()->setChecked(false);
    windows.Main().StartBtnClick();
    EXPECT_TRUE(windows.Main().Session().State().DealSolution().empty());
}
