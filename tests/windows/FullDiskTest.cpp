// SPDX-License-Identifier: MIT
// The program on a real full disk: its folder and its settings file on a small tmpfs filled
// to the last byte. Closing the options dialog, the ranking and the main window saves
// nothing, and loses nothing: every file and every backup is byte for byte what it was, no
// temporary file is left, and each window says once which files it could not save and why,
// in Japanese. Once there is room again, the same closes save everything.

#include "windows/AppWindows.h"
#include "store/Keys.h"
#include "windows/Main.h"
#include "windows/Rank.h"
#include "game/ScoreTables.h"
#include "windows/Setu.h"

// Qt
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QPushButton>
// own
#include "platform/RegistryFile.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Tmpfs.h"

#include <memory>

namespace {

const QString NoSpace = QStringLiteral("ディスクの空き容量が足りません");

class FullDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_disk.Mounted())
            GTEST_SKIP() << "cannot mount a tmpfs (" << m_disk.Why().toStdString()
                         << "): the full-disk test needs root or CAP_SYS_ADMIN on Linux";
        m_folder = m_disk.FilePath(QStringLiteral("game/"));
        m_store = m_disk.FilePath(QStringLiteral("config/registry.reg"));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        ASSERT_TRUE(QDir().mkpath(m_disk.FilePath(QStringLiteral("config"))));
        Registry::SetUserFileOverride(m_store);
        TSetuF::SetMessageHook([this](QWidget*, const QString& text) { m_messages << text; });
        SeedFiles();
    }

    void TearDown() override
    {
        m_windows.reset();
        TSetuF::SetMessageHook({});
        Registry::SetUserFileOverride(QString());
    }

    // Score tables, the ranking and a backup of each, and settings with a foreign key that
    // makes the file larger than one page of the disk.
    void SeedFiles()
    {
        for (int kind = 1; kind <= 3; ++kind) {
            TextGrid table(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
            ScoreTables::FillDefaults(kind, table);
            WriteAll(m_folder + ScoreTables::FileName(kind), TableFile::Format(table));
            table.SetCell(2, 1, QStringLiteral("99"));
            WriteAll(m_folder + TableFile::BackupPath(ScoreTables::FileName(kind)), TableFile::Format(table));
        }
        WriteAll(m_folder + QStringLiteral("Rank.dat"),
            "Rank,Name,Point,Time,\r\n1,\x82\xa0,50,2024/01/01 00:00,\r\n");
        WriteAll(m_folder + QStringLiteral("Ranksav"), "Rank,Name,Point,Time,\r\n,,,,\r\n");
        SettingsStore store(std::make_unique<RegistryFile>(m_store), Keys::Root);
        ASSERT_TRUE(store.WriteNumber(Keys::Sys::CBH, 2));
        ASSERT_TRUE(store.WriteFlag(Keys::Set::CB3, false));
        ASSERT_TRUE(store.WriteText(QStringLiteral("Other"), QStringLiteral("Padding"), QString(6000, QLatin1Char('p'))));
    }

    TMainF& Start()
    {
        m_windows = std::make_unique<AppWindows>(m_folder);
        TMainF& main = m_windows->Main();
        main.SetMessageHook([this](const QString& text) { m_messages << text; });
        main.show();
        QCoreApplication::processEvents();
        return main;
    }

    // Every file that was there is there with the same bytes, and no other file.
    static void ExpectSameFiles(const QMap<QString, QByteArray>& now, const QMap<QString, QByteArray>& before)
    {
        EXPECT_EQ(now.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            EXPECT_TRUE(now.value(it.key()) == it.value()) << it.key().toStdString() << " changed";
    }

    // Every file on the disk but the filler, by path.
    QMap<QString, QByteArray> Snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (const QString& folder : { m_folder, m_disk.FilePath(QStringLiteral("config")) }) {
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                files.insert(QDir(folder).filePath(name), ReadAll(QDir(folder).filePath(name)));
        }
        return files;
    }

    // Changes in every window, so that each close has something new to save.
    void EditEverything(TMainF& main)
    {
        main.CBH()->setCurrentIndex(4);
        TSetuF& setu = m_windows->Setu();
        setu.CB3()->setChecked(true);
        for (int kind = 1; kind <= 3; ++kind)
            setu.ScoreTable(kind)->SetCell(2, 1, QStringLiteral("7"));
        m_windows->Rank().Grid().SetCell(1, 1, QStringLiteral("新しい名前"));
    }

    // Closes the options dialog, the ranking and the main window, in the order a player would.
    void CloseEverything(TMainF& main)
    {
        TSetuF& setu = m_windows->Setu();
        setu.show();
        setu.accept();
        TRankF& rank = m_windows->Rank();
        rank.ShowRanking(RankingMode::ShowOnly);
        rank.OKBtn()->click();
        main.close();
    }

    Tmpfs m_disk { 512 };
    QString m_folder;
    QString m_store;
    QStringList m_messages;
    std::unique_ptr<AppWindows> m_windows;
};

