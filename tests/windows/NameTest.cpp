// SPDX-License-Identifier: MIT
// The name entry: its sound and login name on every showing, the comma and line breaks
// kept out of names, Enter not closing, and the name taken however the dialog closes.

// Qt
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
// GoogleTest
#include <gtest/gtest.h>
// own
#include "windows/Name.h"

namespace {

class NameTest : public ::testing::Test
{
protected:
    NameTest()
    {
        form.SetPlayWave([this](Sound sound) { waves.append(sound); });
        form.SetLoginName([this] { return login; });
    }

    TNameF form;
    QList<Sound> waves;
    QString login = QStringLiteral("tanaka");
};

TEST_F(NameTest, DialogAsDesigned)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ランキング登録の名前を入力してください"));
    EXPECT_EQ(form.size(), QSize(317, 43));
    EXPECT_EQ(form.Edit1()->width(), 209);
    EXPECT_EQ(form.OKBtn()->text(), QStringLiteral("OK"));
    EXPECT_FALSE(form.OKBtn()->isDefault());
    EXPECT_FALSE(form.OKBtn()->autoDefault());
    EXPECT_TRUE(QRect(0, 0, 317, 43).contains(form.OKBtn()->geometry()));
    EXPECT_TRUE(QRect(0, 0, 317, 43).contains(form.Edit1()->geometry()));
}

TEST_F(NameTest, EveryShowingPlaysSound4AndOffersTheLoginName)
{
    int shown = 0;
    auto closeSoon = [&] {
        QTimer::singleShot(0, &form, [&] {
            ++shown;
            EXPECT_EQ(form.Edit1()->text(), login);
            EXPECT_EQ(form.Edit1()->selectedText(), login); // typing replaces it
            form.OKBtn()->click();
        });
    };
    closeSoon();
    EXPECT_EQ(form.Execute(), QStringLiteral("tanaka"));
    login.clear(); // no login name: the box starts empty
    closeSoon();
    EXPECT_EQ(form.Execute(), QString());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(waves, QList<Sound>({ Sound::Notice, Sound::Notice }));
}

TEST_F(NameTest, CommaBecomesFullWidthAndLineBreaksCannotBeEntered)
{
    form.show();
    QTest::keyClicks(form.Edit1(), QStringLiteral(",x"));
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("，x"));
    EXPECT_EQ(form.Edit1()->cursorPosition(), 2);
    form.Edit1()->setCursorPosition(1);
    form.Edit1()->insert(QStringLiteral("a\r\nb,c"));
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("，ab，cx"));
    EXPECT_EQ(form.Edit1()->cursorPosition(), 5);
    form.hide();
}

TEST_F(NameTest, EnterDoesNotCloseAndTheCloseBoxStillGivesTheName)
{
    QTimer::singleShot(0, &form, [&] {
        form.Edit1()->setText(QStringLiteral("suzuki"));
        QTest::keyClick(form.Edit1(), Qt::Key_Return);
        QTest::keyClick(form.Edit1(), Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        form.close(); // the close box
    });
    EXPECT_EQ(form.Execute(), QStringLiteral("suzuki"));
}

} // namespace
