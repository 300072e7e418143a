// SPDX-License-Identifier: MIT
#include "store/FontRecord.h"

// Qt
#include <QtEndian>

// own
#include "platform/Cp932.h"

namespace {

// The longest start of a Shift-JIS text that fits max bytes without splitting a character.
qsizetype FittingLength(const QByteArray& bytes, qsizetype max)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype len = Cp932::IsLeadByte(uchar(bytes.at(i))) && i + 1 < bytes.size() ? 2 : 1;
        if (i + len > max)
            break;
        i += len;
    }
    return i;
}

} // namespace

QByteArray FontRecord::Encode() const
{
    QByteArray out(Size, '\0');
    char* p = out.data();
    qToLittleEndian(Height, p);
    qToLittleEndian(Color, p + 4);
    qToLittleEndian(PixelsPerInch, p + 8);
    p[12] = char(Pitch);
    p[13] = char(Charset);
    p[14] = char(Style);
    const QByteArray name = Cp932::Encode(Name);
    const qsizetype n = FittingLength(name, MaxNameBytes);
    p[15] = char(n);
    std::copy_n(name.constData(), n, p + 16);
    return out;
}

std::optional<FontRecord> FontRecord::Decode(const QByteArray& bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    const char* p = bytes.constData();
    const int n = uchar(p[15]);
    if (n > MaxNameBytes)
        return std::nullopt;
    FontRecord r;
    r.Height = qFromLittleEndian<qint32>(p);
    r.Color = qFromLittleEndian<quint32>(p + 4);
    r.PixelsPerInch = qFromLittleEndian<qint32>(p + 8);
    r.Pitch = quint8(p[12]);
    r.Charset = quint8(p[13]);
    r.Style = quint8(p[14]);
    r.Name = Cp932::Decode(p + 16, n);
    return r;
}
