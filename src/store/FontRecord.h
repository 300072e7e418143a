// SPDX-License-Identifier: MIT
// The board font as it is stored: one 47-byte binary value, integers little-endian.
//
//   offset  size  field
//        0     4  Height         signed; negative = character height in pixels without
//                                internal leading, positive = cell height
//        4     4  Color          colour value (0x00BBGGRR, or 0x80000000 + system colour)
//        8     4  PixelsPerInch  signed; the resolution the height was taken at
//       12     1  Pitch          0 default, 1 variable, 2 fixed
//       13     1  Charset        128 = Shift-JIS
//       14     1  Style          bit 0 bold, 1 italic, 2 underline, 3 strike-out
//       15    32  Name           length byte n (0..31), n bytes of Shift-JIS, then filler
//
// Qt Core only: the mapping to a QFont is the font component's (controls/NewCtrls.h).
#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

struct FontRecord
{
    static constexpr qsizetype Size = 47;
    static constexpr int MaxNameBytes = 31;

    enum StyleBit : quint8 {
        fsBold = 1,
        fsItalic = 2,
        fsUnderline = 4,
        fsStrikeOut = 8,
    };
    enum Pitch : quint8 {
        fpDefault = 0,
        fpVariable = 1,
        fpFixed = 2,
    };
    static constexpr quint8 ShiftJisCharset = 128;

    qint32 Height = 0;
    quint32 Color = 0;
    qint32 PixelsPerInch = 96;
    quint8 Pitch = fpDefault;
    quint8 Charset = ShiftJisCharset;
    quint8 Style = 0;
    QString Name;

    // The 47 bytes. A name longer than 31 bytes of Shift-JIS is cut to at most 31 at a
    // character boundary (cutting inside a double-byte character would store a name that
    // matches no face); the bytes after the name are zero.
    QByteArray Encode() const;

    // The record held by bytes, or nothing when they cannot be one: not exactly 47 bytes,
    // or a name length above 31. Callers then keep their default font.
    static std::optional<FontRecord> Decode(const QByteArray& bytes);

    friend bool operator==(const FontRecord&, const FontRecord&) = default;
};
