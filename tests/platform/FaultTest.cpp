// SPDX-License-Identifier: MIT
// Faults the table files and the settings store must come through: invalid Shift-JIS
// wherever stored text is read, a settings value of the wrong type for every value the game
// reads, and the process killed in the middle of a save. Nothing crashes, nothing stored
// before is lost, what a kill left behind is removed, and what could not be used is reported. (Files of 50 MB and lines of 1 MB
// go through the whole program in tests/windows/FaultTest.cpp.)

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

// own
#include "store/Keys.h"
#include "game/ScoreTables.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"
#include "game/TextGrid.h"
#include "platform/Cp932.h"
#include "platform/RegistryFile.h"
#include "platform/SafeFile.h"
#include "store/FontRecord.h"

#include <cstdio>
#include <optional>

namespace {

QString Key(const QLatin1String& section)
{
    return Keys::Root + QLatin1Char('\\') + section;
}

// --- invalid Shift-JIS ---------------------------------------------------------------------

// Bytes that are no Shift-JIS: a lead byte cut off by a comma, by a line end and by the end
// of the data, a lead byte before a byte that cannot follow it, and bytes code page 932
// leaves unused. Each shows as U+FFFD where it stood; everything around it reads as written,
// and a save writes each of them back as the byte it was.
TEST(FaultTest, InvalidShiftJisInATableFileShowsWhereItStandsAndIsSavedBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("SG1.dat");
    // "甲,<8D>,乙<81>\r\n<82> <A0><80><FD><FE><FF>,丙,<8D>"
    WriteAll(path,
        Cp932::Encode(QStringLiteral("甲,")) + "\x8d," + Cp932::Encode(QStringLiteral("乙")) + "\x81\r\n"
            + "\x82\x20\xa0\x80\xfd\xfe\xff," + Cp932::Encode(QStringLiteral("丙,")) + "\x8d");
    TextGrid grid(4, 101);
    ASSERT_EQ(TableFile::Load(grid, path), TableFile::LoadResult::Loaded);
    ASSERT_EQ(grid.RowCount(), 2);
    const QChar bad(QChar::ReplacementCharacter);
    auto shown = [&](int c, int r) { return Cp932::ForDisplay(grid.Cell(c, r)); };
    EXPECT_EQ(shown(0, 0), QStringLiteral("甲"));
    EXPECT_EQ(shown(1, 0), QString(bad));
    EXPECT_EQ(shown(2, 0), QString()); // "乙<81>" had no comma after it
#ifdef _WIN32
    // The system's code page 932 gives some of the unused bytes a character of their own (80
    // is U+0080 there, and Windows has private-use ones for A0 and FD..FF): each shows as that.
    QString unused;
    for (const char byte : { '\xa0', '\x80', '\xfd', '\xfe', '\xff' })
        unused += Cp932::ForDisplay(Cp932::Decode(QByteArray(1, byte)));
    EXPECT_EQ(shown(0, 1), QString(bad) + QLatin1Char(' ') + unused);
#else
    EXPECT_EQ(shown(0, 1), QString(bad) + QLatin1Char(' ') + QString(5, bad));
#endif
    EXPECT_EQ(shown(1, 1), QStringLiteral("丙"));
    EXPECT_EQ(shown(2, 1), QString()); // the cut-off lead byte at the end is no cell

    // Saved, each invalid byte is written back where it stood; only the table file format
    // (four cells a line, each followed by a comma) is restored.
    ASSERT_TRUE(TableFile::Save(grid, path));
    EXPECT_EQ(ReadAll(path),
        Cp932::Encode(QStringLiteral("甲,")) + "\x8d,,,\r\n\x82\x20\xa0\x80\xfd\xfe\xff,"
            + Cp932::Encode(QStringLiteral("丙,,,")) + "\r\n");
}

TEST(FaultTest, InvalidShiftJisInTheSettingsFileIsReadAndKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.reg");
    // A damaged key name, a damaged value name, a damaged text, and a board font whose name
    // is damaged: all readable, and none of them lost when the game writes its settings.
    FontRecord font;
    font.Height = -20;
    font.Name = QStringLiteral("ＭＳ ゴシック");
    QByteArray record = font.Encode();
    record[16] = '\xa0';
    QByteArray hex;
    for (const char b : record)
        hex += QByteArray::number(uchar(b), 16).rightJustified(2, '0') + ',';
    hex.chop(1);
    WriteAll(path,
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK]\r\n\"FontInfo1\"=hex:" + hex
            + "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n\"TimeE\"=\"4\x81\"\r\n"
            + "\"\x82\x20\"=\"kept\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\\xfd]\r\n"
            + "\"x\"=\"1\"\r\n");

