// SPDX-License-Identifier: MIT
// The gradient face keeps its colour table between paints: a box or a button that has
// painted before must still paint exactly as a new one after the system colours change.

// Qt
#include <QPalette>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/BrimBtn.h"
#include "controls/GradBox.h"
#include "PaintTestUtil.h"

using namespace PaintTest;

namespace {

// Classic colours again whatever the test does.
struct ClassicAfter
{
    ~ClassicAfter() { SysColors::UseClassicColors(); }
};

QPalette WithButtonFace(const QColor& face)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, face);
    return palette;
}

template <class Control> QImage Fresh(void (*setUp)(Control&))
{
    Control control;
    setUp(control);
    return Render(control);
}

template <class Control> void ExpectFollowsSystemColours(void (*setUp)(Control&))
{
    ClassicAfter restore;
    SysColors::UseClassicColors();
    Control kept;
    setUp(kept);
    const QImage classic = Render(kept);
    EXPECT_EQ(classic, Fresh(setUp));

    for (const QColor face : { QColor(200, 30, 60), QColor(10, 220, 90) }) {
        SysColors::UseDesktopColors(WithButtonFace(face));
        const QImage now = Render(kept);
        EXPECT_NE(now, classic);
        EXPECT_EQ(now, Fresh(setUp)) << face.name().toStdString();
    }
    SysColors::UseClassicColors();
    EXPECT_EQ(Render(kept), classic);
}

} // namespace

TEST(GradFaceTest, BoxFollowsAChangedSystemColour)
{
    ExpectFollowsSystemColours<TGradBox>([](TGradBox& box) {
        box.resize(60, 38);
        box.SetTopColor(SysColors::clBtnFace);
        box.SetLastColor(SysColors::clBlack);
    });
}

TEST(GradFaceTest, ButtonFollowsAChangedSystemColour)
{
    ExpectFollowsSystemColours<TBrimBtn>([](TBrimBtn& button) {
        button.resize(30, 30);
        button.SetColorCnt(20);
        button.SetTopColor(SysColors::clBtnFace);
        button.SetEndColor(SysColors::clNavy);
    });
}
