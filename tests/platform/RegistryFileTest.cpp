// SPDX-License-Identifier: MIT
// The REGEDIT4 file backend: its exact format, Shift-JIS texts, damaged and hand-edited
// files, and several writers on one file (objects, threads and processes).

// Qt
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QRandomGenerator>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"

// own
#include "platform/Cp932.h"
#include "platform/Registry.h"
#include "platform/RegFileDocument.h"
#include "platform/RegistryFile.h"
#include "RegValuePrinter.h"

#include <algorithm>
#include <thread>

namespace {

const QString Tesrik = QStringLiteral("Software\\Brimwell\\TESRIK");
const QString TesrikSet = QStringLiteral("Software\\Brimwell\\TESRIK\\Set");

QByteArray Crlf(const QString& text)
{
    QByteArray bytes = Cp932::Encode(text);
    bytes.replace("\n", "\r\n");
    return bytes;
}

QList<QByteArray> Lines(const QByteArray& bytes)
{
    QByteArray b = bytes;
    b.replace("\r\n", "\n");
    b.replace('\r', '\n');
    QList<QByteArray> lines = b.split('\n');
    lines.removeIf([](const QByteArray& l) { return l.trimmed().isEmpty(); });
    return lines;
}

// True when every line of part appears in whole, in the same order.
bool KeepsLinesInOrder(const QList<QByteArray>& part, const QList<QByteArray>& whole)
{
    qsizetype at = 0;
    for (const QByteArray& line : part) {
        while (at < whole.size() && whole.at(at) != line)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

class RegistryFileTest : public ::testing::Test
{
protected:
    QString Path() const { return m_dir.filePath("registry.reg"); }

    QTemporaryDir m_dir;
    RegistryFile reg { Path() };
};

TEST_F(RegistryFileTest, ReadsAHandWrittenExport)
{
    const QString text = QStringLiteral("REGEDIT4\n"
                                        "; kept comment\n"
                                        "[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK]\n"
                                        "\"FontInfo1\"=hex:E8,FF,FF,FF,\\\n"
                                        "  00,00\n"
                                        "@=\"x\"\n"
                                        "\"D\" = dword:0000001E\n"
                                        "\n"
                                        "[hkey_current_user\\software\\brimwell\\tesrik\\Set]\n"
                                        "\"TimeE\"=\"45\"\n"
                                        "\"E\"=hex(2):25,54,00\n");
    WriteAll(Path(), Crlf(text));
    EXPECT_EQ(
        reg.ReadValue(Tesrik, "FontInfo1").value, RegValue::Binary(QByteArray("\xe8\xff\xff\xff\0\0", 6)));
    EXPECT_EQ(reg.ReadValue(Tesrik, "").value.ToText(), "x");
    EXPECT_EQ(reg.ReadValue(Tesrik, "D").value.ToDword(), 30u);
    EXPECT_EQ(reg.ReadValue(TesrikSet, "TimeE").value.ToText(), "45");
    const RegValue e = reg.ReadValue(TesrikSet, "E").value;
    EXPECT_EQ(e.Type(), RegType::ExpandSz);
    EXPECT_EQ(e.ToText(), "%T");
    EXPECT_EQ(reg.SubKeyNames(Tesrik).names, QStringList { "Set" });

    // A change rewrites only what changed: the comment and the hand-made lines stay.
    ASSERT_TRUE(reg.WriteValue(TesrikSet, "TimeE", RegValue::Text("5")).Ok());
    const QList<QByteArray> after = Lines(ReadAll(Path()));
    EXPECT_TRUE(after.contains("; kept comment"));
    EXPECT_TRUE(after.contains("\"D\" = dword:0000001E"));
    EXPECT_TRUE(after.contains("\"TimeE\"=\"5\""));
    EXPECT_FALSE(after.contains("\"TimeE\"=\"45\""));
}

TEST_F(RegistryFileTest, ShiftJisTextsWithBackslashTrailBytes)
{
    // ソ and 表 end in 0x5C, the backslash: they must not be escaped or read as escapes.
    const QString text = QStringLiteral("ソ表\\\"能");
    ASSERT_TRUE(reg.OpenKey(Tesrik, RegOpen::Create).Ok());
    ASSERT_TRUE(reg.WriteValue(Tesrik, QStringLiteral("名ソ"), RegValue::Text(text)).Ok());
    const QByteArray line = QByteArray("\"\x96\xbc\x83\x5c\"=\"\x83\x5c\x95\x5c\\\\\\\"\x94\x5c\"");
    EXPECT_TRUE(Lines(ReadAll(Path())).contains(line)) << ReadAll(Path()).toHex(' ').toStdString();
    EXPECT_EQ(RegistryFile(Path()).ReadValue(Tesrik, QStringLiteral("名ソ")).value.ToText(), text);
}

TEST_F(RegistryFileTest, TextsTheQuotedFormCannotCarryKeepTheirBytes)
{
    ASSERT_TRUE(reg.OpenKey(Tesrik, RegOpen::Create).Ok());
    const QList<std::pair<QString, QByteArray>> cases = {
        { "Lines", QByteArray("a\r\nb\0", 5) },
        { "InnerNul", QByteArray("ab\0cd\0", 6) },
        { "NoNul", QByteArray("abc") },
        { "LeadBeforeQuote", QByteArray("\x83\"\0", 3) },
        { "LeadAtEnd", QByteArray("x\x83\0", 3) },
    };
    for (const auto& [name, data] : cases)
        ASSERT_TRUE(reg.WriteValue(Tesrik, name, RegValue { 1, data }).Ok());
    const QList<QByteArray> lines = Lines(ReadAll(Path()));
    EXPECT_TRUE(lines.contains("\"NoNul\"=hex(1):61,62,63"));
    EXPECT_TRUE(lines.contains("\"LeadBeforeQuote\"=hex(1):83,22,00"));
    EXPECT_TRUE(lines.contains("\"LeadAtEnd\"=\"x\x83\""));
    RegistryFile fresh(Path());
    for (const auto& [name, data] : cases)
        EXPECT_EQ(fresh.ReadValue(Tesrik, name).value, (RegValue { 1, data })) << name.toStdString();
}

TEST_F(RegistryFileTest, LongBinaryValuesAreContinuedOverLines)
{
    QByteArray data;
    for (int i = 0; i < 300; ++i)
        data.append(char(i * 7));
    ASSERT_TRUE(reg.OpenKey(Tesrik, RegOpen::Create).Ok());
    ASSERT_TRUE(reg.WriteValue(Tesrik, "Big", RegValue::Binary(data)).Ok());
    const QList<QByteArray> lines = Lines(ReadAll(Path()));
    qsizetype continued = 0;
    for (const QByteArray& l : lines) {
        EXPECT_LE(l.size(), 80) << l.toStdString();
        continued += l.startsWith("  ") ? 1 : 0;
    }
    EXPECT_GT(continued, 10);
    EXPECT_EQ(RegistryFile(Path()).ReadValue(Tesrik, "Big").value.data, data);
}

TEST_F(RegistryFileTest, DamagedLinesAreSkippedAndKeptVerbatim)
{
    const QByteArray damaged = Crlf(QStringLiteral("REGEDIT4\n"
                                                   "before any section \x01\n"
                                                   "[HKEY_CURRENT_USER\\Software\\T]\n"
                                                   "\"Good\"=\"yes\"\n"
                                                   "\"CB1\"=dword:zz\n"
                                                   "\"Bin\"=hex:0g,01\n"
                                                   "\"Typ\"=hex(zz):01\n"
                                                   "\"Open\"=\"unterminated\n"
                                                   "\"Short\"=dword:1e\n"
                                                   "\"Weird\"=unknown:1\n"
                                                   "\"Esc\"=\"\\n\"\n"
                                                   "just words\n"
                                                   "\"Cut\"=hex:01,02,\\\n"
                                                   "\"After\"=\"kept\"\n"
                                                   "[HKEY_CURRENT_USER\\Software\\Bad\n"
                                                   "\"Lost\"=\"not here\"\n"
                                                   "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
                                                   "\"Foreign\"=\"x\"\n"
                                                   "[HKEY_CURRENT_USER\\Software\\T2]\n"
                                                   "\"Fine\"=dword:00000002\n"));
    WriteAll(Path(), damaged);

    const QString t = "Software\\T";
    EXPECT_EQ(reg.ReadValue(t, "Good").value.ToText(), "yes");
    EXPECT_EQ(reg.ReadValue(t, "After").value.ToText(), "kept");
    for (const char* name : { "CB1", "Bin", "Typ", "Open", "Short", "Weird", "Esc", "Cut" })
        EXPECT_EQ(reg.ReadValue(t, name).status, RegStatus::NotFound) << name;
    EXPECT_EQ(reg.ValueNames(t).names, (QStringList { "Good", "After" }));
    // Values under a damaged header belong to no key, not to the key above them.
    EXPECT_FALSE(reg.KeyExists("Software\\Bad"));
    EXPECT_FALSE(reg.ValueExists(t, "Lost"));
    EXPECT_EQ(reg.SubKeyNames("Software").names, (QStringList { "T", "T2" }));
    EXPECT_EQ(reg.ReadValue("Software\\T2", "Fine").value.ToDword(), 2u);

    // Writing keeps every line it does not replace; the new CB1 supersedes the damaged one.
    ASSERT_TRUE(reg.WriteValue(t, "CB1", RegValue::Text("1")).Ok());
    ASSERT_TRUE(reg.OpenKey("Software\\New", RegOpen::Create).Ok());
    QList<QByteArray> expectedKept = Lines(damaged);
    expectedKept.removeAll("\"CB1\"=dword:zz");
    expectedKept.removeAll("REGEDIT4");
    EXPECT_TRUE(KeepsLinesInOrder(expectedKept, Lines(ReadAll(Path())))) << ReadAll(Path()).toStdString();
    EXPECT_EQ(reg.ReadValue(t, "CB1").value.ToText(), "1");
    EXPECT_EQ(reg.ReadValue(t, "Good").value.ToText(), "yes");
}

// Found by the random round trip below: a hex value left dangling on "\\", then a blank
// line, then an indented byte line. The blank line was dropped on write-back, so the next
// read joined the two and produced a value that had never been in the file.
TEST_F(RegistryFileTest, ADanglingHexValueNeverTakesTheNextLineAlong)
{
    WriteAll(Path(),
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"h\"=hex:01,02,\\\r\n\r\n  03,04\r\n"
        "\"k\"=hex:05,\\\r\n  [HKEY_CURRENT_USER\\Software\\B]\r\n\"v\"=\"1\"\r\n");
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_FALSE(reg.ValueExists("Software\\A", "h")) << "pass " << pass;
        EXPECT_FALSE(reg.ValueExists("Software\\A", "k")) << "pass " << pass;
        // An indented section header still starts its section.
        EXPECT_EQ(reg.ReadValue("Software\\B", "v").value.ToText(), "1") << "pass " << pass;
        ASSERT_TRUE(reg.WriteValue("Software\\A", "n", RegValue::Dword(pass)).Ok());
    }
    EXPECT_TRUE(Lines(ReadAll(Path())).contains("  03,04"));
}

TEST_F(RegistryFileTest, GarbageIsReadWithoutACrashAndSurvivesAWrite)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    for (char& c : garbage)
        c = char(rng.bounded(256));
    WriteAll(Path(), garbage);

    EXPECT_FALSE(reg.ValueExists("Software\\X", "v"));
    ASSERT_TRUE(reg.OpenKey("Software\\X", RegOpen::Create).Ok());
    ASSERT_TRUE(reg.WriteValue("Software\\X", "v", RegValue::Dword(5)).Ok());
    EXPECT_EQ(reg.ReadValue("Software\\X", "v").value.ToDword(), 5u);
    EXPECT_TRUE(KeepsLinesInOrder(Lines(garbage), Lines(ReadAll(Path()))));
}

TEST_F(RegistryFileTest, HugeLinesAreHandled)
{
    QByteArray text = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\H]\r\n\"Long\"=\"";
    text.append(QByteArray(2 * 1024 * 1024, 'A'));
    text.append("\"\r\n");
    text.append(QByteArray(2 * 1024 * 1024, '#'));
    text.append("\r\n\"After\"=dword:00000001\r\n");
    WriteAll(Path(), text);
    EXPECT_EQ(reg.ReadValue("Software\\H", "Long").value.data.size(), 2 * 1024 * 1024 + 1);
    EXPECT_EQ(reg.ReadValue("Software\\H", "After").value.ToDword(), 1u);
    ASSERT_TRUE(reg.WriteValue("Software\\H", "New", RegValue::Binary(QByteArray(100 * 1024, '\x5c'))).Ok());
    EXPECT_EQ(reg.ReadValue("Software\\H", "New").value.data.size(), 100 * 1024);
    EXPECT_EQ(reg.ReadValue("Software\\H", "Long").value.data.size(), 2 * 1024 * 1024 + 1);
}

