// SPDX-License-Identifier: MIT
// The interface's languages: which one a desktop gets, the English catalogue, and every
// window in each language laid out to the pixel: no text wider than the control that shows
// it (measured with the control's own font), no control or label running out of its parent
// or into a neighbour. Japanese is checked alongside English: the same rules hold for the
// language the windows were designed in, so a failure in English is the translation's.
//
// ORBILO_SCREENSHOTS=<folder> also saves every window in each language there, to be looked at.

#include "OpenWindows.h"

#include "app/AppModel.h"
#include "app/GameSession.h"
#include "store/Keys.h"
#include "store/SavedGameFile.h"
#include "store/SettingsStore.h"
#include "windows/About.h"
#include "windows/Analysis.h"
#include "windows/AppInfo.h"
#include "windows/CommandLine.h"
#include "windows/Deal.h"
#include "windows/FontDialog.h"
#include "windows/GameTexts.h"
#include "windows/HelpViewer.h"
#include "windows/Language.h"
#include "windows/Name.h"
#include "windows/Rank.h"
#include "windows/Setu.h"

// Qt
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QXmlStreamReader>

#include <map>
#include <memory>

namespace {

// --- Which language ---------------------------------------------------------------------

Language::Environment Env(std::map<std::string, QString> values)
{
    return [values](const char* name) {
        const auto it = values.find(name);
        return it == values.end() ? QString() : it->second;
    };
}

TEST(LanguageTest, TheDesktopsLanguageAsGettextReadsItAndJapaneseOtherwise)
{
    using Language::Ui;
    struct Case
    {
        std::map<std::string, QString> env;
        Ui expected;
    };
    const Case cases[] = {
        { {}, Ui::Japanese },
        { { { "LANG", "en_US.UTF-8" } }, Ui::English },
        { { { "LANG", "en" } }, Ui::English },
        { { { "LANG", "ja_JP.UTF-8" } }, Ui::Japanese },
        { { { "LANG", "de_DE.UTF-8" } }, Ui::Japanese },
        // C and POSIX are no language, whatever LANGUAGE lists (gettext ignores it there).
        { { { "LANG", "C.UTF-8" } }, Ui::Japanese },
        { { { "LANG", "C" }, { "LANGUAGE", "en" } }, Ui::Japanese },
        { { { "LC_ALL", "POSIX" }, { "LANG", "en_GB.UTF-8" } }, Ui::Japanese },
        // LC_ALL over LC_MESSAGES over LANG.
        { { { "LC_ALL", "en_GB.UTF-8" }, { "LC_MESSAGES", "ja_JP.UTF-8" } }, Ui::English },
        { { { "LC_MESSAGES", "ja_JP.UTF-8" }, { "LANG", "en_US.UTF-8" } }, Ui::Japanese },
        { { { "LC_ALL", "" }, { "LANG", "en_US.UTF-8" } }, Ui::English },
        // LANGUAGE's list comes first; the first entry we speak decides.
        { { { "LANG", "ja_JP.UTF-8" }, { "LANGUAGE", "en_GB:ja" } }, Ui::English },
        { { { "LANG", "en_US.UTF-8" }, { "LANGUAGE", "ja:en" } }, Ui::Japanese },
        { { { "LANG", "de_DE.UTF-8" }, { "LANGUAGE", "de:en" } }, Ui::English },
        { { { "LANG", "fr_FR.UTF-8" }, { "LANGUAGE", "fr" } }, Ui::Japanese },
        { { { "LANG", "en_US.UTF-8" }, { "LANGUAGE", "fr" } }, Ui::English },
        { { { "LANG", "sr_RS.UTF-8@latin" } }, Ui::Japanese },
        { { { "LANG", "en_US@euro" } }, Ui::English },
    };
    for (const Case& c : cases) {
        QStringList shown;
        for (const auto& [name, value] : c.env)
            shown << QString::fromStdString(name) + QLatin1Char('=') + value;
        EXPECT_EQ(Language::FromEnvironment(Env(c.env)), c.expected) << shown.join(' ').toStdString();
    }

    // The stored choice wins over the desktop; 自動 and anything unknown leave it the desktop's.
    const auto english = Env({ { "LANG", "en_US.UTF-8" } });
    const auto japanese = Env({ { "LANG", "ja_JP.UTF-8" } });
    EXPECT_EQ(Language::Decide(int(Language::Choice::Japanese), english), Ui::Japanese);
    EXPECT_EQ(Language::Decide(int(Language::Choice::English), japanese), Ui::English);
    for (int automatic : { 0, 3, -1, 99 }) {
        EXPECT_EQ(Language::Decide(automatic, english), Ui::English) << automatic;
        EXPECT_EQ(Language::Decide(automatic, japanese), Ui::Japanese) << automatic;
    }
}

TEST(LanguageTest, TheEnglishCatalogueIsCompleteAndKeepsEveryArgument)
{
    QFile file(QStringLiteral(ORBILO_SOURCE_DIR "/src/translations/orbilo_en.ts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    struct Message
    {
        QString source, translation, type;
    };
    QList<Message> messages;
    QXmlStreamReader ts(&file);
    while (!ts.atEnd()) {
        if (ts.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (ts.name() == QLatin1String("TS"))
            EXPECT_EQ(ts.attributes().value(QLatin1String("sourcelanguage")), QLatin1String("ja"));
        else if (ts.name() == QLatin1String("source"))
            messages.append({ ts.readElementText(), QString(), QString() });
        else if (ts.name() == QLatin1String("translation") && !messages.isEmpty()) {
            messages.last().type = ts.attributes().value(QLatin1String("type")).toString();
            messages.last().translation = ts.readElementText();
        }
    }
    ASSERT_FALSE(ts.hasError()) << ts.errorString().toStdString();
    ASSERT_GT(messages.size(), 150);
    static const QRegularExpression argument(QStringLiteral("%\\d"));
    auto arguments = [](const QString& text) {
        QStringList found;
        for (auto it = argument.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        found.removeDuplicates();
        return found;
    };
    for (const Message& message : messages) {
        const QString& source = message.source;
        SCOPED_TRACE(source.toStdString());
        // No text left untranslated or kept for a text the program no longer shows.
        EXPECT_TRUE(message.type.isEmpty()) << message.type.toStdString();
        EXPECT_FALSE(message.translation.isEmpty());
        EXPECT_EQ(arguments(message.translation), arguments(source));
        // A menu's or a button's key letter stays a key letter.
        EXPECT_EQ(source.contains(QRegularExpression(QStringLiteral("&[^&]"))),
                  message.translation.contains(QRegularExpression(QStringLiteral("&[^&]"))));
        // The English interface is English: only the symbols of the game and the typography
        // of the layouts (full-width blanks, arrows, ×, the ellipsis) stay.
        static const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF01}-\\x{FF9F}]"));
        EXPECT_FALSE(message.translation.contains(japanese)) << message.translation.toStdString();
    }
}

// Installs a language for one test and Japanese (no catalogue) again after it.
class LanguageScope
{
public:
    explicit LanguageScope(Language::Ui ui)
    {
        m_font = QApplication::font();
        // The program's own face for menus and message boxes, as the start-up sets it.
        QApplication::setFont(AppInfo::WindowFont(AppInfo::PGothic, -12));
        m_installed = Language::Install(ui);
    }
    ~LanguageScope()
    {
        Language::Uninstall();
        QApplication::setFont(m_font);
    }
    bool Installed() const { return m_installed; }

private:
    QFont m_font;
    bool m_installed = false;
};

TEST(LanguageTest, EnglishTranslatesAndJapaneseStaysAsWritten)
{
    {
        LanguageScope english(Language::Ui::English);
        ASSERT_TRUE(english.Installed());
        EXPECT_EQ(Language::Current(), Language::Ui::English);
        EXPECT_EQ(GameTexts::ElementName(1), QStringLiteral("fire"));
        EXPECT_EQ(GameTexts::RemainingLabel(12), QStringLiteral("　Left: 12 　"));
        EXPECT_EQ(GameTexts::WarningNotice(QStringLiteral("%2"), true, QStringLiteral("T")),
                  QStringLiteral("%2 minutes have passed. \"T\" is closing now."));
        EXPECT_EQ(Help::PageUrl(Help::Rules), QUrl(QStringLiteral("qrc:/help/en/rules.html")));
        // Every page of the English help is there.
        for (int context : { Help::Contents, Help::Rules, Help::Scoring, Help::Commands, Help::Settings, Help::Ranking,
                             Help::Files })
            EXPECT_TRUE(QFile::exists(Help::PageUrl(context).toString().mid(3))) << context;
        // The command line's answers, given before the application exists, take the same catalogue.
        EXPECT_TRUE(CommandLine::Parse({ QStringLiteral("orbilo"), QStringLiteral("--help") })
                        .text.startsWith(QStringLiteral("Usage: orbilo [options]")));
    }
    EXPECT_EQ(Language::Current(), Language::Ui::Japanese);
    EXPECT_EQ(GameTexts::ElementName(1), QStringLiteral("火"));
    EXPECT_EQ(GameTexts::RemainingLabel(12), QStringLiteral("　残：12 　"));
    EXPECT_EQ(GameTexts::WarningNotice(QStringLiteral("%2"), true, QStringLiteral("T")),
              QStringLiteral("%2 分が経過しました。『T』を終了します。"));
    EXPECT_EQ(Help::PageUrl(Help::Rules), QUrl(QStringLiteral("qrc:/help/rules.html")));
}

// The English help is a document of its own: every page of the Japanese one, and every link
// and anchor in it leading somewhere.
TEST(LanguageTest, TheEnglishHelpHasEveryPageAndNoDeadLink)
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    static const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""));
    auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QStringList pages = QDir(QStringLiteral(":/help")).entryList({ QStringLiteral("*.html") });
    ASSERT_GE(pages.size(), 7);
    EXPECT_EQ(QDir(QStringLiteral(":/help/en")).entryList({ QStringLiteral("*.html") }), pages);
    for (const QString& page : pages) {
        const QString html = read(QStringLiteral(":/help/en/") + page);
        SCOPED_TRACE(page.toStdString());
        EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"en\">")));
        for (auto m = href.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.contains(QLatin1Char(':')))
                continue;
            const qsizetype hash = target.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? target : target.left(hash);
            const QString path = QDir::cleanPath(QStringLiteral(":/help/en/") + (file.isEmpty() ? page : file));
            ASSERT_TRUE(QFile::exists(path)) << target.toStdString();
            if (hash < 0)
                continue;
            QSet<QString> anchors;
            for (auto n = name.globalMatch(read(path)); n.hasNext();)
                anchors.insert(n.next().captured(1));
            EXPECT_TRUE(anchors.contains(target.mid(hash + 1))) << target.toStdString();
        }
    }
}

