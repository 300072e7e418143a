// SPDX-License-Identifier: MIT
// The settings store on the portable registry: defaults on a first run, the number rules,
// value types, and writes that go on after one of them fails.

// Qt
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
// GoogleTest
#include <gtest/gtest.h>

// own
#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "platform/RegistryFile.h"
#include "platform/SafeFile.h"

#include <climits>

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    QString Path() const { return m_dir.filePath("registry.reg"); }
    SettingsStore Open() { return SettingsStore(std::make_unique<RegistryFile>(Path()), Keys::Root); }
    // Stores a value of any type directly, as another program or a hand edit would.
    void Put(const QString& section, const QString& ident, const RegValue& value)
    {
        const QString key = Keys::Root + QLatin1Char('\\') + section;
        ASSERT_TRUE(m_reg.OpenKey(key, RegOpen::Create).Ok());
        ASSERT_TRUE(m_reg.WriteValue(key, ident, value).Ok());
    }

    QTemporaryDir m_dir;
    RegistryFile m_reg { Path() };
};

TEST_F(SettingsStoreTest, FirstRunGivesTheDefaultsAndCreatesOnlyTheRootKey)
{
    SettingsStore store = Open();
    EXPECT_TRUE(store.OpenResult().Ok());
    EXPECT_TRUE(m_reg.KeyExists(Keys::Root));
    EXPECT_TRUE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB2));
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB3));
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), "30");
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBH), 0);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBW), 0);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CG1), 1);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::RGC), 0);
    for (const Keys::Setting& key : Keys::All)
        EXPECT_EQ(store.Read(key), key.DefaultText()) << key.ident.data();
    EXPECT_FALSE(store.HasErrors());
    EXPECT_EQ(store.ErrorMessage(), QString());
    // Reads never create their section.
    EXPECT_EQ(m_reg.SubKeyNames(Keys::Root).names, QStringList());
}

// Opened only for reading, a first run creates nothing: the reads give their defaults and
// the first write creates the key it needs.
TEST_F(SettingsStoreTest, ReadingWithoutCreatingLeavesAFirstRunUntouched)
{
    SettingsStore store(std::make_unique<RegistryFile>(Path()), Keys::Root, RegOpen::Existing);
    EXPECT_EQ(store.OpenResult().status, RegStatus::NotFound);
    EXPECT_TRUE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CG1), 1);
    EXPECT_FALSE(store.HasErrors());
    EXPECT_FALSE(QFile::exists(Path()));

    EXPECT_TRUE(store.WriteNumber(Keys::Sys::CBH, 2));
    EXPECT_EQ(Open().ReadNumber(Keys::Sys::CBH), 2);
}

struct NumberCase
{
    const char* text;
    std::optional<int> value;
};

class NumberFromTextTest : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(NumberFromTextTest, Converts)
{
    EXPECT_EQ(SettingsStore::NumberFromText(QString::fromUtf8(GetParam().text)), GetParam().value)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberFromTextTest,
    ::testing::Values(NumberCase { "0x1", 1 }, NumberCase { "0X1f", 31 },
        NumberCase { "0x7FFFFFFF", INT_MAX }, NumberCase { "0xFFFFFFFF", -1 },
        NumberCase { "0x100000000", std::nullopt }, NumberCase { "0x", std::nullopt },
        NumberCase { "0x-1", std::nullopt }, NumberCase { "0x$1", std::nullopt },
        NumberCase { "0x 1", std::nullopt }, NumberCase { "-0x10", std::nullopt },
        NumberCase { " 0x10", std::nullopt }, NumberCase { "$10", 16 }, NumberCase { "-$10", -16 },
        NumberCase { "$FFFFFFFF", -1 }, NumberCase { "-7", -7 }, NumberCase { "+5", 5 },
        NumberCase { "007", 7 }, NumberCase { "0", 0 }, NumberCase { "2147483647", INT_MAX },
        NumberCase { "-2147483648", INT_MIN }, NumberCase { "2147483648", std::nullopt },
        NumberCase { "yes", std::nullopt }, NumberCase { "", std::nullopt }, NumberCase { "-", std::nullopt },
        NumberCase { "$", std::nullopt }, NumberCase { "1.5", std::nullopt },
        NumberCase { "１２", std::nullopt }));

