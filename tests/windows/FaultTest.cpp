// SPDX-License-Identifier: MIT
// The whole program, all five windows, started into a hostile environment: a program folder
// it cannot write, a settings file it cannot replace, settings of the wrong type, invalid
// Shift-JIS and lines of a megabyte in every file it reads. It comes up with usable
// defaults every time, plays, paints, and says once what it could not read or save: a
// folder or a settings file that takes no save is named once at start, not at every close.

#include "../core/GameTestSupport.h"

#include "windows/AppWindows.h"
#include "controls/BrimBtn.h"
#include "store/Keys.h"
#include "game/ScoreTables.h"
#include "app/GameSession.h"
#include "windows/Main.h"
#include "windows/Rank.h"
#include "game/Ranking.h"
#include "windows/Setu.h"
#include "controls/StringGrid.h"
#include "app/AppModel.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
// own
#include "controls/CtrlsEx.h"
#include "controls/ChkGroup.h"
#include "platform/Cp932.h"
#include "platform/RegistryFile.h"
#include "store/DataFolder.h"
#include "store/FontRecord.h"
#include "store/SavedGameFile.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <memory>

namespace {

class WindowFaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + QLatin1Char('/');
        SetStore(m_dir.filePath(QStringLiteral("registry.reg")));
        TSetuF::SetMessageHook([this](QWidget*, const QString& text) { m_messages << text; });
    }

    void TearDown() override
    {
        m_windows.reset();
        TSetuF::SetMessageHook({});
        Registry::SetUserFileOverride(QString());
    }

    void SetStore(const QString& path)
    {
        m_store = path;
        Registry::SetUserFileOverride(path);
    }

    // Starts the program as it starts itself, and shows the main window.
    TMainF& Start(const QString& folder) { return Started(std::make_unique<AppWindows>(folder)); }
    TMainF& Start(const DataFolder::Choice& data) { return Started(std::make_unique<AppWindows>(data)); }

    TMainF& Started(std::unique_ptr<AppWindows> windows)
    {
        m_windows = std::move(windows);
        TMainF& main = m_windows->Main();
        main.SetMessageHook([this](const QString& text) { m_messages << text; });
        main.show();
        // The start-up notice comes once the window is up.
        QCoreApplication::processEvents();
        return main;
    }

    // What a player of a new installation sees: a dealt 3 x 4 board of stems, sounds on.
    void ExpectUsableDefaults()
    {
        TMainF& main = m_windows->Main();
        EXPECT_EQ(main.CBH()->currentIndex(), 0);
        EXPECT_EQ(main.CBW()->currentIndex(), 0);
        EXPECT_EQ(main.CG1()->BitChk(), 1);
        EXPECT_EQ(main.Session().State().Remaining(), 12);
        EXPECT_TRUE(Game::IsTileNumber(main.Session().State().FindMove()));
        const TSetuF& setu = m_windows->Setu();
        EXPECT_TRUE(setu.SoundOn());
        EXPECT_FALSE(setu.QuitOnWarning());
        EXPECT_FALSE(setu.ShowElapsed());
        EXPECT_EQ(setu.WarningMinutesText(), QStringLiteral("30"));
    }

    // Paints every window and every page of the options dialog, as a player opening them
    // would see them.
    void PaintEverything()
    {
        TMainF& main = m_windows->Main();
        QImage image(main.size(), QImage::Format_ARGB32);
        main.render(&image);
        TSetuF& setu = m_windows->Setu();
        setu.show();
        for (int page = 0; page < setu.PageControl1()->count(); ++page) {
            setu.PageControl1()->setCurrentIndex(page);
            QImage pageImage(setu.size(), QImage::Format_ARGB32);
            setu.render(&pageImage);
        }
        TRankF& rank = m_windows->Rank();
        rank.ShowRanking(RankingMode::ShowOnly);
        QImage rankImage(rank.size(), QImage::Format_ARGB32);
        rank.render(&rankImage);
    }

    void WriteFile(const QString& name, const QByteArray& bytes) { WriteAll(m_folder + name, bytes); }

    QByteArray ReadFile(const QString& name) const { return ReadAll(m_folder + name); }

    void Put(const QString& key, const QString& name, const RegValue& value)
    {
        RegistryFile reg(m_store);
        ASSERT_TRUE(reg.OpenKey(key, RegOpen::Create).Ok());
        ASSERT_TRUE(reg.WriteValue(key, name, value).Ok());
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_store;
    QStringList m_messages;
    std::unique_ptr<AppWindows> m_windows;
};