    {
        SettingsStore store(std::make_unique<RegistryFile>(path), Keys::Root);
        EXPECT_EQ(Cp932::ForDisplay(store.ReadText(Keys::Set::TimeE)), QStringLiteral("4\uFFFD"));
        EXPECT_FALSE(store.HasErrors());
    }
    RegistryFile reg(path);
    const RegValueResult stored = reg.ReadValue(Keys::Root, Keys::FontInfo1);
    ASSERT_TRUE(stored.Ok());
    const std::optional<FontRecord> decoded = FontRecord::Decode(stored.value.data);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(Cp932::ForDisplay(decoded->Name).at(0), QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(decoded->Height, -20);
    const QStringList keys = reg.SubKeyNames(Keys::Root).names;
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys.at(0), QStringLiteral("Set"));
    EXPECT_EQ(Cp932::ForDisplay(keys.at(1)), QStringLiteral("\uFFFD"));

    // The game writes its settings back; the damaged text it read goes back as it was, and
    // the values it does not own stay byte for byte.
    {
        SettingsStore store(std::make_unique<RegistryFile>(path), Keys::Root);
        EXPECT_TRUE(store.WriteText(Keys::Set::TimeE, store.ReadText(Keys::Set::TimeE)));
        EXPECT_TRUE(store.WriteFlag(Keys::Wav::CB1, true));
    }
    const QByteArray after = ReadAll(path);
    EXPECT_TRUE(after.contains("\"TimeE\"=\"4\x81\"")) << after.toStdString();
    EXPECT_TRUE(after.contains("\"\x82\x20\"=\"kept\"")) << after.toStdString();
    EXPECT_TRUE(after.contains("[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\\xfd]\r\n\"x\"=\"1\""));
    EXPECT_EQ(reg.ReadValue(Keys::Root, Keys::FontInfo1).value, stored.value);
}

// --- values of the wrong type ----------------------------------------------------------------

struct WrongType
{
    const char* section;
    const char* ident;
    RegValue value;
};

void PrintTo(const WrongType& w, std::ostream* os)
{
    *os << w.section << '\\' << w.ident << " as " << RegValue::TypeName(w.value.type).toStdString();
}

class WrongTypeTest : public ::testing::TestWithParam<WrongType>
{
};

// Every value the game reads through the store, as a REG_DWORD and as REG_BINARY: the
// default, and one report naming the value and its type. (The board font, read as binary,
// is the font component's: tests/windows/FaultTest.cpp.)
TEST_P(WrongTypeTest, GivesTheDefaultAndOneReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.reg");
    const WrongType& w = GetParam();
    {
        RegistryFile reg(path);
        const QString key = Keys::Root + QLatin1Char('\\') + QLatin1String(w.section);
        ASSERT_TRUE(reg.OpenKey(key, RegOpen::Create).Ok());
        ASSERT_TRUE(reg.WriteValue(key, QLatin1String(w.ident), w.value).Ok());
    }
    SettingsStore store(std::make_unique<RegistryFile>(path), Keys::Root);
    // Read in the order the windows read them; only the one value may be reported.
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBH), 0);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBW), 0);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CG1), 1);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::RGC), 0);
    EXPECT_TRUE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB2));
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB3));
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), QStringLiteral("30"));
    ASSERT_EQ(store.Errors().size(), 1);
    EXPECT_EQ(store.Errors().at(0).kind, SettingsError::Kind::WrongType);
    const QString message = store.ErrorMessage();
    EXPECT_TRUE(
        message.contains(QStringLiteral("%1\\%2").arg(QLatin1String(w.section), QLatin1String(w.ident))))
        << message.toStdString();
    EXPECT_TRUE(message.contains(RegValue::TypeName(w.value.type))) << message.toStdString();

    // The game then writes its setting over the bad value, as text.
    const QString key = Keys::Root + QLatin1Char('\\') + QLatin1String(w.section);
    ASSERT_TRUE(store.WriteText(QLatin1String(w.section), QLatin1String(w.ident), QStringLiteral("1")));
    EXPECT_EQ(
        RegistryFile(path).ReadValue(key, QLatin1String(w.ident)).value, RegValue::Text(QStringLiteral("1")));
}

