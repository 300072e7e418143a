// SPDX-License-Identifier: MIT
// A key of another program in the settings file, holding many values: what a shared settings
// file can carry besides the game's own keys, and what the game must read past quickly.
#pragma once

// Qt
#include <QByteArray>

// The section of a key holding count values, as a regedit export writes them: paths, numbers
// and short binary values, about 55 bytes a value.
inline QByteArray ForeignKey(int count)
{
    QByteArray out = "\r\n[HKEY_CURRENT_USER\\Software\\Another Maker\\Another Program\\Recent]\r\n";
    out.reserve(out.size() + qsizetype(count) * 56);
    for (int i = 0; i < count; ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(7, '0');
        out += "\"Item" + number + "\"=";
        switch (i % 8) {
        case 5:
        case 6:
            out += "dword:" + QByteArray::number(uint(i) * 2654435761u, 16).rightJustified(8, '0');
            break;
        case 7:
            out += "hex:" + number.toHex(',');
            break;
        default:
            out += "\"C:\\\\Users\\\\player\\\\Documents\\\\notes-" + number + ".txt\"";
            break;
        }
        out += "\r\n";
    }
    return out;
}