// Another program's key, whatever its lines (damaged ones, blank ones, any line break,
// Shift-JIS, a hex value left dangling), and another hive's section go back byte for byte,
// from the header to the last line, when the game's values change around them; and the
// key reads the same.
TEST_F(RegistryFileTest, KeysTheGameDoesNotChangeAreWrittenBackByteForByte)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    const QList<QByteArray> lines = { "\"v\"=\"1\"", "\"w\"=dword:0000000a", "\"w\"=dword:a",
        "\"h\"=hex:01,02,\\", "  03,04", "\"h\"=hex(2):41,00", "@=\"d\"", "\"q\"=\"open", "; note", "",
        "  ", "\t00", "junk \x01\x02", "\"\x83\\\"=\"\x83\\\"", "\"\x82\xa0\"=\"\x82\xa2 \"  ", "\"n\"" };
    const QString foreignKey = "Software\\Another Maker\\Tool";
    const QString sys = Tesrik + "\\Sys";
    for (int round = 0; round < 200; ++round) {
        auto eol = [&] { return QList<QByteArray> { "\r\n", "\n", "\r" }.at(rng.bounded(3)); };
        auto section = [&](const QByteArray& header) {
            QByteArray text = header;
            for (int i = rng.bounded(12); i > 0; --i)
                text += eol() + lines.at(rng.bounded(int(lines.size())));
            return text + eol() + "\"last\"=\"x\"";
        };
        const QByteArray foreign = section("[HKEY_CURRENT_USER\\Software\\Another Maker\\Tool]");
        const QByteArray hive = section("[HKEY_LOCAL_MACHINE\\Software\\X]");
        QList<QByteArray> sections = { foreign, hive, "[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Sys]\r\n\"CBH\"=\"1\"" };
        std::shuffle(sections.begin(), sections.end(), rng);
        QByteArray file = "REGEDIT4";
        for (const QByteArray& text : sections)
            file += eol() + (rng.bounded(2) ? eol() : QByteArray()) + text;
        file += rng.bounded(2) ? eol() : QByteArray();
        WriteAll(Path(), file);

        const RegFile::Document before = RegFile::Parse(file);
        const QList<RegResult> results = reg.WriteValues({ { sys, "CBH", RegValue::Text("2") },
            { TesrikSet, "TimeE", RegValue::Text("45") }, { sys, "CBW", RegValue::Text("1") } });
        ASSERT_EQ(results.size(), 3);
        for (const RegResult& r : results)
            ASSERT_TRUE(r.Ok()) << r.message.toStdString();
        const QByteArray after = ReadAll(Path());
        ASSERT_TRUE(after.contains(foreign)) << "file: " << file.toHex().toStdString();
        ASSERT_TRUE(after.contains(hive)) << "file: " << file.toHex().toStdString();
        EXPECT_EQ(reg.ReadValue(sys, "CBH").value.ToText(), "2");
        EXPECT_EQ(reg.ReadValue(TesrikSet, "TimeE").value.ToText(), "45");
        const QStringList names = before.ValueNames(foreignKey);
        ASSERT_EQ(reg.ValueNames(foreignKey).names, names);
        for (const QString& name : names)
            EXPECT_EQ(reg.ReadValue(foreignKey, name).value, before.FindValue(foreignKey, name)->value);
    }
}

