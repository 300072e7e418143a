// SPDX-License-Identifier: MIT
// The help document compiled into the program and the help window that shows it.

#include "windows/HelpViewer.h"

// Qt
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
// GoogleTest
#include <gtest/gtest.h>

namespace {

QString ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QPushButton* ButtonByText(QWidget* window, const QString& text)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->text().contains(text))
            return button;
    }
    return nullptr;
}

QStringList HelpPages()
{
    QStringList pages;
    QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")});
    while (it.hasNext())
        pages << it.next();
    pages.sort();
    return pages;
}

} // namespace

// Every page a help context maps to exists, and an unknown context falls back to the contents.
TEST(HelpDocumentTest, ContextsMapToPagesThatExist)
{
    for (int context : {Help::Contents, Help::Rules, Help::Scoring, Help::Commands, Help::Settings, Help::Ranking,
                        Help::Files}) {
        const QUrl url = Help::PageUrl(context);
        EXPECT_EQ(url.scheme(), QStringLiteral("qrc")) << context;
        EXPECT_TRUE(QFile::exists(QLatin1Char(':') + url.path())) << qPrintable(url.toString());
    }
    EXPECT_EQ(Help::PageUrl(Help::Contents), QUrl(QStringLiteral("qrc:/help/index.html")));
    EXPECT_EQ(Help::PageUrl(0), Help::PageUrl(Help::Contents));
    EXPECT_EQ(Help::PageUrl(12345), Help::PageUrl(Help::Contents));
    // The link labels show the support page's address to the player: it says what it opens.
    EXPECT_EQ(SupportPageUrl().toString(), QStringLiteral("help:目次"));
}

// A dead link or anchor in the help is a fault a player meets at once: check every one.
TEST(HelpDocumentTest, EveryLinkAndAnchorResolves)
{
    const QStringList pages = HelpPages();
    ASSERT_GE(pages.size(), 7);
    const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""));

    for (const QString& page : pages) {
        const QString html = ReadResource(page);
        ASSERT_FALSE(html.isEmpty()) << qPrintable(page);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << qPrintable(page);
        for (auto m = href.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.contains(QLatin1Char(':')))
                continue; // an address outside the help
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? target : target.left(hash);
            const QString path = file.isEmpty() ? page : QStringLiteral(":/help/") + file;
            ASSERT_TRUE(QFile::exists(path)) << qPrintable(page) << " links to missing " << qPrintable(target);
            if (hash >= 0) {
                const QString anchor = target.mid(hash + 1);
                QSet<QString> anchors;
                for (auto n = name.globalMatch(ReadResource(path)); n.hasNext();)
                    anchors.insert(n.next().captured(1));
                EXPECT_TRUE(anchors.contains(anchor)) << qPrintable(page) << " links to missing anchor " << qPrintable(target);
            }
        }
    }
}

// The help tells the player the texts the program shows, so those must match it exactly.
TEST(HelpDocumentTest, QuotesTheProgramsOwnTexts)
{
    const QString commands = ReadResource(QStringLiteral(":/help/commands.html"));
    for (const char* caption : {"スタート(<u>N</u>)", "元に戻す(<u>R</u>)", "ハイスコア(<u>H</u>)", "終了(<u>X</u>)",
                                "設定(<u>S</u>)", "目次(<u>C</u>)", "バージョン情報(<u>A</u>)...",
                                "ｻﾎﾟｰﾄﾍﾟｰｼﾞへ(<u>W</u>)", "使用するものを一つ以上チェックして下さい。",
                                "番号を指定して配る…", "やり直し", "番号を入力してください。"})
        EXPECT_TRUE(commands.contains(QString::fromUtf8(caption))) << caption;

    const QString settings = ReadResource(QStringLiteral(":/help/settings.html"));
    for (const char* text : {"音を鳴らす", "甲乙丙丁　子丑寅卯 一二三四", "※1～59分までが有効です。", "経過時間を表示する。",
                             "警告時に終了する。", "分が経過しました。", "『OrbiloVer1.10』を終了します。",
                             "全部消せる盤面を配る", "終了時のゲームを次に続ける"})
        EXPECT_TRUE(settings.contains(QString::fromUtf8(text))) << text;

    const QString rules = ReadResource(QStringLiteral(":/help/rules.html"));
    for (const char* text : {"ぜんぶ、消せましたぁ", "もう、消せないですぅ"})
        EXPECT_TRUE(rules.contains(QString::fromUtf8(text))) << text;

    const QString ranking = ReadResource(QStringLiteral(":/help/ranking.html"));
    for (const char* text : {"ランキング登録の名前を入力してください", "ランキングをクリアしてよろしいですか？"})
        EXPECT_TRUE(ranking.contains(QString::fromUtf8(text))) << text;
}

class HelpViewerTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // One help window per run is the design; between tests start from none.
        delete HelpViewer::Current();
    }
};

TEST_F(HelpViewerTest, ContextTenThousandShowsTheContentsPage)
{
    ShowHelp(nullptr, Help::Contents);
    HelpViewer* viewer = HelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Orbilo ヘルプ"));
    EXPECT_EQ(viewer->Page(), QUrl(QStringLiteral("qrc:/help/index.html")));
    const QTextDocument* document = viewer->Browser()->document();
    EXPECT_EQ(document->metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Orbilo ヘルプ 目次"));
    EXPECT_TRUE(document->toPlainText().contains(QStringLiteral("目次")));
    // The style sheet and the links loaded: the page is laid out, not shown as source.
    EXPECT_FALSE(document->toPlainText().contains(QStringLiteral("<a href")));
    EXPECT_FALSE(viewer->testAttribute(Qt::WA_QuitOnClose)) << "an open help must not keep the program alive";
}

TEST_F(HelpViewerTest, OneWindowIsReusedAndTurnsToTheAskedPage)
{
    ShowHelp(nullptr, Help::Contents);
    HelpViewer* first = HelpViewer::Current();
    ShowHelp(nullptr, Help::Ranking);
    EXPECT_EQ(HelpViewer::Current(), first);
    EXPECT_EQ(first->Page(), Help::PageUrl(Help::Ranking));
    int helpWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<HelpViewer*>(w) != nullptr;
    EXPECT_EQ(helpWindows, 1);

    // Closing hides it; asking again shows the same window.
    first->close();
    EXPECT_FALSE(first->isVisible());
    OpenSupportPage(nullptr);
    EXPECT_EQ(HelpViewer::Current(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->Page(), Help::PageUrl(Help::Contents));
}

TEST_F(HelpViewerTest, BackForwardAndContentsButtons)
{
    ShowHelp(nullptr, Help::Contents);
    HelpViewer* viewer = HelpViewer::Current();
    QPushButton* back = ButtonByText(viewer, QStringLiteral("戻る"));
    QPushButton* forward = ButtonByText(viewer, QStringLiteral("進む"));
    QPushButton* contents = ButtonByText(viewer, QStringLiteral("目次"));
    ASSERT_TRUE(back && forward && contents);
    EXPECT_FALSE(contents->isEnabled()) << "already on the contents page";

    ShowHelp(nullptr, Help::Scoring);
    viewer->Browser()->setSource(QUrl(QStringLiteral("qrc:/help/settings.html#tables")));
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(viewer->Page(), Help::PageUrl(Help::Scoring));
    EXPECT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(viewer->Page().fileName(), QStringLiteral("settings.html"));

    QTest::mouseClick(contents, Qt::LeftButton);
    EXPECT_EQ(viewer->Page(), Help::PageUrl(Help::Contents));
    EXPECT_FALSE(contents->isEnabled());
}

// The options dialog is modal and has a help button: a help window that the modal dialog
// blocked would be useless, so it belongs to the dialog while the dialog asks.
TEST_F(HelpViewerTest, OpenedFromAModalDialogIsNotBlockedByIt)
{
    QWidget main;
    main.show();
    ShowHelp(&main, Help::Contents);
    HelpViewer* viewer = HelpViewer::Current();
    EXPECT_EQ(viewer->parentWidget(), &main);

    auto* dialog = new QDialog(&main);
    dialog->setModal(true);
    dialog->show();
    auto* button = new QPushButton(QStringLiteral("ヘルプ(&H)"), dialog);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog] { ShowHelp(dialog, Help::Contents); });
    button->click();
    EXPECT_EQ(viewer, HelpViewer::Current()) << "still the one window";
    EXPECT_EQ(viewer->parentWidget(), dialog);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_TRUE(viewer->isVisible());

    // The dialog going away must not take a dangling help window with it.
    delete dialog;
    EXPECT_EQ(HelpViewer::Current(), nullptr);
    ShowHelp(&main, Help::Contents);
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_EQ(HelpViewer::Current()->parentWidget(), &main);
}

// A link label hands its target to the desktop; the support page must land in our window.
TEST_F(HelpViewerTest, DesktopOpenUrlOfTheSupportPageOpensTheHelpWindow)
{
    InstallHelpUrlHandler();
    ASSERT_EQ(HelpViewer::Current(), nullptr);
    EXPECT_TRUE(QDesktopServices::openUrl(SupportPageUrl()));
    ASSERT_NE(HelpViewer::Current(), nullptr);
    EXPECT_TRUE(HelpViewer::Current()->isVisible());
    EXPECT_EQ(HelpViewer::Current()->Page(), Help::PageUrl(Help::Contents));
}