TEST_F(SettingsStoreTest, NumbersAndFlagsFromStoredTexts)
{
    Put("Set", "CB3", RegValue::Text("0x1"));
    Put("Set", "CB2", RegValue::Text("yes"));
    Put("Wav", "CB1", RegValue::Text("0"));
    Put("Sys", "CBH", RegValue::Text("$10"));
    Put("Sys", "CBW", RegValue::Text("-7"));
    Put("Sys", "CG1", RegValue::Text("0x"));
    Put("Sys", "RGC", RegValue::Text("2", RegType::ExpandSz));
    SettingsStore store = Open();
    EXPECT_TRUE(store.ReadFlag(Keys::Set::CB3)); // "0x1" is 1
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB2)); // "yes" is no number: the default
    EXPECT_TRUE(store.ReadFlag("Set", "CB2", true));
    EXPECT_FALSE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBH), 16);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBW), -7);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CG1), 1); // "0x" does not convert
    EXPECT_EQ(store.ReadNumber(Keys::Sys::RGC), 2); // REG_EXPAND_SZ reads as text
    EXPECT_FALSE(store.HasErrors());
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesGiveTheDefaultAndOneReport)
{
    Put("Set", "CB3", RegValue::Dword(1));
    Put("Set", "TimeE", RegValue::Binary("45"));
    Put("Wav", "CB1", RegValue { quint32(RegType::Sz), QByteArray("0\0garbage", 9) });
    SettingsStore store = Open();
    EXPECT_FALSE(store.ReadFlag(Keys::Set::CB3));
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), "30");
    EXPECT_FALSE(store.ReadFlag(Keys::Wav::CB1)); // cut at the NUL: "0"
    ASSERT_EQ(store.Errors().size(), 2);
    EXPECT_EQ(store.Errors().at(0).kind, SettingsError::Kind::WrongType);
    const QString message = store.ErrorMessage();
    EXPECT_TRUE(message.contains("Set\\CB3, Set\\TimeE")) << message.toStdString();
    EXPECT_TRUE(message.contains("REG_DWORD")) << message.toStdString();
    EXPECT_TRUE(message.contains("REG_BINARY")) << message.toStdString();
}

TEST_F(SettingsStoreTest, WrittenSettingsReadBackAsText)
{
    {
        SettingsStore store = Open();
        EXPECT_TRUE(store.WriteFlag(Keys::Wav::CB1, false));
        EXPECT_TRUE(store.WriteFlag(Keys::Set::CB3, true));
        EXPECT_TRUE(store.WriteText(Keys::Set::TimeE, QStringLiteral("１５分")));
        EXPECT_TRUE(store.WriteNumber(Keys::Sys::CG1, 5));
        EXPECT_TRUE(store.WriteNumber(Keys::Sys::CBW, -3));
        EXPECT_FALSE(store.HasErrors());
    }
    EXPECT_EQ(m_reg.ReadValue(Keys::Root + QStringLiteral("\\Wav"), "CB1").value, RegValue::Text("0"));
    EXPECT_EQ(m_reg.ReadValue(Keys::Root + QStringLiteral("\\Set"), "CB3").value, RegValue::Text("1"));
    SettingsStore store = Open();
    EXPECT_FALSE(store.ReadFlag(Keys::Wav::CB1));
    EXPECT_TRUE(store.ReadFlag(Keys::Set::CB3));
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), QStringLiteral("１５分"));
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CG1), 5);
    EXPECT_EQ(store.ReadNumber(Keys::Sys::CBW), -3);
}

// A registry that refuses to set one value name, as a value the system will not take.
class RefusingRegistry final : public Registry
{
public:
    RefusingRegistry(const QString& path, const QString& refused)
        : m_file(path)
        , m_refused(refused)
    {
    }
    RegResult OpenKey(const QString& p, RegOpen m) override { return m_file.OpenKey(p, m); }
    RegNamesResult SubKeyNames(const QString& p) override { return m_file.SubKeyNames(p); }
    RegNamesResult ValueNames(const QString& p) override { return m_file.ValueNames(p); }
    RegResult DeleteKey(const QString& p) override { return m_file.DeleteKey(p); }
    RegValueResult ReadValue(const QString& p, const QString& n) override { return m_file.ReadValue(p, n); }
    RegResult DeleteValue(const QString& p, const QString& n) override { return m_file.DeleteValue(p, n); }
    RegResult WriteValue(const QString& p, const QString& n, const RegValue& v) override
    {
        if (n == m_refused)
            return RegResult::Fail(RegStatus::AccessDenied, "Access is denied.");
        return m_file.WriteValue(p, n, v);
    }

private:
    RegistryFile m_file;
    QString m_refused;
};