TEST_F(RegistryFileTest, AFileThatCannotBeReadIsNeverWrittenOver)
{
    // A folder where the file should be: every access fails clearly, nothing is replaced.
    const QString folder = m_dir.filePath("registry.reg");
    ASSERT_TRUE(QDir().mkpath(folder));
    RegistryFile onFolder(folder);
    const RegValueResult read = onFolder.ReadValue(Tesrik, "v");
    EXPECT_EQ(read.status, RegStatus::Unreadable);
    EXPECT_TRUE(read.message.contains(folder)) << read.message.toStdString();
    EXPECT_EQ(onFolder.OpenKey(Tesrik, RegOpen::Create).status, RegStatus::Unreadable);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A folder that cannot be created: the write fails and says where.
    WriteAll(m_dir.filePath("plain"), "x");
    RegistryFile underFile(m_dir.filePath("plain/registry.reg"));
    EXPECT_FALSE(underFile.KeyExists(Tesrik));
    const RegResult w = underFile.OpenKey(Tesrik, RegOpen::Create);
    EXPECT_EQ(w.status, RegStatus::WriteFailed);
    EXPECT_TRUE(w.message.contains("plain")) << w.message.toStdString();
}

TEST_F(RegistryFileTest, NamesTheFileCannotHoldAreRefused)
{
    ASSERT_TRUE(reg.OpenKey(Tesrik, RegOpen::Create).Ok());
    EXPECT_EQ(reg.WriteValue(Tesrik, "two\nlines", RegValue::Dword(1)).status, RegStatus::InvalidName);
    EXPECT_EQ(reg.WriteValue(Tesrik, QStringLiteral("emoji\U0001F600"), RegValue::Dword(1)).status,
        RegStatus::InvalidName);
    EXPECT_EQ(reg.OpenKey(QStringLiteral("Software\\한국"), RegOpen::Create).status, RegStatus::InvalidName);
    EXPECT_EQ(reg.ValueNames(Tesrik).names, QStringList());
}