QString Section(const QLatin1String& section)
{
    return Keys::Root + QLatin1Char('\\') + section;
}

// Tests run as root, where folder permissions do not bite, so a read-only program folder is
// stood in for by a folder that cannot exist: its path runs through a regular file. Nothing
// can be read from it or written to it, whoever runs.
TEST_F(WindowFaultTest, ProgramFolderThatCannotBeWrittenStartsWithDefaultsAndSaysWhatWasLost)
{
    WriteFile(QStringLiteral("blocker"), "a file where the program folder should be");
    const QString folder = m_folder + QStringLiteral("blocker/");
    TMainF& main = Start(folder);
    ExpectUsableDefaults();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    // No table file: the tables keep their first row counts and empty cells, and a pair
    // scores nothing, but the game goes on.
    EXPECT_EQ(m_windows->Setu().ScoreTable(1)->RowCount(), 101);
    LayBoard(main.Session().GameForTest(), { QStringLiteral("甲甲乙乙") });
    QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
    EXPECT_EQ(main.Session().State().Remaining(), 2);
    EXPECT_EQ(main.Session().State().PointsTotal(), 0);

    // Closing the options dialog saves the settings and names the three tables it could not.
    TSetuF& setu = m_windows->Setu();
    setu.show();
    setu.CB3()->setChecked(true);
    setu.accept();
    ASSERT_EQ(m_messages.size(), 1);
    for (const char* name : { "SG1.dat", "SG2.dat", "SG3.dat" })
        EXPECT_TRUE(m_messages.at(0).contains(QLatin1String(name))) << m_messages.at(0).toStdString();
    EXPECT_EQ(OpenStore(Keys::Root).ReadFlag(Keys::Set::CB3), true);

    // Closing the ranking names Rank.dat and still deals.
    TRankF& rank = m_windows->Rank();
    rank.ShowRanking(RankingMode::ShowOnly);
    rank.OKBtn()->click();
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages.at(1).contains(QStringLiteral("Rank.dat"))) << m_messages.at(1).toStdString();
    EXPECT_EQ(main.Session().State().Remaining(), 12);
    EXPECT_EQ(m_messages.size(), 2);

    main.close();
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(ReadFile(QStringLiteral("blocker")), QByteArray("a file where the program folder should be"));
}

// The settings file cannot be replaced: its path is a folder (it cannot be read either), or
// its folder's path is a regular file (there is nothing to read, and nothing can be made).
// The start says so once; the closes say nothing more.
enum class Blocked { StoreIsAFolder, FolderIsAFile };

class StoreFaultTest : public WindowFaultTest, public ::testing::WithParamInterface<Blocked>
{
};