TEST_F(SettingsStoreTest, AFailedWriteIsReportedAndTheRestAreStillWritten)
{
    SettingsStore store(std::make_unique<RefusingRegistry>(Path(), "CB2"), Keys::Root);
    EXPECT_TRUE(store.WriteFlag(Keys::Wav::CB1, false));
    EXPECT_FALSE(store.WriteFlag(Keys::Set::CB2, true));
    EXPECT_TRUE(store.WriteFlag(Keys::Set::CB3, true));
    EXPECT_TRUE(store.WriteText(Keys::Set::TimeE, "20"));
    ASSERT_EQ(store.Errors().size(), 1);
    EXPECT_EQ(store.Errors().at(0).kind, SettingsError::Kind::Write);
    EXPECT_EQ(store.ErrorMessage(),
        QStringLiteral("次の設定を保存できませんでした: Set\\CB2\n\nAccess is denied."));

    SettingsStore back = Open();
    EXPECT_FALSE(back.ReadFlag(Keys::Wav::CB1));
    EXPECT_FALSE(back.ReadFlag(Keys::Set::CB2));
    EXPECT_TRUE(back.ReadFlag(Keys::Set::CB3));
    EXPECT_EQ(back.ReadText(Keys::Set::TimeE), "20");
}

// Passes every call on to the system, counting the files put in place.
class CountingIo final : public SafeFile::Io
{
public:
    int replaced = 0;

    int Create(const QString& path, int& handle) override { return System().Create(path, handle); }
    int Write(int handle, const char* data, qsizetype size, qsizetype& written) override
    {
        return System().Write(handle, data, size, written);
    }
    int Sync(int handle) override { return System().Sync(handle); }
    int Size(int handle, qint64& size) override { return System().Size(handle, size); }
    int Close(int handle) override { return System().Close(handle); }
    int Rename(const QString& from, const QString& to) override
    {
        ++replaced;
        return System().Rename(from, to);
    }
    int Remove(const QString& path) override { return System().Remove(path); }
    int SyncFolder(const QString& folder) override { return System().SyncFolder(folder); }

private:
    static SafeFile::Io& System() { return SafeFile::SystemIo(); }
};

// A window's settings written together are one change of the file, however many keys they
// need, and a name the file cannot hold is refused alone.
TEST_F(SettingsStoreTest, SettingsWrittenTogetherAreOneChangeOfTheFile)
{
    SettingsStore store = Open();
    CountingIo io;
    const SafeFile::IoOverride over(io);
    const QString unfit = QStringLiteral("名前\U0001F600");
    EXPECT_FALSE(store.WriteAll({ { Keys::Wav::CB1, false }, { Keys::Set::CB2, true },
        { QStringLiteral("Set"), unfit, QStringLiteral("1") }, { Keys::Set::TimeE, QStringLiteral("45") },
        { Keys::Sys::CBH, 3 } }));
    EXPECT_EQ(io.replaced, 1);
    ASSERT_EQ(store.Errors().size(), 1);
    EXPECT_EQ(store.Errors().at(0).kind, SettingsError::Kind::Write);
    EXPECT_EQ(store.Errors().at(0).ident, unfit);

    SettingsStore back = Open();
    EXPECT_FALSE(back.ReadFlag(Keys::Wav::CB1));
    EXPECT_TRUE(back.ReadFlag(Keys::Set::CB2));
    EXPECT_EQ(back.ReadText(Keys::Set::TimeE), QStringLiteral("45"));
    EXPECT_EQ(back.ReadNumber(Keys::Sys::CBH), 3);
    // The same values again change nothing.
    EXPECT_TRUE(Open().WriteAll({ { Keys::Wav::CB1, false }, { Keys::Sys::CBH, 3 } }));
    EXPECT_EQ(io.replaced, 1);
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeWrittenGivesOneMessage)
{
    // The settings folder's place is taken by a file: no key can be created.
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(std::make_unique<RegistryFile>(m_dir.filePath("blocker/registry.reg")), Keys::Root);
    EXPECT_FALSE(store.OpenResult().Ok());
    EXPECT_TRUE(store.ReadFlag(Keys::Wav::CB1)); // reads still give the defaults
    EXPECT_FALSE(store.HasErrors());
    store.WriteFlag(Keys::Wav::CB1, true);
    store.WriteFlag(Keys::Set::CB2, false);
    store.WriteText(Keys::Set::TimeE, "30");
    EXPECT_EQ(store.Errors().size(), 3);
    const QStringList lines = store.ErrorMessage().split('\n');
    ASSERT_EQ(lines.size(), 3) << store.ErrorMessage().toStdString(); // the list, a blank, one reason
    EXPECT_EQ(lines.at(0), QStringLiteral("次の設定を保存できませんでした: Wav\\CB1, Set\\CB2, Set\\TimeE"));
    EXPECT_TRUE(lines.at(2).contains("blocker")) << lines.at(2).toStdString();
}

TEST_F(SettingsStoreTest, AnUnreadableStoreGivesDefaultsAndAReport)
{
    ASSERT_TRUE(QDir().mkpath(m_dir.filePath("folder.reg")));
    SettingsStore store(std::make_unique<RegistryFile>(m_dir.filePath("folder.reg")), Keys::Root);
    EXPECT_EQ(store.ReadText(Keys::Set::TimeE), "30");
    ASSERT_EQ(store.Errors().size(), 1);
    EXPECT_EQ(store.Errors().at(0).kind, SettingsError::Kind::Read);
    EXPECT_TRUE(store.ErrorMessage().contains("Set\\TimeE"));
}

