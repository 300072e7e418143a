// SPDX-License-Identifier: MIT
// Rendering a widget for pixel checks: the widget as the window would draw it, over a
// magenta backdrop that no control paints, and colour values as the image stores them.
#pragma once

// Qt
#include <QImage>
#include <QWidget>
// own
#include "controls/SysColors.h"

namespace WidgetImage {

inline QImage Render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    w.render(&image);
    return image;
}

inline QRgb Rgb(ColorValue v)
{
    return SysColors::ToQColor(v).rgb();
}

} // namespace WidgetImage
