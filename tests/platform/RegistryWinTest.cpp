// SPDX-License-Identifier: MIT
// The settings in the real Windows registry, as another program (regedit, reg.exe) sees
// them: every setting a REG_SZ of UTF-16 text under its section key, Japanese text
// included; a value of the wrong type read as the default and reported, and replaced by a
// string at the next write. Under a throw-away key of HKEY_CURRENT_USER. Windows only.

// GoogleTest
#include <gtest/gtest.h>

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// Qt
#include <QUuid>

// own
#include "platform/Registry.h"
#include "store/Keys.h"
#include "store/SettingsStore.h"

#include <optional>
#include <utility>

namespace {

std::wstring Wide(const QString& s)
{
    return s.toStdWString();
}

// The value as the system holds it: its type and its bytes.
std::optional<std::pair<DWORD, QByteArray>> Raw(const QString& key, const QString& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(key).c_str(), Wide(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
            nullptr, &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    QByteArray bytes(qsizetype(size), '\0');
    if (RegGetValueW(HKEY_CURRENT_USER, Wide(key).c_str(), Wide(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
            bytes.data(), &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    bytes.resize(qsizetype(size));
    return std::make_pair(type, bytes);
}

QString RawText(const QByteArray& utf16)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()), utf16.size() / 2);
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

class RegistryWinTest : public ::testing::Test
{
protected:
    ~RegistryWinTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(root).c_str()); }

    QString Section(QLatin1String section) const { return root + QLatin1Char('\\') + section; }

    const QString root = QStringLiteral("Software\\OrbiloTest-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
};

TEST_F(RegistryWinTest, EverySettingIsAStringOfItsTextUnderItsSection)
{
    SettingsStore store(Registry::Windows(), root);
    ASSERT_TRUE(store.OpenResult().Ok()) << store.OpenResult().message.toStdString();
    for (const Keys::Setting& key : Keys::All) {
        SCOPED_TRACE(std::string(key.section.data()) + "\\" + key.ident.data());
        const QString text = key.type == Keys::Type::Text ? QStringLiteral("45") : QStringLiteral("1");
        ASSERT_TRUE(store.Write(key, text));
        const auto raw = Raw(Section(key.section), key.ident);
        ASSERT_TRUE(raw);
        EXPECT_EQ(raw->first, DWORD(REG_SZ));
        EXPECT_EQ(RawText(raw->second), text);
        EXPECT_EQ(store.Read(key), text);
    }
    EXPECT_FALSE(store.HasErrors()) << store.ErrorMessage().toStdString();
}

TEST_F(RegistryWinTest, JapaneseTextIsUtf16InTheRegistryAndShiftJisToTheGame)
{
    const QString name = QStringLiteral("ＭＳ Ｐゴシック 甲乙丙");
    auto reg = Registry::Windows();
    ASSERT_TRUE(reg->OpenKey(root, RegOpen::Create).Ok());
    ASSERT_TRUE(reg->WriteValue(root, QStringLiteral("Name"), RegValue::Text(name)).Ok());
    const auto raw = Raw(root, QStringLiteral("Name"));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->first, DWORD(REG_SZ));
    EXPECT_EQ(RawText(raw->second), name);

    // Written by another program in UTF-16, read by the game as its Shift-JIS bytes.
    const std::wstring other = Wide(QStringLiteral("丁戊己"));
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(root).c_str(), L"Other", REG_SZ, other.c_str(),
                  DWORD((other.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
    const RegValueResult read = reg->ReadValue(root, QStringLiteral("Other"));
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.value.data, QByteArray("\x92\x9a\x95\xe8\x8c\xc8", 6) + QByteArray(1, '\0'));
    EXPECT_EQ(read.value.ToText(), QStringLiteral("丁戊己"));
}

// A value someone stored with another type (a DWORD where the game keeps text) is not
// taken for a number: the setting keeps its default, the player is told which value it was,
// and the next save stores the setting as a string again.
TEST_F(RegistryWinTest, AValueOfTheWrongTypeGivesTheDefaultAndIsReplacedByAString)
{
    const DWORD seven = 7;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(Section(Keys::Sys::Section)).c_str(), L"CG1", REG_DWORD,
                  &seven, sizeof seven),
        ERROR_SUCCESS);
    const QByteArray bytes("\x01\x02", 2);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Wide(Section(Keys::Set::Section)).c_str(), L"TimeE", REG_BINARY,
                  bytes.constData(), DWORD(bytes.size())),
        ERROR_SUCCESS);

    SettingsStore store(Registry::Windows(), root);
    EXPECT_EQ(store.Read(Keys::Sys::CG1), Keys::Sys::CG1.defaultValue);
    EXPECT_EQ(store.Read(Keys::Set::TimeE), QString(Keys::Set::TimeE.defaultValue));
    const QString message = store.ErrorMessage();
    EXPECT_TRUE(message.contains(QStringLiteral("REG_DWORD"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("REG_BINARY"))) << message.toStdString();

    ASSERT_TRUE(store.Write(Keys::Sys::CG1, 3));
    const auto raw = Raw(Section(Keys::Sys::Section), QStringLiteral("CG1"));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->first, DWORD(REG_SZ));
    EXPECT_EQ(RawText(raw->second), QStringLiteral("3"));
}

} // namespace

#endif
