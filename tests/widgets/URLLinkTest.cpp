// SPDX-License-Identifier: MIT
// TURLLink: what a press opens, the hint window's showing rules and the hover colour. The
// opener is replaced, so nothing is launched.

// Qt
#include <QCursor>
#include <QFontMetrics>
#include <QTest>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "controls/ShiftState.h"
#include "controls/URLLink.h"

namespace {

class URLLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TURLLink::SetOpener([this](const QString& target) { m_opened << target; });
        m_window.resize(200, 100);
        m_link = new TURLLink(&m_window);
        m_link->setGeometry(10, 10, 86, 19);
        m_link->SetCaption(QStringLiteral("Brimwell\u3000"));
        m_link->SetLink("https://example.org/support/");
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void TearDown() override
    {
        PointOutside();
        TURLLink::SetOpener(nullptr);
    }

    // Moves the pointer onto the label at (x, y), which delivers the enter and the move.
    void PointAt(int x, int y) { QTest::mouseMove(m_link, QPoint(x, y)); }
    void PointOutside() { QTest::mouseMove(&m_window, QPoint(150, 90)); }

    QWidget m_window;
    TURLLink* m_link = nullptr;
    QStringList m_opened;
};

} // namespace

TEST_F(URLLinkTest, LeftPressOpensTheLinkAndRightPressOpensNothing)
{
    PointAt(5, 5);
    ASSERT_TRUE(m_link->HintShowing());

    QTest::mouseClick(m_link, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_TRUE(m_link->HintShowing()); // a right press leaves the hint window alone

    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(m_opened, QStringList { "https://example.org/support/" });
    EXPECT_FALSE(m_link->HintShowing());
    EXPECT_FALSE(m_link->HintWindow()->isVisible());
}

TEST_F(URLLinkTest, MenuEntryPointOpensLikeALeftPress)
{
    m_link->MouseDown(ShiftState::mbLeft, ShiftState::ssLeft, 0, 0);
    m_link->MouseDown(ShiftState::mbMiddle, ShiftState::ssMiddle, 0, 0);
    EXPECT_EQ(m_opened, QStringList { "https://example.org/support/" });
}

TEST_F(URLLinkTest, MailLinksArePrefixedButTheHintShowsTheAddressAlone)
{
    m_link->SetURLType(tpMAIL);
    m_link->SetLink("support@example.org");
    QFont hintFont = m_link->HintFormFont();
    hintFont.setPixelSize(12);
    m_link->SetHintFormFont(hintFont);

    PointAt(5, 5);
    ASSERT_TRUE(m_link->HintShowing());
    const QFontMetrics metrics(hintFont);
    EXPECT_EQ(m_link->HintWindow()->size(),
        QSize(metrics.horizontalAdvance("support@example.org") + 6, metrics.height() + 3));

    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(m_opened, QStringList { "mailto:support@example.org" });
}

TEST_F(URLLinkTest, HintWindowIsShownOnceBesideThePointerAndDoesNotFollowIt)
{
    QWidget* hint = m_link->HintWindow();
    EXPECT_TRUE(hint->isWindow());
    EXPECT_TRUE(hint->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(hint->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(m_link->HintShowing());

    PointAt(5, 5);
    ASSERT_TRUE(hint->isVisible());
    const QPoint first = m_link->mapToGlobal(QPoint(5, 5)) + QPoint(15, 15);
    EXPECT_EQ(hint->pos(), first);

    PointAt(40, 10);
    EXPECT_EQ(hint->pos(), first);

    // Leaving hides it; the next move shows it again at the new place.
    PointOutside();
    EXPECT_FALSE(hint->isVisible());
    PointAt(40, 10);
    EXPECT_EQ(hint->pos(), m_link->mapToGlobal(QPoint(40, 10)) + QPoint(15, 15));
}

TEST_F(URLLinkTest, HoverColourIsTakenAndTheColourFromBeforeIsRestored)
{
    m_link->SetEnableShowHint(false);
    EXPECT_EQ(m_link->FontColor(), SysColors::clBlue);
    PointAt(5, 5);
    EXPECT_EQ(m_link->FontColor(), SysColors::clRed);
    EXPECT_FALSE(m_link->HintShowing());
    EXPECT_FALSE(m_link->HintWindow()->isVisible());

    // A colour set while hovered is lost on leaving: the one from before comes back.
    m_link->SetFontColor(SysColors::clGreen);
    PointOutside();
    EXPECT_EQ(m_link->FontColor(), SysColors::clBlue);
    EXPECT_EQ(m_link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(URLLinkTest, HintWindowGoesWhenTheLabelOrItsWindowIsHidden)
{
    // No leave need come: a window closed with Enter under a resting pointer sends none.
    int x = 5;
    for (QWidget* hidden : { static_cast<QWidget*>(m_link), static_cast<QWidget*>(&m_window) }) {
        m_window.show();
        m_link->show();
        PointAt(x++, 5);
        ASSERT_TRUE(m_link->HintWindow()->isVisible());
        hidden->hide();
        EXPECT_FALSE(m_link->HintWindow()->isVisible());
        EXPECT_EQ(m_link->FontColor(), SysColors::clBlue);
    }
}
