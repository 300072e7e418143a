// SPDX-License-Identifier: MIT
// The registry contract: what the settings store and the font component rely on, checked
// against every backend this build has (the file everywhere, the Windows registry on
// Windows under a throw-away key).

// Qt
#include <QTemporaryDir>
#include <QUuid>
// GoogleTest
#include <gtest/gtest.h>

// own
#include "platform/Registry.h"
#include "platform/RegistryFile.h"
#include "RegValuePrinter.h"

namespace {

struct FileBackend
{
    QTemporaryDir dir;
    std::unique_ptr<Registry> Make() { return std::make_unique<RegistryFile>(dir.filePath("registry.reg")); }
    QString Root() const { return QStringLiteral("Software\\OrbiloTest"); }
};

#ifdef Q_OS_WIN
struct WindowsBackend
{
    QString root
        = QStringLiteral("Software\\OrbiloTest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    ~WindowsBackend() { Registry::Windows()->DeleteKey(root); }
    std::unique_ptr<Registry> Make() { return Registry::Windows(); }
    QString Root() const { return root; }
};
using Backends = ::testing::Types<FileBackend, WindowsBackend>;
#else
using Backends = ::testing::Types<FileBackend>;
#endif

template <typename Backend> class RegistryContract : public ::testing::Test
{
protected:
    QString Key(const QString& sub) const { return m_root + QLatin1Char('\\') + sub; }
    // A key that exists, for the value tests.
    QString MadeKey(const QString& sub)
    {
        EXPECT_TRUE(reg->OpenKey(Key(sub), RegOpen::Create).Ok());
        return Key(sub);
    }

    Backend m_backend;
    std::unique_ptr<Registry> reg = m_backend.Make();
    QString m_root = m_backend.Root();
};

TYPED_TEST_SUITE(RegistryContract, Backends);

TYPED_TEST(RegistryContract, MissingKeyIsReportedAndNeverCreatedByReads)
{
    Registry& reg = *this->reg;
    const QString key = this->Key("Missing");
    const RegResult open = reg.OpenKey(key, RegOpen::Existing);
    EXPECT_EQ(open.status, RegStatus::NotFound);
    EXPECT_TRUE(open.message.contains("Missing")) << open.message.toStdString();
    EXPECT_EQ(reg.ReadValue(key, "v").status, RegStatus::NotFound);
    EXPECT_EQ(reg.SubKeyNames(key).status, RegStatus::NotFound);
    EXPECT_EQ(reg.ValueNames(key).status, RegStatus::NotFound);
    EXPECT_EQ(reg.WriteValue(key, "v", RegValue::Dword(1)).status, RegStatus::NotFound);
    EXPECT_FALSE(reg.KeyExists(key));
    EXPECT_TRUE(reg.KeyExists(""));
}

TYPED_TEST(RegistryContract, CreateMakesTheKeyAndItsParents)
{
    Registry& reg = *this->reg;
    ASSERT_TRUE(reg.OpenKey(this->Key("A\\B\\C"), RegOpen::Create).Ok());
    EXPECT_TRUE(reg.KeyExists(this->Key("A")));
    EXPECT_TRUE(reg.KeyExists(this->Key("A\\B\\C")));
    EXPECT_TRUE(reg.OpenKey(this->Key("A\\B"), RegOpen::Existing).Ok());
    EXPECT_TRUE(reg.OpenKey(this->Key("A\\B\\C"), RegOpen::Create).Ok()); // again: still fine
    ASSERT_TRUE(reg.OpenKey(this->Key("A\\D"), RegOpen::Create).Ok());

    const RegNamesResult top = reg.SubKeyNames(this->m_root);
    ASSERT_TRUE(top.Ok());
    EXPECT_EQ(top.names, QStringList { "A" });
    RegNamesResult under = reg.SubKeyNames(this->Key("A"));
    ASSERT_TRUE(under.Ok());
    under.names.sort();
    EXPECT_EQ(under.names, (QStringList { "B", "D" }));
    EXPECT_TRUE(reg.SubKeyNames(this->Key("A\\B\\C")).names.isEmpty());
}

TYPED_TEST(RegistryContract, EveryValueTypeRoundTrips)
{
    Registry& reg = *this->reg;
    const QString key = this->MadeKey("Types");
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QList<std::pair<QString, RegValue>> values = {
        { "Text", RegValue::Text(QStringLiteral("甲乙丙丁　子丑 \"引用\" C:\\ソ\\表")) },
        { "Empty", RegValue::Text(QString()) },
        { "Expand", RegValue::Text(QStringLiteral("%TEMP%\\能力"), RegType::ExpandSz) },
        { "Bytes", RegValue::Binary(all) },
        { "NoBytes", RegValue::Binary(QByteArray()) },
        { "Number", RegValue::Dword(0xDEADBEEF) },
        { "Zero", RegValue::Dword(0) },
        { "", RegValue::Text(QStringLiteral("既定")) },
    };
    for (const auto& [name, value] : values)
        ASSERT_TRUE(reg.WriteValue(key, name, value).Ok()) << name.toStdString();
    for (const auto& [name, value] : values) {
        const RegValueResult r = reg.ReadValue(key, name);
        ASSERT_TRUE(r.Ok()) << name.toStdString() << ": " << r.message.toStdString();
        EXPECT_EQ(r.value.type, value.type) << name.toStdString();
        EXPECT_EQ(r.value.data, value.data) << name.toStdString();
    }
    EXPECT_EQ(
        reg.ReadValue(key, "Text").value.ToText(), QStringLiteral("甲乙丙丁　子丑 \"引用\" C:\\ソ\\表"));
    EXPECT_EQ(reg.ReadValue(key, "Number").value.ToDword(), 0xDEADBEEFu);
    EXPECT_EQ(reg.ValueNames(key).names.size(), values.size());
}

TYPED_TEST(RegistryContract, WriteReplacesAValueOfAnyType)
{
    Registry& reg = *this->reg;
    const QString key = this->MadeKey("Replace");
    ASSERT_TRUE(reg.WriteValue(key, "CB1", RegValue::Dword(1)).Ok());
    ASSERT_TRUE(reg.WriteValue(key, "CB1", RegValue::Text("0")).Ok());
    const RegValueResult r = reg.ReadValue(key, "CB1");
    EXPECT_EQ(r.value, RegValue::Text("0"));
    EXPECT_EQ(reg.ValueNames(key).names, QStringList { "CB1" });
}

TYPED_TEST(RegistryContract, NamesIgnoreCase)
{
    Registry& reg = *this->reg;
    const QString key = this->MadeKey("Case\\Sub");
    ASSERT_TRUE(reg.WriteValue(key, "TimeE", RegValue::Text("30")).Ok());
    EXPECT_EQ(reg.ReadValue(key.toLower(), "TIMEE").value.ToText(), QStringLiteral("30"));
    ASSERT_TRUE(reg.WriteValue(key.toUpper(), "timee", RegValue::Text("45")).Ok());
    EXPECT_EQ(reg.ValueNames(key).names.size(), 1);
    EXPECT_EQ(reg.ReadValue(key, "TimeE").value.ToText(), QStringLiteral("45"));
}

TYPED_TEST(RegistryContract, DeleteValueAndKey)
{
    Registry& reg = *this->reg;
    const QString key = this->MadeKey("Del\\Inner");
    ASSERT_TRUE(reg.WriteValue(key, "x", RegValue::Dword(7)).Ok());
    ASSERT_TRUE(reg.WriteValue(key, "y", RegValue::Dword(8)).Ok());
    EXPECT_TRUE(reg.DeleteValue(key, "x").Ok());
    EXPECT_FALSE(reg.ValueExists(key, "x"));
    EXPECT_TRUE(reg.ValueExists(key, "y"));
    EXPECT_EQ(reg.DeleteValue(key, "x").status, RegStatus::NotFound);

    EXPECT_TRUE(reg.DeleteKey(this->Key("Del")).Ok());
    EXPECT_FALSE(reg.KeyExists(key));
    EXPECT_FALSE(reg.KeyExists(this->Key("Del")));
    EXPECT_TRUE(reg.KeyExists(this->m_root));
    EXPECT_EQ(reg.DeleteKey(this->Key("Del")).status, RegStatus::NotFound);
    EXPECT_FALSE(reg.DeleteKey("").Ok());
}

TYPED_TEST(RegistryContract, MalformedPathsAreRefused)
{
    Registry& reg = *this->reg;
    for (const QString& path : { this->m_root + "\\", "\\" + this->m_root, this->m_root + "\\\\x" }) {
        EXPECT_EQ(reg.OpenKey(path, RegOpen::Create).status, RegStatus::InvalidName) << path.toStdString();
        EXPECT_EQ(reg.ReadValue(path, "v").status, RegStatus::InvalidName) << path.toStdString();
    }
    EXPECT_EQ(reg.OpenKey(this->Key(QString(256, 'k')), RegOpen::Create).status, RegStatus::InvalidName);
}

TYPED_TEST(RegistryContract, TwoInstancesSeeEachOthersChangesAtOnce)
{
    std::unique_ptr<Registry> other = this->m_backend.Make();
    const QString key = this->MadeKey("Shared");
    ASSERT_TRUE(this->reg->WriteValue(key, "a", RegValue::Text("1")).Ok());
    EXPECT_EQ(other->ReadValue(key, "a").value.ToText(), QStringLiteral("1"));
    ASSERT_TRUE(other->WriteValue(key, "b", RegValue::Text("2")).Ok());
    ASSERT_TRUE(this->reg->WriteValue(key, "c", RegValue::Text("3")).Ok());
    for (const char* name : { "a", "b", "c" })
        EXPECT_TRUE(other->ValueExists(key, name)) << name;
}

} // namespace