TEST_P(StoreFaultTest, StartsWithDefaultsAndSaysWhatWasNotSaved)
{
    if (GetParam() == Blocked::StoreIsAFolder) {
        ASSERT_TRUE(QDir().mkpath(m_folder + QStringLiteral("registry.reg")));
        SetStore(m_folder + QStringLiteral("registry.reg"));
    } else {
        WriteFile(QStringLiteral("config"), "not a folder");
        SetStore(m_folder + QStringLiteral("config/registry.reg"));
    }
    TMainF& main = Start(m_folder);
    ExpectUsableDefaults();
    if (GetParam() == Blocked::StoreIsAFolder) {
        // One notice from the main window (its settings and the board font) and one from
        // the options dialog, each naming what it could not read.
        ASSERT_EQ(m_messages.size(), 2) << m_messages.join("\n--\n").toStdString();
        const QString all = m_messages.join('\n');
        for (const char* name : { "Sys\\CBH", "Sys\\CG1", "FontInfo1", "Wav\\CB1", "Set\\TimeE" })
            EXPECT_TRUE(all.contains(QLatin1String(name))) << name << '\n' << all.toStdString();
    } else {
        ASSERT_EQ(m_messages.size(), 1) << m_messages.join("\n--\n").toStdString();
    }
    // The main window's notice says once, with the file and the reason, that nothing set
    // in this run is saved.
    const QString& notice = m_messages.last();
    EXPECT_TRUE(notice.contains(QStringLiteral("保存されません")) && notice.contains(m_store)) << notice.toStdString();
    const FileError::Kind why = GetParam() == Blocked::StoreIsAFolder ? FileError::Kind::FolderInTheWay
                                                                      : FileError::Kind::NoFolder;
    EXPECT_TRUE(notice.contains(FileError::Of(why).Reason())) << notice.toStdString();
    m_messages.clear();

    // Tables are still saved; the settings are not, and no close says it again.
    TSetuF& setu = m_windows->Setu();
    setu.show();
    setu.CB3()->setChecked(true);
    setu.accept();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_FALSE(ReadFile(QStringLiteral("SG1.dat")).isEmpty());

    main.close();
    m_windows.reset(); // the board font is saved, or not, without a word
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    if (GetParam() == Blocked::StoreIsAFolder)
        EXPECT_TRUE(QFileInfo(m_store).isDir());
    else
        EXPECT_EQ(ReadFile(QStringLiteral("config")), QByteArray("not a folder"));
}

INSTANTIATE_TEST_SUITE_P(Blocked, StoreFaultTest,
    ::testing::Values(Blocked::StoreIsAFolder, Blocked::FolderIsAFile),
    [](const ::testing::TestParamInfo<Blocked>& info) {
        return info.param == Blocked::StoreIsAFolder ? "StoreIsAFolder" : "FolderIsAFile";
    });

// Every value the program reads, stored with a type it cannot use: the defaults, one notice
// from each window naming its values, and the values stored right at the next close.
class WrongTypeStartTest : public WindowFaultTest, public ::testing::WithParamInterface<RegType>
{
};

