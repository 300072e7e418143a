// SPDX-License-Identifier: MIT
// AppStyle: the platform's own widget style, except that the overflow arrows of menu bars and
// tool bars are decoded when they are first drawn instead of when they are asked for. Qt's
// menu bar asks for its overflow button's icon as it is made, and decoding its three images
// was a tenth of the main window's creation; the button shows only when the menus do not
// fit, which in this program's fixed-size window they always do.
#pragma once

// Qt
#include <QProxyStyle>

class AppStyle : public QProxyStyle
{
    Q_OBJECT

public:
    AppStyle();

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