std::vector<WrongType> WrongTypes()
{
    std::vector<WrongType> all;
    for (const auto& [section, ident] : { std::pair { "Sys", "CBH" }, std::pair { "Sys", "CBW" },
             std::pair { "Sys", "CG1" }, std::pair { "Sys", "RGC" }, std::pair { "Wav", "CB1" },
             std::pair { "Set", "CB2" }, std::pair { "Set", "CB3" }, std::pair { "Set", "TimeE" } }) {
        all.push_back({ section, ident, RegValue::Dword(1) });
        all.push_back({ section, ident, RegValue::Binary(QByteArray("1\0", 2)) });
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryValue, WrongTypeTest, ::testing::ValuesIn(WrongTypes()),
    [](const ::testing::TestParamInfo<WrongType>& info) {
        return std::string(info.param.section) + info.param.ident
            + (info.param.value.Type() == RegType::Dword ? "Dword" : "Binary");
    });

// --- killed while saving ------------------------------------------------------------------

// The table the save-loop child writes: version v in every row, so a file that holds
// anything but one whole version is seen at once.
constexpr int KillRows = 20000;

void FillVersion(TextGrid& grid, int v)
{
    grid.SetRowCount(KillRows);
    for (int r = 0; r < KillRows; ++r) {
        grid.SetCell(0, r, QString::number(v));
        grid.SetCell(1, r, QStringLiteral("甲乙丙"));
        grid.SetCell(2, r, QString::number(r));
        grid.SetCell(3, r, QString::number(v * 7 + r));
    }
}

// The version a file holds when it holds one whole version, else nothing.
std::optional<int> VersionIn(const QByteArray& bytes)
{
    TextGrid grid(4, 1);
    TableFile::Parse(bytes, grid);
    if (grid.RowCount() != KillRows)
        return std::nullopt;
    bool ok = false;
    const int v = grid.Cell(0, 0).toInt(&ok);
    if (!ok)
        return std::nullopt;
    for (int r = 0; r < KillRows; ++r) {
        if (grid.Cell(0, r) != QString::number(v) || grid.Cell(1, r) != QStringLiteral("甲乙丙")
            || grid.Cell(2, r) != QString::number(r) || grid.Cell(3, r) != QString::number(v * 7 + r))
            return std::nullopt;
    }
    return v;
}

// Runs only as the child of the next test: saves the table and the settings in a loop,
// one version after another, saying before and after each save which version it is,
// until it is killed.
TEST(FaultChild, DISABLED_SaveLoop)
{
    const QString folder = qEnvironmentVariable("ORBILO_FAULT_FOLDER");
    ASSERT_FALSE(folder.isEmpty());
    const QString table = QDir(folder).filePath(QStringLiteral("SG1.dat"));
    TextGrid grid(4, 1);
    int v = VersionIn(ReadAll(table)).value_or(0);
    for (int i = 0; i < 10000; ++i) {
        ++v;
        FillVersion(grid, v);
        std::printf("saving %d\n", v);
        std::fflush(stdout);
        FileError why;
        ASSERT_TRUE(TableFile::Save(grid, table, &why)) << why.Reason().toStdString();
        SettingsStore store(
            std::make_unique<RegistryFile>(QDir(folder).filePath(QStringLiteral("registry.reg"))),
            Keys::Root);
        ASSERT_TRUE(store.WriteNumber(Keys::Sys::CBH, v)) << store.ErrorMessage().toStdString();
        std::printf("saved %d\n", v);
        std::fflush(stdout);
    }
}

// The process killed at random moments while it saves a large table and the settings:
// afterwards the table file and its backup each hold one whole version that was saved
// before, never a mix or a cut-off file, and never is the table file missing. The settings
// file keeps every value, and the lock the killed process held does not stop the next
// writer.
TEST(FaultTest, KilledWhileSavingLeavesWholeFiles)
{
    QTemporaryDir dir;
    const QString table = dir.filePath("SG1.dat");
    const QString backup = dir.filePath("SG1sav");
    const QString settings = dir.filePath("registry.reg");
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    QRandomGenerator random(seed);

    qint64 saveMicros = 0; // how long one save takes, measured on the first round
    int epochStart = 0; // the version the backup must hold since the last fresh start
    constexpr int Rounds = 16;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        if (round % 4 == 0) {
            // A fresh start: a table file and no backup, so the next save makes the backup.
            QFile::remove(backup);
            TextGrid grid(4, 1);
            epochStart = 1000 * (round + 1);
            FillVersion(grid, epochStart);
            QFile::remove(table);
            ASSERT_TRUE(TableFile::Save(grid, table));
            SettingsStore store(std::make_unique<RegistryFile>(settings), Keys::Root);
            ASSERT_TRUE(store.WriteFlag(Keys::Wav::CB1, false));
            ASSERT_TRUE(store.WriteText(Keys::Set::TimeE, QStringLiteral("45")));
        }

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ORBILO_FAULT_FOLDER"), dir.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--gtest_filter=FaultChild.DISABLED_SaveLoop"),
                QStringLiteral("--gtest_also_run_disabled_tests") });
        ASSERT_TRUE(child.waitForStarted());

        // Waits for a line starting with prefix; false when the child ends first.
        QByteArray seen;
        auto waitFor = [&](const QByteArray& prefix) {
            for (;;) {
                while (child.canReadLine()) {
                    const QByteArray line = child.readLine();
                    seen += line;
                    if (line.startsWith(prefix))
                        return true;
                }
                if (!child.waitForReadyRead(60000))
                    return false;
            }
        };
        ASSERT_TRUE(waitFor("saving ")) << seen.toStdString();
        if (saveMicros == 0) {
            QElapsedTimer clock;
            clock.start();
            ASSERT_TRUE(waitFor("saved ")) << seen.toStdString();
            saveMicros = qMax<qint64>(1000, clock.nsecsElapsed() / 1000);
            ASSERT_TRUE(waitFor("saving ")) << seen.toStdString();
        }
        // Somewhere in this save or the next one.
        QThread::usleep(random.bounded(quint32(saveMicros * 3 / 2)));
        child.kill(); // SIGKILL; TerminateProcess on Windows
        ASSERT_TRUE(child.waitForFinished(60000));
        seen += child.readAll();

        int lastSaving = 0;
        int lastSaved = 0;
        for (const QByteArray& line : seen.split('\n')) {
            if (line.startsWith("saving "))
                lastSaving = line.mid(7).toInt();
            else if (line.startsWith("saved "))
                lastSaved = line.mid(6).toInt();
        }
        ASSERT_GT(lastSaving, 0) << seen.toStdString();

        ASSERT_TRUE(QFileInfo::exists(table))
            << "the table file is gone after a kill in version " << lastSaving;
        const std::optional<int> inFile = VersionIn(ReadAll(table));
        ASSERT_TRUE(inFile.has_value()) << "the table file is not one whole version";
        EXPECT_GE(*inFile, qMax(lastSaved, epochStart));
        EXPECT_LE(*inFile, lastSaving);
        if (QFileInfo::exists(backup)) {
            const std::optional<int> inBackup = VersionIn(ReadAll(backup));
            ASSERT_TRUE(inBackup.has_value()) << "the backup is not one whole version";
            EXPECT_EQ(*inBackup, epochStart); // the backup keeps the oldest contents
        } else {
            EXPECT_EQ(*inFile, epochStart) << "a newer table was saved without a backup";
        }

        // What the kill left behind is what the next start removes: its writer is gone.
        SafeFile::RemoveLeftovers(dir.path(),
            { QStringLiteral("SG1.dat"), QStringLiteral("SG1sav"), QStringLiteral("registry.reg") });
        EXPECT_TRUE(QDir(dir.path()).entryList({ QStringLiteral("*.tmp") }, QDir::Files).isEmpty());

        RegistryFile reg(settings);
        EXPECT_EQ(reg.ReadValue(Key(Keys::Wav::Section), QStringLiteral("CB1")).value,
            RegValue::Text(QStringLiteral("0")));
        EXPECT_EQ(reg.ReadValue(Key(Keys::Set::Section), QStringLiteral("TimeE")).value,
            RegValue::Text(QStringLiteral("45")));
        const std::optional<int> cbh = SettingsStore::NumberFromText(
            reg.ReadValue(Key(Keys::Sys::Section), QStringLiteral("CBH")).value.ToText());
        if (cbh) {
            EXPECT_GE(*cbh, lastSaved);
            EXPECT_LE(*cbh, lastSaving);
        }
    }

    // What the next start reads: the tables and the settings as last saved, and a store
    // the killed process's lock does not hold up.
    TextGrid grid(4, 1);
    EXPECT_EQ(TableFile::Load(grid, table), TableFile::LoadResult::Loaded);
    EXPECT_EQ(grid.RowCount(), KillRows);
    SettingsStore store(std::make_unique<RegistryFile>(settings), Keys::Root);
    EXPECT_FALSE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), QStringLiteral("45"));
    // A lock that were still held would make this wait and then fail as busy.
    EXPECT_TRUE(store.WriteFlag(Keys::Wav::CB1, true));
    EXPECT_FALSE(store.HasErrors()) << store.ErrorMessage().toStdString();
}

} // namespace
