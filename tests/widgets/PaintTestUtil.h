// SPDX-License-Identifier: MIT
// Helpers for the painted controls' tests: render a widget into an image over a known
// background, read pixels as colour values, and count the paints a change causes.
#pragma once

// Qt
#include <QCoreApplication>
#include <QImage>
#include <QWidget>
// own
#include "controls/SysColors.h"

namespace PaintTest {

// A colour no control draws by default, to tell "not painted" apart.
constexpr ColorValue Backdrop = 0x00123456;

// The widget and its children as the parent would show them, over the backdrop (the
// widget's own background is not filled first, as on screen for a windowless control).
inline QImage Render(QWidget& widget, ColorValue backdrop = Backdrop)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(SysColors::ToQColor(backdrop));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline ColorValue At(const QImage& image, int x, int y)
{
    return SysColors::FromQColor(image.pixelColor(x, y));
}

// Lets pending update requests turn into paints.
inline void Flush()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Whether every pixel of the row has one colour, and that colour.
inline bool RowIs(const QImage& image, int y, ColorValue color, int from = 0, int to = -1)
{
    if (to < 0)
        to = image.width() - 1;
    for (int x = from; x <= to; ++x) {
        if (At(image, x, y) != SysColors::ToRgbValue(color))
            return false;
    }
    return true;
}

// Bounding box of the pixels that differ from the given colour.
inline QRect PaintedBox(const QImage& image, ColorValue background)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (At(image, x, y) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace PaintTest