TEST_F(RegistryFileTest, InterleavedWritersLoseNothing)
{
    RegistryFile a(Path());
    RegistryFile b(Path());
    ASSERT_TRUE(a.OpenKey(TesrikSet, RegOpen::Create).Ok());
    ASSERT_TRUE(a.WriteValue(TesrikSet, "CB2", RegValue::Text("1")).Ok());
    ASSERT_TRUE(b.WriteValue(TesrikSet, "CB3", RegValue::Text("1")).Ok());
    ASSERT_TRUE(a.WriteValue(TesrikSet, "TimeE", RegValue::Text("15")).Ok());
    ASSERT_TRUE(b.OpenKey(Tesrik + "\\Wav", RegOpen::Create).Ok());
    ASSERT_TRUE(a.WriteValue(Tesrik + "\\Wav", "CB1", RegValue::Text("0")).Ok());
    EXPECT_EQ(b.ValueNames(TesrikSet).names, (QStringList { "CB2", "CB3", "TimeE" }));
    EXPECT_EQ(b.ReadValue(Tesrik + "\\Wav", "CB1").value.ToText(), "0");
}

TEST_F(RegistryFileTest, ConcurrentWritersInThreadsLoseNothing)
{
    ASSERT_TRUE(reg.OpenKey(Tesrik, RegOpen::Create).Ok());
    constexpr int PerWriter = 25;
    auto writer = [this](QString prefix, bool* ok) {
        RegistryFile mine(Path());
        for (int i = 0; i < PerWriter; ++i)
            *ok = mine.WriteValue(Tesrik, prefix + QString::number(i), RegValue::Dword(quint32(i))).Ok()
                && *ok;
    };
    bool ok1 = true;
    bool ok2 = true;
    std::thread t1(writer, QStringLiteral("a"), &ok1);
    std::thread t2(writer, QStringLiteral("b"), &ok2);
    t1.join();
    t2.join();
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
    EXPECT_EQ(reg.ValueNames(Tesrik).names.size(), 2 * PerWriter);
}