TEST_F(FullDiskTest, NothingIsLostAndEachWindowSaysWhatItCouldNotSaveAndWhy)
{
    TMainF& main = Start();
    ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EditEverything(main);
    ASSERT_TRUE(m_disk.Fill());
    const QMap<QString, QByteArray> before = Snapshot();

    CloseEverything(main);
    ExpectSameFiles(Snapshot(), before);
    ASSERT_EQ(m_messages.size(), 3) << m_messages.join("\n--\n").toStdString();
    const QString& options = m_messages.at(0);
    for (const QString& name : { QStringLiteral("SG1.dat"), QStringLiteral("SG2.dat"), QStringLiteral("SG3.dat"),
             QStringLiteral("Set\\CB3"), m_store })
        EXPECT_TRUE(options.contains(name)) << name.toStdString() << '\n' << options.toStdString();
    EXPECT_TRUE(m_messages.at(1).contains(QStringLiteral("Rank.dat"))) << m_messages.at(1).toStdString();
    EXPECT_TRUE(m_messages.at(2).contains(QStringLiteral("Sys\\CBH")) && m_messages.at(2).contains(m_store))
        << m_messages.at(2).toStdString();
    for (const QString& message : m_messages) {
        EXPECT_TRUE(message.contains(NoSpace)) << message.toStdString();
        EXPECT_FALSE(message.contains(QLatin1String("does not exist")) || message.contains(QLatin1String("Cannot")))
            << message.toStdString();
    }

    // With room again, the next closes save it all; the backups keep the oldest contents.
    m_disk.Empty();
    m_messages.clear();
    m_windows.reset();
    Start();
    EditEverything(m_windows->Main());
    CloseEverything(m_windows->Main());
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    const QMap<QString, QByteArray> after = Snapshot();
    for (const char* name : { "SG1sav", "SG2sav", "SG3sav", "Ranksav" })
        EXPECT_EQ(after.value(m_folder + QLatin1String(name)), before.value(m_folder + QLatin1String(name))) << name;
    for (int kind = 1; kind <= 3; ++kind) {
        const QString table = m_folder + ScoreTables::FileName(kind);
        EXPECT_NE(after.value(table), before.value(table));
        EXPECT_TRUE(after.value(table).contains(",7,")) << kind;
    }
    EXPECT_EQ(OpenStore(Keys::Root).ReadNumber(Keys::Sys::CBH), 4);
    EXPECT_TRUE(OpenStore(Keys::Root).ReadFlag(Keys::Set::CB3));
}

// One free page: room for a small file (the settings lock) but not for the settings file.
// The main window's close reports the settings file and the real reason.
TEST_F(FullDiskTest, OneFreePageLeavesTheSettingsFileWhole)
{
    TMainF& main = Start();
    main.CBH()->setCurrentIndex(4);
    ASSERT_TRUE(m_disk.Fill(4096));
    const QByteArray before = ReadAll(m_store);
    ASSERT_GT(before.size(), 4096);

    main.close();
    EXPECT_EQ(ReadAll(m_store), before);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.at(0).contains(m_store) && m_messages.at(0).contains(NoSpace))
        << m_messages.at(0).toStdString();
    EXPECT_EQ(QDir(m_disk.FilePath(QStringLiteral("config"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("registry.reg") });
}

} // namespace