// 表示言語 in the options dialog: the player's choice is stored for the next start, which reads
// it before any window exists; the running interface keeps its language, and says so.
TEST(LanguageTest, TheChoiceInTheDialogCountsFromTheNextStart)
{
    QTemporaryDir dir;
    Registry::SetUserFileOverride(dir.filePath(QStringLiteral("user.reg")));
    QStringList notices;
    TSetuF::SetMessageHook([&notices](QWidget*, const QString& text) { notices << text; });
    {
        AppWindows windows(dir.path());
        TSetuF& setu = windows.Setu();
        QComboBox* choice = setu.LanguageCB();
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->currentIndex(), int(Language::Choice::Automatic));
        EXPECT_EQ(choice->itemText(2), QStringLiteral("English"));
        emit choice->activated(int(Language::Choice::English));
        EXPECT_EQ(notices, QStringList { QStringLiteral("表示言語は、次に起動したときから切り替わります。") });
        // Choosing what is already chosen says nothing.
        emit choice->activated(int(Language::Choice::English));
        EXPECT_EQ(notices.size(), 1);
        setu.accept();
        EXPECT_EQ(Language::Current(), Language::Ui::Japanese);
        EXPECT_EQ(setu.CB1()->text(), QStringLiteral("音を鳴らす"));
    }
    EXPECT_EQ(Language::StoredChoice(), int(Language::Choice::English));
    EXPECT_EQ(Language::Decide(Language::StoredChoice(), Env({ { "LANG", "ja_JP.UTF-8" } })), Language::Ui::English);
    {
        // キャンセル takes back a choice not yet stored.
        AppWindows windows(dir.path());
        EXPECT_EQ(windows.Setu().LanguageCB()->currentIndex(), int(Language::Choice::English));
        emit windows.Setu().LanguageCB()->activated(int(Language::Choice::Japanese));
        windows.Setu().CancelBtnClick();
        EXPECT_EQ(windows.Setu().LanguageCB()->currentIndex(), int(Language::Choice::English));
    }
    EXPECT_EQ(Language::StoredChoice(), int(Language::Choice::English));
    TSetuF::SetMessageHook(nullptr);
    Registry::SetUserFileOverride(QString());
}