// Runs only inside the child processes of the next test: writes values through the
// user's default registry file, which the parent points at a folder of its own through
// XDG_CONFIG_HOME.
// A writer killed between creating its lock file and writing its process id into it leaves
// an empty lock file that no process id can prove stale. Found by the kill test in CI: the
// next writer waited out its ten seconds and the settings of that close were lost.
TEST_F(RegistryFileTest, AnEmptyLockLeftByAKilledWriterDoesNotBlockTheNext)
{
    const QString lockPath = Path() + QStringLiteral(".lock");
    {
        QFile lock(lockPath);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-(RegistryFile::StaleLockMs / 1000 + 2)),
                         QFileDevice::FileModificationTime);
    }
    ASSERT_TRUE(reg.OpenKey(TesrikSet, RegOpen::Create).Ok());
    EXPECT_TRUE(reg.WriteValue(TesrikSet, "CB2", RegValue::Text("1")).Ok());
}

TEST(RegistryFileChild, DISABLED_Writer)
{
    const QString prefix = qEnvironmentVariable("ORBILO_REG_CHILD_PREFIX");
    ASSERT_FALSE(prefix.isEmpty());
    if (qEnvironmentVariableIsSet("ORBILO_REG_CHILD_FILE"))
        Registry::SetUserFileOverride(qEnvironmentVariable("ORBILO_REG_CHILD_FILE"));
    std::unique_ptr<Registry> reg = Registry::User();
    ASSERT_TRUE(reg->OpenKey(Tesrik, RegOpen::Create).Ok());
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(reg->WriteValue(Tesrik, prefix + QString::number(i), RegValue::Text(prefix)).Ok());
}