TEST_P(WrongTypeStartTest, GivesDefaultsNamesEveryValueAndIsRepairedOnClose)
{
    const RegValue bad
        = GetParam() == RegType::Dword ? RegValue::Dword(2) : RegValue::Binary(QByteArray("2\0", 2));
    for (const char* ident : { "CBH", "CBW", "CG1", "RGC" })
        Put(Section(Keys::Sys::Section), QLatin1String(ident), bad);
    Put(Section(Keys::Wav::Section), QStringLiteral("CB1"), bad);
    for (const char* ident : { "CB2", "CB3", "TimeE" })
        Put(Section(Keys::Set::Section), QLatin1String(ident), bad);
    // The board font is binary: the wrong types for it are a text and a number.
    Put(Keys::Root, Keys::FontInfo1,
        GetParam() == RegType::Dword ? RegValue::Dword(0xFFFFFFE8)
                                     : RegValue::Text(QStringLiteral("ＭＳ ゴシック")));

    QFont design;
    {
        // The board font a first start gets, for comparison.
        QTemporaryDir other;
        Registry::SetUserFileOverride(other.filePath(QStringLiteral("registry.reg")));
        AppWindows fresh(other.path());
        design = fresh.Main().BoardFont();
    } // (the main window stores its font as it goes)
    Registry::SetUserFileOverride(m_store);

    TMainF& main = Start(m_folder);
    ExpectUsableDefaults();
    EXPECT_EQ(main.BoardFont(), design);
    ASSERT_EQ(m_messages.size(), 2) << m_messages.join("\n--\n").toStdString();
    const QString& setu = m_messages.at(0); // the options dialog is created before the main window shows
    const QString& sys = m_messages.at(1);
    for (const char* name : { "Sys\\CBH", "Sys\\CBW", "Sys\\CG1", "Sys\\RGC", "FontInfo1" })
        EXPECT_TRUE(sys.contains(QLatin1String(name))) << name << '\n' << sys.toStdString();
    for (const char* name : { "Wav\\CB1", "Set\\CB2", "Set\\CB3", "Set\\TimeE" })
        EXPECT_TRUE(setu.contains(QLatin1String(name))) << name << '\n' << setu.toStdString();
    const QString type
        = GetParam() == RegType::Dword ? QStringLiteral("REG_DWORD") : QStringLiteral("REG_BINARY");
    EXPECT_TRUE(sys.contains(type) && setu.contains(type));

    // The next close writes every value as the program stores it; a restart then reads
    // them all without a word.
    m_windows->Setu().show();
    m_windows->Setu().accept();
    main.close();
    m_windows.reset();
    m_messages.clear();
    Start(m_folder);
    ExpectUsableDefaults();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(m_windows->Main().BoardFont().family(), design.family());
}

INSTANTIATE_TEST_SUITE_P(Types, WrongTypeStartTest, ::testing::Values(RegType::Dword, RegType::Binary),
    [](const ::testing::TestParamInfo<RegType>& info) {
        return info.param == RegType::Dword ? "Dword" : "BinaryOrText";
    });

// Invalid Shift-JIS in every file the program reads: the score tables, the ranking, the
// settings and the board font's name. It all reads, shows as U+FFFD, paints and plays;
// saved again, every byte is written back as it was.
TEST_F(WindowFaultTest, InvalidShiftJisEverywhereReadsPaintsPlaysAndIsKept)
{
    // The pair 甲甲 scores 5 with a damaged text, and a row of damage follows.
    const QByteArray table = ",,,,\r\n" + Cp932::Encode(QStringLiteral("甲,甲,5,"))
        + "\x8b\x43\x81\xff,\r\n\x8d,\x81\x20,\xa0\x80,\xfd\xfe\xff,\r\n";
    WriteFile(QStringLiteral("SG1.dat"), table);
    WriteFile(QStringLiteral("Rank.dat"), "Rank,Name,Point,Time,\r\n1,\x82\xa0\x82,50,2024/01/01 00:00,\r\n");
    Put(Section(Keys::Set::Section), QStringLiteral("TimeE"),
        RegValue { quint32(RegType::Sz), QByteArray("4\x81\0", 3) });
    FontRecord font;
    font.Height = -20;
    font.Name = QStringLiteral("ＭＳ ゴシック");
    QByteArray record = font.Encode();
    record[16] = '\xff';
    Put(Keys::Root, Keys::FontInfo1, RegValue::Binary(record));

    TMainF& main = Start(m_folder);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    const QChar bad(QChar::ReplacementCharacter);
    EXPECT_EQ(Cp932::ForDisplay(m_windows->Setu().WarningMinutesText()), QStringLiteral("4") + bad);
    EXPECT_EQ(Cp932::ForDisplay(main.BoardFont().family()).at(0), bad);
    EXPECT_EQ(main.BoardFont().pixelSize(), 20);
    const TextGrid& sg1 = *m_windows->Setu().ScoreTable(1);
    EXPECT_EQ(Cp932::ForDisplay(sg1.Cell(3, 1)), QStringLiteral("気") + bad + bad);
    EXPECT_EQ(Cp932::ForDisplay(sg1.Cell(0, 2)), QString(bad));

    // Two pairs, so that the game does not end with the first.
    LayBoard(main.Session().GameForTest(), { QStringLiteral("甲甲乙乙") });
    QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
    EXPECT_EQ(main.Session().State().PointsTotal(), 5);
    EXPECT_EQ(main.SG1()->Grid()->Cell(Game::LogText, 1), sg1.Cell(3, 1));

    PaintEverything();
    EXPECT_EQ(Cp932::ForDisplay(m_windows->Rank().Grid().Cell(1, 1)), QStringLiteral("あ") + bad);

    m_windows->Rank().OKBtn()->click();
    // Only an edited table is written again.
    m_windows->Model().ScoreTable(1)->SetCell(2, 1, QStringLiteral("6"));
    m_windows->Setu().accept();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_TRUE(ReadFile(QStringLiteral("Rank.dat")).contains("\r\n1,\x82\xa0\x82,50,"));
    // The edited cell changes; every byte that is no text comes back as it was read.
    EXPECT_EQ(ReadFile(QStringLiteral("SG1.dat")), QByteArray(table).replace(",5,", ",6,"));
    EXPECT_EQ(RegistryFile(m_store).ReadValue(Section(Keys::Set::Section), QStringLiteral("TimeE")).value.data,
        QByteArray("4\x81\0", 3));
}

