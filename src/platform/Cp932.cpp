// SPDX-License-Identifier: MIT
// Code page 932 through iconv on POSIX (exact: Qt's ICU converter maps the control bytes
// 1A, 1C and 7F differently) and through the system conversion on Windows.

#include "platform/Cp932.h"

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <iconv.h>
#include <cerrno>
#endif

namespace Cp932 {

#ifdef Q_OS_WIN

QByteArray Encode(const QString& text)
{
    if (text.isEmpty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = WideCharToMultiByte(932, 0, wide, int(text.size()), nullptr, 0, "?", nullptr);
    QByteArray out(size, Qt::Uninitialized);
    WideCharToMultiByte(932, 0, wide, int(text.size()), out.data(), size, "?", nullptr);
    return out;
}

QString Decode(const char* data, qsizetype size)
{
    if (size <= 0)
        return {};
    const int len = MultiByteToWideChar(932, 0, data, int(size), nullptr, 0);
    QString out(len, Qt::Uninitialized);
    MultiByteToWideChar(932, 0, data, int(size), reinterpret_cast<wchar_t*>(out.data()), len);
    return out;
}

#else

namespace {

// One conversion descriptor per direction for the life of the program; the game has one
// user-interface thread, and iconv descriptors are not shared with any other.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return m_cd; }
    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

Converter& ToCp932()
{
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& FromCp932()
{
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

} // namespace

QByteArray Encode(const QString& text)
{
    if (text.isEmpty())
        return {};
    Converter& conv = ToCp932();
    if (!conv.IsValid())
        return text.toLatin1();
    conv.Reset();

    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    char buffer[256];
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(conv.Handle(), &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, qsizetype(dst - buffer));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // Unmappable or malformed: write "?" for the one character and go on after it.
        out.append('?');
        const auto lead = static_cast<unsigned char>(*in);
        size_t skip = 1;
        if (lead >= 0xF0)
            skip = 4;
        else if (lead >= 0xE0)
            skip = 3;
        else if (lead >= 0xC0)
            skip = 2;
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
        conv.Reset();
    }
    return out;
}

QString Decode(const char* data, qsizetype size)
{
    if (size <= 0)
        return {};
    Converter& conv = FromCp932();
    if (!conv.IsValid())
        return QString::fromLatin1(data, size);
    conv.Reset();

    QByteArray utf8;
    utf8.reserve(size * 3 / 2 + 4);
    char buffer[512];
    char* in = const_cast<char*>(data);
    size_t inLeft = size_t(size);
    static const char replacement[] = "\xEF\xBF\xBD"; // U+FFFD
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(conv.Handle(), &in, &inLeft, &dst, &dstLeft);
        utf8.append(buffer, qsizetype(dst - buffer));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // EILSEQ (an invalid byte) or EINVAL (a lead byte cut off at the end): one
        // replacement character for the one byte, then carry on with the next.
        utf8.append(replacement, 3);
        ++in;
        --inLeft;
        conv.Reset();
    }
    return QString::fromUtf8(utf8);
}

#endif

QString Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

} // namespace Cp932
