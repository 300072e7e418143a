// SPDX-License-Identifier: MIT
// The program's style defers the overflow arrows of menu bars until they are drawn; drawn,
// they are the platform style's own, and every other icon is the platform style's at once.

#include "windows/AppStyle.h"

// Qt
#include <QImage>
#include <QMenuBar>
#include <QPixmap>

// GoogleTest
#include <gtest/gtest.h>

#include <memory>

TEST(AppStyleTest, OverflowArrowsAreTheBaseStylesOnceDrawn)
{
    AppStyle style;
    const QStyle* base = style.baseStyle();
    ASSERT_NE(base, nullptr);
    for (auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QIcon deferred = style.standardIcon(which);
        EXPECT_FALSE(deferred.isNull());
        const QIcon own = base->standardIcon(which);
        const QImage drawn = deferred.pixmap(QSize(16, 16)).toImage();
        EXPECT_FALSE(drawn.isNull());
        EXPECT_EQ(drawn, own.pixmap(QSize(16, 16)).toImage()) << which;
        EXPECT_EQ(deferred.actualSize(QSize(32, 32)), own.actualSize(QSize(32, 32)));
        // A copy of the icon draws the same.
        const QIcon copy = deferred;
        EXPECT_EQ(copy.pixmap(QSize(16, 16)).toImage(), drawn);
    }
    const QImage warning = style.standardIcon(QStyle::SP_MessageBoxWarning).pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(warning, base->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(QSize(32, 32)).toImage());
}

TEST(AppStyleTest, AMenuBarWorksUnderIt)
{
    const auto style = std::make_unique<AppStyle>(); // outlives the bar
    QMenuBar bar;
    bar.setStyle(style.get());
    bar.addMenu(QStringLiteral("ファイル(&F)"));
    bar.resize(bar.sizeHint());
    QPixmap shot(bar.size());
    bar.render(&shot);
    EXPECT_FALSE(shot.isNull());
}