// A line of a megabyte in the score table (a pair's text), in the ranking (a name, and the
// two shapes a line can take without one: a megabyte of commas, a megabyte with no comma)
// and in the settings (the warning minutes): read, scored, painted and saved back whole.
TEST_F(WindowFaultTest, LinesOfAMegabyteReadPaintAndSaveWhole)
{
    const QString longText = QString(512 * 1024, QChar(0x6C17)); // 気: 1 MB in Shift-JIS
    const QString longName = QString(1024 * 1024, QLatin1Char('n'));
    WriteFile(QStringLiteral("SG1.dat"),
        ",,,,\r\n" + Cp932::Encode(QStringLiteral("甲,甲,3,") + longText + QLatin1Char(',')) + "\r\n");
    const QByteArray ranking = "Rank,Name,Point,Time,\r\n1," + longName.toLatin1() + ",50,2024/01/01 00:00,\r\n"
        + QByteArray(1024 * 1024, ',') + "\r\n" + QByteArray(1024 * 1024, 'x') + "\r\n4,last,-3,2024/01/02 00:00,\r\n";
    WriteFile(QStringLiteral("Rank.dat"), ranking);
    Put(Section(Keys::Set::Section), QStringLiteral("TimeE"),
        RegValue::Text(QString(1024 * 1024, QLatin1Char('9'))));

    TMainF& main = Start(m_folder);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    // The edit box holds the first 32767 characters, as a Windows edit box does.
    EXPECT_EQ(m_windows->Setu().WarningMinutesText(), QString(32767, QLatin1Char('9')));
    // The timer reads the unusable minutes every second: no warning, no crash.
    main.Timer1Timer();

    // Two pairs, so that the game does not end with the first.
    LayBoard(main.Session().GameForTest(), { QStringLiteral("甲甲乙乙") });
    QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
    EXPECT_EQ(main.Session().State().PointsTotal(), 3);
    EXPECT_EQ(main.SG1()->Grid()->Cell(Game::LogText, 1), longText);

    PaintEverything();
    EXPECT_EQ(m_windows->Rank().Grid().Cell(1, 1), longName);
    m_windows->Rank().OKBtn()->click();
    m_windows->Setu().accept();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    TextGrid back(4, 1);
    ASSERT_EQ(TableFile::Load(back, m_folder + QStringLiteral("SG1.dat")), TableFile::LoadResult::Loaded);
    EXPECT_EQ(back.Cell(3, 1), longText);
    ASSERT_EQ(TableFile::Load(back, m_folder + QStringLiteral("Rank.dat")), TableFile::LoadResult::Loaded);
    EXPECT_EQ(back.Cell(1, 1), longName);
    // The lines without a name are rows of empty cells (only their ranks are written), and
    // the row after them is untouched.
    ASSERT_EQ(back.RowCount(), 5);
    for (int c = 1; c < 4; ++c) {
        EXPECT_TRUE(back.Cell(c, 2).isEmpty()) << c; // only commas
        EXPECT_TRUE(back.Cell(c, 3).isEmpty()) << c; // no comma: nothing is a cell
    }
    EXPECT_EQ(back.Cell(1, 4), QStringLiteral("last"));
    EXPECT_EQ(back.Cell(3, 4), QStringLiteral("2024/01/02 00:00"));
    // The old file went to the backup whole.
    EXPECT_EQ(ReadFile(QStringLiteral("Ranksav")), ranking);
}