// Two running copies of the game share the store. Each reads every setting with a memo,
// changes some, and closes, and the first closes again: what a copy changed is stored, the
// other copy's close does not undo it, what neither changed keeps its bytes, and a value
// that was missing or of another type is stored as text after the first close.
TEST_F(SettingsStoreTest, TwoCopiesWriteOnlyWhatEachChanged)
{
    enum class Kind { Number, Flag, Text };
    struct Setting
    {
        Kind kind;
        QString section;
        QString ident;
    };
    const QList<Setting> settings = { { Kind::Number, "Sys", "CBH" }, { Kind::Number, "Sys", "CG1" },
        { Kind::Flag, "Wav", "CB1" }, { Kind::Flag, "Set", "CB2" }, { Kind::Text, "Set", "TimeE" } };
    struct Copy
    {
        SettingsMemo memo;
        QStringList read;
        QStringList values;
    };
    auto readAll = [&](Copy& c) {
        SettingsStore store = Open();
        store.Remember(&c.memo);
        c.read.clear();
        for (const Setting& s : settings) {
            if (s.kind == Kind::Number)
                c.read << QString::number(store.ReadNumber(s.section, s.ident, 1));
            else if (s.kind == Kind::Flag)
                c.read << QString::number(store.ReadFlag(s.section, s.ident, true));
            else
                c.read << store.ReadText(s.section, s.ident, "30");
        }
        c.values = c.read;
    };
    auto writeAll = [&](Copy& c) {
        SettingsStore store = Open();
        store.Remember(&c.memo);
        for (qsizetype i = 0; i < settings.size(); ++i) {
            const Setting& s = settings.at(i);
            if (s.kind == Kind::Number)
                store.WriteNumber(s.section, s.ident, c.values.at(i).toInt());
            else if (s.kind == Kind::Flag)
                store.WriteFlag(s.section, s.ident, c.values.at(i) == "1");
            else
                store.WriteText(s.section, s.ident, c.values.at(i));
        }
        ASSERT_FALSE(store.HasErrors()) << store.ErrorMessage().toStdString();
    };

    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator rng(seed);
    // Every write is a locked, synced file replacement: a few rounds take seconds.
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(m_reg.DeleteKey(Keys::Root).Ok() || !m_reg.KeyExists(Keys::Root));
        QList<std::optional<RegValue>> initial;
        for (const Setting& s : settings) {
            const int state = rng.bounded(4);
            initial << (state == 0 ? std::nullopt
                    : state == 1   ? std::optional(RegValue::Text(s.kind == Kind::Text ? "15" : "0"))
                    : state == 2   ? std::optional(RegValue::Text(s.kind == Kind::Text ? " 15" : "0x1"))
                                   : std::optional(RegValue::Dword(1)));
            if (initial.back())
                Put(s.section, s.ident, *initial.back());
        }
        Copy copies[2];
        readAll(copies[0]);
        readAll(copies[1]);
        bool changed[2][5] = {};
        for (int c = 0; c < 2; ++c) {
            for (qsizetype i = 0; i < settings.size(); ++i) {
                if (rng.bounded(3) != 0)
                    continue;
                const Kind kind = settings.at(i).kind;
                QString& v = copies[c].values[i];
                v = kind == Kind::Flag ? QString::number(v == "0") : QString::number(rng.bounded(2, 9)) + (kind == Kind::Text ? "m" : "");
                changed[c][i] = true;
            }
        }
        const int first = rng.bounded(2);
        const int last = 1 - first;
        writeAll(copies[first]);
        writeAll(copies[last]);
        writeAll(copies[first]); // a second close of the same window, with nothing new

        for (qsizetype i = 0; i < settings.size(); ++i) {
            const Setting& s = settings.at(i);
            const RegValueResult stored = m_reg.ReadValue(Keys::Root + QLatin1Char('\\') + s.section, s.ident);
            SCOPED_TRACE(testing::Message() << "round " << round << ", " << s.ident.toStdString());
            ASSERT_TRUE(stored.Ok());
            if (changed[last][i])
                EXPECT_EQ(stored.value, RegValue::Text(copies[last].values.at(i)));
            else if (changed[first][i])
                EXPECT_EQ(stored.value, RegValue::Text(copies[first].values.at(i)));
            else if (initial.at(i) && initial.at(i)->IsText())
                EXPECT_EQ(stored.value, *initial.at(i));
            else
                EXPECT_EQ(stored.value, RegValue::Text(copies[first].read.at(i)));
        }
    }
}

} // namespace
