// SPDX-License-Identifier: MIT
#include "platform/TextLines.h"

namespace TextLines {

QList<QByteArrayView> Split(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char ch = text.at(i);
        if (ch != '\r' && ch != '\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (ch == '\r' && i + 1 < n && text.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return lines;
}

} // namespace TextLines