TEST(RegistryFileProcesses, TwoRunningCopiesLoseNothing)
{
    QTemporaryDir config;
    const QString file = config.filePath("Orbilo/registry.reg");
    QList<QProcess*> children;
    for (const char* prefix : { "p", "q" }) {
        auto* child = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("ORBILO_REG_CHILD_PREFIX", prefix);
#ifdef _WIN32
        // The user's settings are the real registry there: the children are told the file.
        env.insert("ORBILO_REG_CHILD_FILE", file);
#endif
        child->setProcessEnvironment(env);
        child->start(QCoreApplication::applicationFilePath(),
            { "--gtest_filter=RegistryFileChild.DISABLED_Writer", "--gtest_also_run_disabled_tests" });
        children.append(child);
    }
    RegistryFile mine(file);
    ASSERT_TRUE(mine.OpenKey(Tesrik, RegOpen::Create).Ok());
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(mine.WriteValue(Tesrik, "m" + QString::number(i), RegValue::Dword(1)).Ok());
    for (QProcess* child : children) {
        EXPECT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardOutput().toStdString();
        delete child;
    }
    const QStringList names = mine.ValueNames(Tesrik).names;
    EXPECT_EQ(names.size(), 60) << names.join(' ').toStdString();
    EXPECT_EQ(mine.ReadValue(Tesrik, "q19").value.ToText(), "q");
}

TEST(RegistryLocation, DefaultFileFollowsTheUsersConfigFolder)
{
    QTemporaryDir config;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Registry::SetUserFileOverride(QString());
#ifdef _WIN32
    // The settings are the real registry there; the file, asked for, is in the local folder.
    EXPECT_EQ(Registry::UserFilePath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Orbilo/registry.reg");
#else
    EXPECT_EQ(Registry::UserFilePath(), config.path() + "/Orbilo/registry.reg");
#endif
    Registry::SetUserFileOverride(config.filePath("elsewhere.reg"));
    EXPECT_EQ(Registry::UserFilePath(), config.filePath("elsewhere.reg"));
    Registry::SetUserFileOverride(QString());
    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}

} // namespace
