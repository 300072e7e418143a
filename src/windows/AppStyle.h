// SPDX-License-Identifier: MIT
// AppStyle: the platform's own widget style, except that the overflow arrows of menu bars and
// tool bars are decoded when they are first drawn instead of when they are asked for. Qt's
// menu bar asks for its overflow button's icon as it is made, and decoding its three images
// was a tenth of the main window's creation; the button shows only when the menus do not
// fit, which in this program's fixed-size window they always do.
//
// AppColors: the colours of the whole program, painted controls and standard widgets alike.
// By default the classic scheme, whatever the desktop's theme: the painted panels were
// designed around it, and a dark desktop palette under them would put light text on silver.
// With the player's option "デスクトップの配色を使う" the standard widgets keep the desktop's
// palette and every system colour the controls paint with takes its matching role, so a dark
// desktop makes the whole program dark; the colours the layouts name (navy, gray, the
// element colours of the tiles) stay as they are.
#pragma once

// Qt
#include <QPalette>
#include <QProxyStyle>

class AppStyle : public QProxyStyle
{
    Q_OBJECT

public:
    AppStyle();

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

namespace AppColors {

// The palette the desktop gives the program. Taken from the application the first time
// colours are applied, before the program has set a palette of its own; tests give one.
void SetDesktopPalette(const QPalette& palette);
QPalette DesktopPalette();

// Switches the whole program to the desktop's colours or back to the classic ones; every
// widget repaints.
void Apply(bool useDesktop);
bool UsingDesktop();

} // namespace AppColors