// What the program stores is the same whichever language ran: the settings file, the score
// tables and the kept game after the same play in each.
TEST(LanguageTest, StoredFilesAreTheSameInEitherLanguage)
{
    struct Stored
    {
        std::map<QString, QByteArray> files;
        SavedGameFile::SavedGame game;
    };
    auto playAndClose = [](Language::Ui ui) -> Stored {
        QTemporaryDir dir;
        const QString reg = dir.filePath(QStringLiteral("user.reg"));
        const QString saved = dir.filePath(QStringLiteral("data/SavedGame.dat"));
        Registry::SetUserFileOverride(reg);
        SavedGameFile::SetPathOverride(saved);
        OpenStore(Keys::Root).WriteFlag(Keys::Set::Resume, true);
        Stored stored;
        {
            LanguageScope language(ui);
            AppWindows windows(dir.path());
            windows.Main().SetMessageHook([](const QString&) {});
            TSetuF::SetMessageHook([](QWidget*, const QString&) {});
            GameSession& session = windows.Main().Session();
            session.Deal(20261208u);
            // Three moves on the first board, 3 x 4 stems, where any neighbours pair.
            Game& game = session.GameForTest();
            for (int move = 0; move < 3; ++move) {
                const int a = game.FindMove();
                EXPECT_TRUE(Game::IsTileNumber(a));
                game.Pick(a, PickMode::Remove);
                game.Pick(game.TileByNumber(a - Game::Cols).visible ? a - Game::Cols : a + 1, PickMode::Remove);
            }
            // The options dialog closed with OK writes the settings and the tables.
            windows.Setu().accept();
            windows.Main().close();
            TSetuF::SetMessageHook(nullptr);
        }
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            if (name != QLatin1String("user.reg.lock")) {
                QFile file(dir.filePath(name));
                EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
                stored.files[name] = file.readAll();
            }
        const SavedGameFile::ReadResult read = SavedGameFile::Load(saved);
        EXPECT_EQ(read.status, SavedGameFile::Status::Read);
        // Everything but the seconds played, which the clock decides.
        stored.game = read.saved;
        stored.game.elapsedSeconds = 0;
        SavedGameFile::SetPathOverride(QString());
        Registry::SetUserFileOverride(QString());
        return stored;
    };
    const Stored japanese = playAndClose(Language::Ui::Japanese);
    const Stored english = playAndClose(Language::Ui::English);
    EXPECT_TRUE(japanese.files.count(QStringLiteral("user.reg")));
    EXPECT_TRUE(japanese.files.count(QStringLiteral("SG1.dat")));
    EXPECT_EQ(japanese.game.game.moves.size(), 3u);
    EXPECT_EQ(japanese.files, english.files);
    EXPECT_TRUE(japanese.game == english.game);
}

