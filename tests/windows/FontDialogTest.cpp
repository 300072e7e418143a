// SPDX-License-Identifier: MIT
// The font dialog: what the player did not touch comes back as it went in (pixel size,
// face name, a colour outside the list), and the colour list is the system dialog's.

#include "windows/AppInfo.h"
#include "windows/FontDialog.h"

// Qt
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
// GoogleTest
#include <gtest/gtest.h>

TEST(FontDialogTest, ColourListIsTheSixteenColoursInOrder)
{
    FontDialog dialog;
    const QStringList names{QStringLiteral("黒"), QStringLiteral("茶"), QStringLiteral("緑"),
                            QStringLiteral("オリーブ"), QStringLiteral("紺"), QStringLiteral("紫"),
                            QStringLiteral("青緑"), QStringLiteral("灰色"), QStringLiteral("銀"),
                            QStringLiteral("赤"), QStringLiteral("黄緑"), QStringLiteral("黄"),
                            QStringLiteral("青"), QStringLiteral("赤紫"), QStringLiteral("水色"),
                            QStringLiteral("白")};
    ASSERT_EQ(dialog.ColorBox()->count(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(dialog.ColorBox()->itemText(i), names[i]) << i;
    EXPECT_EQ(FontDialog::Colors()[3].value, 0x008080u);  // olive
    EXPECT_EQ(FontDialog::Colors()[5].value, 0x800080u);  // purple
    EXPECT_EQ(FontDialog::Colors()[13].value, 0xFF00FFu); // fuchsia
    EXPECT_EQ(FontDialog::Colors()[4].value, SysColors::clNavy);
}

TEST(FontDialogTest, UntouchedChoicesComeBackAsTheyWentIn)
{
    FontDialog dialog;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(13); // no whole point size at 96 dpi
    dialog.SetFont(font);
    dialog.SetColor(SysColors::clWindowText); // a system colour: shown as the colour it is
    EXPECT_EQ(dialog.ColorBox()->count(), 16);
    EXPECT_EQ(dialog.ColorBox()->currentText(), QStringLiteral("黒"));

    const QFont back = dialog.SelectedFont();
    EXPECT_EQ(back.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(back.pixelSize(), 13);
    EXPECT_EQ(dialog.SelectedColor(), SysColors::clWindowText);

    // A colour off the list is listed as custom and kept.
    dialog.SetColor(SysColors::Rgb(0x12, 0x34, 0x56));
    EXPECT_EQ(dialog.ColorBox()->count(), 17);
    EXPECT_EQ(dialog.ColorBox()->currentText(), QStringLiteral("カスタム"));
    EXPECT_EQ(dialog.SelectedColor(), SysColors::Rgb(0x12, 0x34, 0x56));
    dialog.ColorBox()->setCurrentIndex(15);
    EXPECT_EQ(dialog.SelectedColor(), SysColors::clWhite);

    // A listed colour selects its entry and drops the custom one.
    dialog.SetColor(SysColors::clMaroon);
    EXPECT_EQ(dialog.ColorBox()->count(), 16);
    EXPECT_EQ(dialog.ColorBox()->currentText(), QStringLiteral("茶"));
    EXPECT_EQ(dialog.SelectedColor(), SysColors::clMaroon);
}

TEST(FontDialogTest, ChangedSizeAndEffectsComeBackInPixels)
{
    FontDialog dialog;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    dialog.SetFont(font);

    QFont picked = dialog.FontChooser()->currentFont();
    picked.setPointSize(27);
    picked.setStrikeOut(true);
    picked.setUnderline(true);
    dialog.FontChooser()->setCurrentFont(picked);
    dialog.ColorBox()->setCurrentIndex(9);

    const QFont back = dialog.SelectedFont();
    const double dpi = dialog.logicalDpiY() > 0 ? dialog.logicalDpiY() : 96.0;
    EXPECT_EQ(back.pixelSize(), qRound(27 * dpi / 72.0));
    EXPECT_TRUE(back.strikeOut());
    EXPECT_TRUE(back.underline());
    EXPECT_EQ(dialog.SelectedColor(), SysColors::clRed);
    // The sample shows the colour.
    auto* sample = dialog.FontChooser()->findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST(FontDialogTest, EscAndReturnCloseTheWholeDialog)
{
    FontDialog dialog;
    dialog.show();
    auto* familyEdit = dialog.FontChooser()->findChild<QLineEdit*>();
    ASSERT_NE(familyEdit, nullptr);
    QTest::keyClick(familyEdit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.FontChooser()->isVisibleTo(&dialog));

    dialog.show();
    QTest::keyClick(familyEdit, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(FontDialogTest, StockTextsSpeakJapaneseWithQtsCatalogue)
{
    EXPECT_EQ(AppInfo::InstallQtTranslation(QStringLiteral("/nonexistent")), nullptr); // runs on in English
    QTranslator* translator = AppInfo::InstallQtTranslation(); // qt6-translations-l10n
    ASSERT_NE(translator, nullptr);
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    FontDialog dialog;
    QStringList texts { box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text() };
    for (const QComboBox* combo : dialog.FontChooser()->findChildren<QComboBox*>())
        if (combo != dialog.ColorBox())
            texts << combo->itemText(0); // the writing systems, "Any" in English
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(texts.value(0).startsWith(QStringLiteral("はい")) && texts.value(1).startsWith(QStringLiteral("いいえ")))
        << texts.join(' ').toStdString();
    EXPECT_EQ(texts.value(2), QStringLiteral("すべて"));
}
