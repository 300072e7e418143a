// SPDX-License-Identifier: MIT
#include "windows/Language.h"

// Qt
#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

// own
#include "store/Keys.h"
#include "windows/AppInfo.h"
#include "store/SettingsStore.h"

#include <memory>

namespace Language {

namespace {

const QString Catalogue = QStringLiteral(":/i18n/orbilo_en.qm");

struct Installed
{
    Ui ui = Ui::Japanese;
    QTranslator* program = nullptr;
    QTranslator* qt = nullptr;
};

Installed& State()
{
    static Installed state;
    return state;
}

std::unique_ptr<QTranslator>& EarlyCatalogue()
{
    static std::unique_ptr<QTranslator> catalogue;
    return catalogue;
}

// "en_GB.UTF-8@euro" -> "en"; "C.UTF-8" -> "c".
QString LanguageOf(const QString& locale)
{
    QString language = locale.trimmed();
    for (QChar stop : { QLatin1Char('@'), QLatin1Char('.'), QLatin1Char('_'), QLatin1Char('-') }) {
        const qsizetype at = language.indexOf(stop);
        if (at >= 0)
            language.truncate(at);
    }
    return language.toLower();
}

} // namespace

QString ProcessVariable(const char* name)
{
    QString value = qEnvironmentVariable(name);
#ifdef Q_OS_WIN
    // Windows keeps the display language in its own settings, not in the environment: it
    // stands in for LANG, so that the variables set by hand still come first.
    if (value.isEmpty() && qstrcmp(name, "LANG") == 0)
        value = QLocale::system().uiLanguages().value(0).replace(QLatin1Char('-'), QLatin1Char('_'));
#endif
    return value;
}

Ui FromEnvironment(const Environment& environment)
{
    QString locale;
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        locale = environment(name);
        if (!locale.isEmpty())
            break;
    }
    const QString localeLanguage = LanguageOf(locale);
    if (localeLanguage.isEmpty() || localeLanguage == QLatin1String("c") || localeLanguage == QLatin1String("posix"))
        return Ui::Japanese;
    QStringList preferred = environment("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    preferred << locale;
    for (const QString& entry : preferred) {
        const QString language = LanguageOf(entry);
        if (language == QLatin1String("en"))
            return Ui::English;
        if (language == QLatin1String("ja"))
            return Ui::Japanese;
    }
    return Ui::Japanese;
}

Ui Decide(int storedChoice, const Environment& environment)
{
    switch (Choice(storedChoice)) {
    case Choice::Japanese:
        return Ui::Japanese;
    case Choice::English:
        return Ui::English;
    case Choice::Automatic:
        break;
    }
    return FromEnvironment(environment);
}

int StoredChoice()
{
    SettingsStore store = OpenStore(Keys::Root, RegOpen::Existing);
    return store.Read(Keys::Set::Language);
}

Ui ForThisRun()
{
    return Decide(StoredChoice(), &ProcessVariable);
}

bool Install(Ui ui, const QString& qtFolder)
{
    Uninstall();
    Installed& state = State();
    auto* app = QCoreApplication::instance();
    if (ui == Ui::English) {
        auto* program = new QTranslator(app);
        if (!program->load(Catalogue)) {
            delete program;
            Install(Ui::Japanese, qtFolder);
            return false;
        }
        QCoreApplication::installTranslator(program);
        state.program = program;
        state.ui = Ui::English;
        return true;
    }
    // Without it the stock parts stay English and the program runs on.
    state.qt = AppInfo::InstallQtTranslation(qtFolder);
    state.ui = Ui::Japanese;
    return true;
}

void Uninstall()
{
    Installed& state = State();
    for (QTranslator* translator : { state.program, state.qt }) {
        if (!translator)
            continue;
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    state = Installed();
}

Ui Current()
{
    return State().ui;
}

void UseEarly(Ui ui)
{
    std::unique_ptr<QTranslator>& catalogue = EarlyCatalogue();
    catalogue.reset();
    if (ui != Ui::English)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(Catalogue))
        catalogue = std::move(translator);
}

QString Early(const char* context, const char* text)
{
    if (QCoreApplication::instance())
        return QCoreApplication::translate(context, text);
    if (const std::unique_ptr<QTranslator>& catalogue = EarlyCatalogue()) {
        const QString translated = catalogue->translate(context, text);
        if (!translated.isEmpty())
            return translated;
    }
    return QString::fromUtf8(text);
}

} // namespace Language
