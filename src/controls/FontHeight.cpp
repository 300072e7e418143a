// SPDX-License-Identifier: MIT
#include "FontHeight.h"

// Qt
#include <QFontMetricsF>

#include <cmath>

namespace FontHeight {

void Apply(QFont& font, int height)
{
    if (height < 0) {
        font.setPixelSize(-height);
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
    const int em = cell > 0 ? int(std::lround(height * probe / cell)) : height;
    font.setPixelSize(qMax(1, em));
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