// A score-table file of 50 MB: the options dialog reads it whole into its grid, every line
// a row, the game scores against it and the grid paints.
TEST_F(WindowFaultTest, ScoreTableOfFiftyMegabytesLoadsScoresAndPaints)
{
    TextGrid defaults(ScoreTables::Columns, ScoreTables::InitialRowCount(1));
    ScoreTables::FillDefaults(1, defaults);
    const QByteArray lines = TableFile::Format(defaults).mid(6); // without the empty row 0
    const qsizetype blocks = 50 * 1024 * 1024 / lines.size() + 1;
    {
        QFile f(m_folder + QStringLiteral("SG1.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (qsizetype i = 0; i < blocks; ++i)
            ASSERT_EQ(f.write(lines), lines.size());
    }
    ASSERT_GE(QFileInfo(m_folder + QStringLiteral("SG1.dat")).size(), 50 * 1024 * 1024);
    TMainF& main = Start(m_folder);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    const TextGrid& stems = *m_windows->Setu().ScoreTable(1);
    ASSERT_EQ(stems.RowCount(), blocks * 100);
    EXPECT_EQ(stems.Cell(0, 0), QStringLiteral("甲"));
    const int last = stems.RowCount() - 1;
    EXPECT_EQ(QStringList({ stems.Cell(0, last), stems.Cell(1, last), stems.Cell(2, last), stems.Cell(3, last) }),
        QStringList({ QStringLiteral("癸"), QStringLiteral("癸"), QStringLiteral("3"), QStringLiteral("主気") }));
    LayBoard(main.Session().GameForTest(), { QStringLiteral("甲甲乙乙") });
    QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
    EXPECT_EQ(main.Session().State().PointsTotal(), 3); // the first 甲甲 row, in row 1
    PaintEverything();
}

// Folders where a score table and the ranking should be: neither is read, closing names
// each one that could not be saved, and everything else is saved.
TEST_F(WindowFaultTest, TableFilesThatAreFoldersAreNamedAndTheRestIsSaved)
{
    for (const char* name : { "SG2.dat", "Rank.dat" })
        ASSERT_TRUE(QDir(m_folder).mkdir(QLatin1String(name)));
    TMainF& main = Start(m_folder);
    ExpectUsableDefaults();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(m_windows->Setu().ScoreTable(2)->RowCount(), 145);

    TSetuF& setu = m_windows->Setu();
    setu.show();
    setu.CB2()->setChecked(true);
    setu.accept();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.at(0).contains(QStringLiteral("SG2.dat")));
    EXPECT_FALSE(m_messages.at(0).contains(QStringLiteral("SG1.dat")));
    EXPECT_FALSE(ReadFile(QStringLiteral("SG1.dat")).isEmpty());
    EXPECT_FALSE(ReadFile(QStringLiteral("SG3.dat")).isEmpty());
    EXPECT_TRUE(OpenStore(Keys::Root).ReadFlag(Keys::Set::CB2));

    TRankF& rank = m_windows->Rank();
    rank.ShowRanking(RankingMode::ShowOnly);
    EXPECT_TRUE(Ranking::IsEmpty(rank.Grid()));
    rank.OKBtn()->click();
    ASSERT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_messages.at(1).contains(QStringLiteral("Rank.dat")));
    EXPECT_EQ(main.Session().State().Remaining(), 12);
    EXPECT_TRUE(QFileInfo(m_folder + QStringLiteral("SG2.dat")).isDir());
    EXPECT_TRUE(QFileInfo(m_folder + QStringLiteral("Rank.dat")).isDir());
}

