// SPDX-License-Identifier: MIT
// The Windows registry backend (built on Windows only). Every operation opens its key under
// HKEY_CURRENT_USER, does its work and closes it again, as the game's store always has.
// The wide calls are used throughout; text values are converted between the registry's
// UTF-16 and the Shift-JIS bytes of the interface with our own codec, so the game sees the
// same bytes whatever the system's ANSI code page is.

// RegDeleteTreeW needs Vista's headers; the min/max macros would clash with the library.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include "platform/Registry.h"

// Qt
#include <QVarLengthArray>

// own
#include "platform/Cp932.h"

#include <windows.h>

#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif

namespace {

// utf16() is NUL-terminated; a null QString gets the empty string rather than a null
// pointer, which the calls would read as "no subkey" or "the default value" by accident.
const wchar_t* Wide(const QString& text)
{
    return text.isEmpty() ? L"" : reinterpret_cast<const wchar_t*>(text.utf16());
}

QString KeyText(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("HKEY_CURRENT_USER")
                          : QStringLiteral("HKEY_CURRENT_USER\\") + path;
}

QString SystemText(LONG code)
{
    wchar_t* buffer = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        DWORD(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text
        = size ? QString::fromWCharArray(buffer, int(size)).trimmed() : QStringLiteral("error %1").arg(code);
    if (buffer)
        LocalFree(buffer);
    return text;
}

RegResult Failure(LONG code, const QString& what)
{
    RegStatus status = RegStatus::Failed;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        status = RegStatus::NotFound;
        break;
    case ERROR_ACCESS_DENIED:
        status = RegStatus::AccessDenied;
        break;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        status = RegStatus::InvalidName;
        break;
    default:
        break;
    }
    return RegResult::Fail(status, what + QStringLiteral(": ") + SystemText(code));
}

RegResult BadPath(const QString& path)
{
    return RegResult::Fail(
        RegStatus::InvalidName, QStringLiteral("\"%1\" is not a valid key path.").arg(path));
}

template <typename T> T With(const RegResult& r)
{
    T t;
    static_cast<RegResult&>(t) = r;
    return t;
}

bool IsTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// An open key, closed when it goes out of scope.
class Key
{
public:
    Key() = default;
    ~Key()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Opens with full access where allowed and falls back to reading, as the game's store did.
LONG OpenExisting(const QString& path, REGSAM access, Key& key)
{
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, access | KEY_WRITE, key.Out());
    if (rc == ERROR_ACCESS_DENIED)
        rc = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, access, key.Out());
    return rc;
}