// --- Every window fits ----------------------------------------------------------------------

QString Plain(QString text)
{
    static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
    return text.remove(mnemonic).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// The widest line of text in w's font. Blanks at a line's end only pad it: they may be cut.
int TextWidth(const QWidget* w, const QString& text)
{
    static const QRegularExpression trailing(QStringLiteral("[\\s\\x{3000}]+$"));
    const QFontMetrics metrics(w->font());
    int width = 0;
    for (QString line : Plain(text).split(QLatin1Char('\n')))
        width = qMax(width, metrics.horizontalAdvance(line.remove(trailing)));
    return width;
}

QString NameOf(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

// What the player would see cut off or overlapping in window, one line each.
QStringList Overflows(QWidget* window)
{
    QStringList found;
    auto report = [&found](const QWidget* w, const QString& text, int need, int room) {
        if (need > room)
            found << QStringLiteral("%1 \"%2\": needs %3 px, has %4").arg(NameOf(w), text).arg(need).arg(room);
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        // What is hidden is not seen (the pages behind the current one are checked in turn);
        // the parts of Qt's own composite widgets (the font dialog's lists, a combo box's
        // popup, the tab bar's scroll buttons) lay themselves out.
        if (w != window && (w->isWindow() || !w->isVisibleTo(window) || qobject_cast<QComboBox*>(w->parentWidget())
                            || qobject_cast<QTabBar*>(w->parentWidget())))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->text().isEmpty() && !label->wordWrap() && label->textFormat() != Qt::RichText)
                report(w, label->text(), TextWidth(w, label->text()), label->contentsRect().width());
        } else if (auto* check = qobject_cast<QCheckBox*>(w); check || qobject_cast<QRadioButton*>(w)) {
            auto* button = static_cast<QAbstractButton*>(w);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = button->style()->subElementRect(
                check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button);
            report(w, button->text(), TextWidth(w, button->text()), contents.width());
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            // The style's margin and frame on either side of a button's text (the smallest
            // width a style gives every button is no room for text).
            const QStyle* style = push->style();
            const int sides = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push)
                                   + style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push));
            const int icon = push->icon().isNull() ? 0 : push->iconSize().width() + 4;
            report(w, push->text(), TextWidth(w, push->text()) + icon + sides, push->width());
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            // The title sits in the frame's top edge, a few pixels in from either side.
            report(w, group->title(), TextWidth(w, group->title()) + 16, group->width());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i) {
                const int icon = combo->itemIcon(i).isNull() ? 0 : combo->iconSize().width() + 4;
                report(w, combo->itemText(i), TextWidth(w, combo->itemText(i)) + icon, field.width());
            }
        } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            const QTabBar* bar = tabs->tabBar();
            report(w, QStringLiteral("tabs"), bar->tabRect(bar->count() - 1).right() + 1, tabs->width());
        } else if (auto* menu = qobject_cast<QMenuBar*>(w)) {
            // A menu bar too narrow for its items breaks them onto a second line.
            for (QAction* action : menu->actions())
                report(w, action->text(), menu->actionGeometry(action).top(), 0);
        } else {
            // The program's own controls draw a caption property, from CaptionLeft or centred.
            const QVariant caption = w->property("Caption");
            if (caption.typeId() == QMetaType::QString && !caption.toString().isEmpty()) {
                const QVariant left = w->property("CaptionLeft");
                report(w, caption.toString(), TextWidth(w, caption.toString()) + (left.isValid() ? left.toInt() : 0),
                       w->width());
            }
        }
        // No text control sticks out of its parent or runs into a neighbour: it overlaps no
        // sibling except one it lies wholly on (a gradient behind it).
        const bool textControl = qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w)
            || qobject_cast<QRadioButton*>(w) || qobject_cast<QPushButton*>(w);
        if (w == window || !textControl || w->isWindow() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!w->parentWidget()->rect().contains(w->geometry()))
            found << QStringLiteral("%1 runs out of %2").arg(NameOf(w), NameOf(w->parentWidget()));
        for (QObject* other : w->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(other);
            if (!sibling || sibling == w || sibling->isWindow() || sibling->isHidden())
                continue;
            const QRect mine = w->geometry();
            const QRect theirs = sibling->geometry();
            if (mine.intersects(theirs) && !theirs.contains(mine) && !mine.contains(theirs))
                found << QStringLiteral("%1 overlaps %2 (%3,%4 %5x%6)").arg(NameOf(w), NameOf(sibling)).arg(mine.x()).arg(mine.y()).arg(mine.width()).arg(mine.height());
        }
    }
    return found;
}