// The player's data folder could not be made at start-up, so the tables and the ranking are
// read where they would have been copied from: they score and show. The start says once
// which folder takes no save and why; the options dialog's OK, the ranking's close and quit
// say nothing more, and nothing is written anywhere.
TEST_F(WindowFaultTest, ADataFolderThatCannotBeWrittenReadsTheSeedAndSaysSoOnlyOnce)
{
    const QString seed = m_folder + QStringLiteral("seed/");
    ASSERT_TRUE(QDir().mkpath(seed));
    const QByteArray stems(",,,,\r\n\x8D\x62,\x8D\x62,3,\x8E\xE5\x8B\x43,\r\n");
    const QByteArray ranking("Rank,Name,Point,Time,\r\n1,seeded,5,2024/05/01 21:30,\r\n");
    WriteAll(seed + QStringLiteral("SG1.dat"), stems);
    WriteAll(seed + QStringLiteral("Rank.dat"), ranking);
    WriteFile(QStringLiteral("home"), "a file where the home folder should be");
    DataFolder::Choice data;
    data.folder = m_folder + QStringLiteral("home/Orbilo/");
    data.perUser = true;
    data.unwritable = FileError::Of(FileError::Kind::NoFolder);
    data.seedFolder = seed;
    data.unseeded = QStringList { QStringLiteral("SG1.dat"), QStringLiteral("Rank.dat") };
    SavedGameFile::SetPathOverride(data.folder + QStringLiteral("SavedGame.dat"));
    OpenStore(Keys::Root).WriteFlag(Keys::Set::Resume, true);

    TMainF& main = Start(data);
    ASSERT_EQ(m_messages.size(), 1) << m_messages.join("\n--\n").toStdString();
    EXPECT_TRUE(m_messages.at(0).contains(QDir::toNativeSeparators(data.folder))) << m_messages.at(0).toStdString();
    EXPECT_TRUE(m_messages.at(0).contains(data.unwritable.Reason())) << m_messages.at(0).toStdString();
    m_messages.clear();

    LayBoard(main.Session().GameForTest(), { QStringLiteral("甲甲乙乙") });
    QTest::mouseClick(main.Tile(0, Game::Rows - 1), Qt::LeftButton);
    QTest::mouseClick(main.Tile(1, Game::Rows - 1), Qt::LeftButton);
    EXPECT_EQ(main.Session().State().PointsTotal(), 3) << "the seed's table scores";

    TSetuF& setu = m_windows->Setu();
    setu.show();
    setu.ScoreTable(1)->SetCell(2, 1, QStringLiteral("9"));
    setu.accept();
    TRankF& rank = m_windows->Rank();
    rank.ShowRanking(RankingMode::ShowOnly);
    EXPECT_EQ(rank.Grid().Cell(1, 1), QStringLiteral("seeded"));
    rank.OKBtn()->click();
    main.close();
    m_windows.reset();
    SavedGameFile::SetPathOverride(QString());
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join("\n--\n").toStdString();
    EXPECT_EQ(ReadAll(seed + QStringLiteral("SG1.dat")), stems);
    EXPECT_EQ(ReadAll(seed + QStringLiteral("Rank.dat")), ranking);
    EXPECT_EQ(QDir(seed).entryList(QDir::Files), QStringList({ QStringLiteral("Rank.dat"), QStringLiteral("SG1.dat") }));
}

} // namespace
