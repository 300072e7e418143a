// SPDX-License-Identifier: MIT
#include "controls/FontHeight.h"

// Qt
#include <QFontMetricsF>

#include <cmath>
#include <limits>

namespace FontHeight {

void Apply(QFont& font, int height)
{
    // Heights also come from the stored board font, which may hold any 32-bit value: the
    // arithmetic is done wide and the pixel size kept within int (-INT_MIN does not fit).
    constexpr qint64 largest = std::numeric_limits<int>::max();
    if (height < 0) {
        font.setPixelSize(int(qMin(-qint64(height), largest)));
        return;
    }
    if (height == 0)
        return;
    // Measure the face at a large size, where rounding does not distort the ratio of the
    // cell height (ascent + descent) to the em size.
    constexpr int probe = 1000;
    QFont measured(font);
    measured.setPixelSize(probe);
    const qreal cell = QFontMetricsF(measured).height();
    const qreal em = cell > 0 ? std::round(qreal(height) * probe / cell) : qreal(height);
    font.setPixelSize(int(qBound<qreal>(1, em, qreal(largest))));
}

QFont Make(const QString& family, int height, bool bold, bool italic)
{
    QFont font(family);
    font.setBold(bold);
    font.setItalic(italic);
    Apply(font, height);
    return font;
}

} // namespace FontHeight