struct LanguageCase
{
    Language::Ui ui;
    const char* name;
};

class EveryWindowTest : public OpenWindowsTest, public ::testing::WithParamInterface<LanguageCase>
{
};

TEST_P(EveryWindowTest, FitsItsLayoutWithNoTextCutOff)
{
    LanguageScope language(GetParam().ui);
    ASSERT_TRUE(language.Installed());
    // The main window and the windows that follow it, and those made when asked for.
    TMainF& main = Open();
    windows->CreateLaterWindows();
    std::vector<std::pair<QString, QWidget*>> shown = {
        { QStringLiteral("main"), &main },
        { QStringLiteral("about"), &windows->About() },
        { QStringLiteral("name"), &windows->Name() },
        { QStringLiteral("rank"), &windows->Rank() },
    };
    TSetuF& setu = windows->Setu();
    auto deal = std::make_unique<TDealF>(&main);
    deal->Prepare(4294967295u);
    auto font = std::make_unique<FontDialog>();
    auto help = std::make_unique<HelpViewer>();
    help->ShowPage(Help::PageUrl(Help::Contents));
    TAnalysisF* analysis = TAnalysisF::Open(main, main.Session());
    ASSERT_NE(analysis, nullptr);
    analysis->StopClick();
    shown.push_back({ QStringLiteral("deal"), deal.get() });
    shown.push_back({ QStringLiteral("font"), font.get() });
    shown.push_back({ QStringLiteral("help"), help.get() });
    shown.push_back({ QStringLiteral("analysis"), analysis });
    for (int page = 0; page < setu.PageControl1()->count(); ++page)
        shown.push_back({ QStringLiteral("setu-%1").arg(page), &setu });

    const QString screenshots = qEnvironmentVariable("ORBILO_SCREENSHOTS");
    int setuPage = 0;
    for (const auto& [name, window] : shown) {
        SCOPED_TRACE(name.toStdString());
        if (window == &setu) {
            setu.PageControl1()->setCurrentIndex(setuPage++);
            // The score pages show the defaults button.
            setu.DefBtn()->setVisible(setu.PageControl1()->currentIndex() != 0);
        }
        window->show();
        QCoreApplication::processEvents();
        // Drawn once, as the player would see it.
        const QPixmap image = window->grab();
        EXPECT_FALSE(image.isNull());
        const QStringList overflows = Overflows(window);
        EXPECT_TRUE(overflows.isEmpty()) << overflows.join('\n').toStdString();
        if (!screenshots.isEmpty())
            image.save(QStringLiteral("%1/%2-%3.png").arg(screenshots, QLatin1String(GetParam().name), name));
        if (window != &main)
            window->hide();
    }
    // Menus open wide enough for their items by themselves; the bar itself is checked above.
    EXPECT_TRUE(main.Action(QStringLiteral("Best1"))->text().contains(
        GetParam().ui == Language::Ui::English ? QStringLiteral("Best") : QStringLiteral("最高点")));
    analysis->close();
}

INSTANTIATE_TEST_SUITE_P(Languages, EveryWindowTest,
                         ::testing::Values(LanguageCase { Language::Ui::Japanese, "ja" },
                                           LanguageCase { Language::Ui::English, "en" }),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