class RegistryWin final : public Registry
{
public:
    RegResult OpenKey(const QString& path, RegOpen mode) override
    {
        if (!RegPath::Split(path))
            return BadPath(path);
        Key key;
        LONG rc;
        if (mode == RegOpen::Create)
            rc = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr);
        else
            rc = OpenExisting(path, KEY_READ, key);
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot open %1").arg(KeyText(path)));
        return RegResult::Success();
    }

    RegNamesResult SubKeyNames(const QString& path) override { return Names(path, true); }

    RegNamesResult ValueNames(const QString& path) override { return Names(path, false); }

    RegResult DeleteKey(const QString& path) override
    {
        if (!RegPath::Split(path))
            return BadPath(path);
        if (path.isEmpty())
            return RegResult::Fail(
                RegStatus::AccessDenied, QStringLiteral("HKEY_CURRENT_USER itself cannot be deleted."));
        const LONG rc = RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path));
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot delete %1").arg(KeyText(path)));
        return RegResult::Success();
    }

    RegValueResult ReadValue(const QString& path, const QString& name) override
    {
        if (!RegPath::Split(path))
            return With<RegValueResult>(BadPath(path));
        Key key;
        LONG rc = OpenExisting(path, KEY_READ, key);
        if (rc != ERROR_SUCCESS)
            return With<RegValueResult>(Failure(rc, QStringLiteral("Cannot open %1").arg(KeyText(path))));
        DWORD type = REG_NONE;
        DWORD size = 0;
        QByteArray data;
        // The value may grow between the size query and the read: ask again until it fits.
        for (;;) {
            rc = RegQueryValueExW(key.Get(), Wide(name), nullptr, &type, nullptr, &size);
            if (rc != ERROR_SUCCESS)
                break;
            data.resize(qsizetype(size));
            DWORD got = size;
            rc = RegQueryValueExW(
                key.Get(), Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
            if (rc == ERROR_MORE_DATA)
                continue;
            data.resize(qsizetype(got));
            break;
        }
        if (rc != ERROR_SUCCESS)
            return With<RegValueResult>(
                Failure(rc, QStringLiteral("Cannot read \"%1\" in %2").arg(name, KeyText(path))));
        RegValueResult r;
        r.value.type = type;
        if (IsTextType(type)) {
            const QString text
                = QString::fromUtf16(reinterpret_cast<const char16_t*>(data.constData()), data.size() / 2);
            r.value.data = Cp932::Encode(text);
        } else {
            r.value.data = data;
        }
        return r;
    }

    RegResult WriteValue(const QString& path, const QString& name, const RegValue& value) override
    {
        if (!RegPath::Split(path))
            return BadPath(path);
        Key key;
        LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, KEY_SET_VALUE, key.Out());
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot open %1").arg(KeyText(path)));
        QByteArray data = value.data;
        if (IsTextType(value.type)) {
            const QString text = Cp932::Decode(value.data);
            data = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        }
        rc = RegSetValueExW(key.Get(), Wide(name), 0, value.type,
            reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size()));
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot write \"%1\" in %2").arg(name, KeyText(path)));
        return RegResult::Success();
    }

    RegResult DeleteValue(const QString& path, const QString& name) override
    {
        if (!RegPath::Split(path))
            return BadPath(path);
        Key key;
        LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path), 0, KEY_SET_VALUE, key.Out());
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot open %1").arg(KeyText(path)));
        rc = RegDeleteValueW(key.Get(), Wide(name));
        if (rc != ERROR_SUCCESS)
            return Failure(rc, QStringLiteral("Cannot delete \"%1\" in %2").arg(name, KeyText(path)));
        return RegResult::Success();
    }

private:
    RegNamesResult Names(const QString& path, bool subKeys)
    {
        if (!RegPath::Split(path))
            return With<RegNamesResult>(BadPath(path));
        Key key;
        LONG rc = OpenExisting(path, KEY_READ, key);
        if (rc != ERROR_SUCCESS)
            return With<RegNamesResult>(Failure(rc, QStringLiteral("Cannot open %1").arg(KeyText(path))));
        DWORD maxSubKey = 0;
        DWORD maxValueName = 0;
        rc = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr,
            &maxValueName, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS)
            return With<RegNamesResult>(Failure(rc, QStringLiteral("Cannot list %1").arg(KeyText(path))));
        RegNamesResult r;
        QVarLengthArray<wchar_t, 256> buffer(qsizetype(qMax(maxSubKey, maxValueName)) + 1);
        for (DWORD i = 0;; ++i) {
            DWORD length = DWORD(buffer.size());
            rc = subKeys
                ? RegEnumKeyExW(key.Get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                : RegEnumValueW(key.Get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc == ERROR_MORE_DATA) {
                // A name added since the query: make room and read this index again.
                buffer.resize(buffer.size() * 2);
                --i;
                continue;
            }
            if (rc != ERROR_SUCCESS)
                return With<RegNamesResult>(Failure(rc, QStringLiteral("Cannot list %1").arg(KeyText(path))));
            r.names.append(QString::fromWCharArray(buffer.data(), int(length)));
        }
        return r;
    }
};

} // namespace

std::unique_ptr<Registry> Registry::Windows()
{
    return std::make_unique<RegistryWin>();
}
