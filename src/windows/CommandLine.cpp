// SPDX-License-Identifier: MIT
#include "windows/CommandLine.h"
#include "game/Numbers.h"
#include "windows/Language.h"

// Qt
#include <QCommandLineParser>
#include <QFileInfo>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace CommandLine {

namespace {

struct Option
{
    QStringList names;
    QString valueName; // empty for a switch
    const char* description; // in Japanese, as the catalogues know it (Tr)
};

// The command line is answered before the application exists, in the run's language
// (Language::UseEarly).
QString Tr(const char* text)
{
    return Language::Early("CommandLine", text);
}

// The program's own options, in the order the help lists them; the first name of each is
// the one Parse asks for.
const Option ProgramOptions[] = {
    { { QStringLiteral("h"), QStringLiteral("help") }, QString(), QT_TRANSLATE_NOOP("CommandLine", "この説明を表示して終了します。") },
    { { QStringLiteral("v"), QStringLiteral("version") }, QString(),
      QT_TRANSLATE_NOOP("CommandLine", "Orbilo と Qt のバージョンを表示して終了します。") },
    { { QStringLiteral("deal") }, QStringLiteral("N"),
      QT_TRANSLATE_NOOP("CommandLine", "番号 N（0～4294967295）の盤面で始めます。大きさと使う組は前回のままです。") },
};

// What QGuiApplication and QApplication take from the command line themselves, with or
// without a value. They are accepted here and left in the arguments for Qt.
const char* const QtValueOptions[] = { "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                       "geometry", "qwindowicon", "icon", "qwindowtitle", "title", "display", "name",
                                       "style", "stylesheet", "session", "qmljsdebugger", "dialogs", "fontengine" };
const char* const QtSwitches[] = { "reverse", "widgetcount", "nograb", "dograb", "sync", "testability" };

QString ProgramName(const QStringList& arguments)
{
    const QString name = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return name.isEmpty() ? QStringLiteral("orbilo") : name;
}

QString OptionLabel(const Option& option)
{
    QStringList spelled;
    for (const QString& name : option.names)
        spelled << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString label = spelled.join(QStringLiteral(", "));
    if (!option.valueName.isEmpty())
        label += QLatin1Char(' ') + option.valueName;
    return label;
}

QString HelpText(const QString& program)
{
    int width = 0;
    for (const Option& option : ProgramOptions)
        width = qMax(width, int(OptionLabel(option).size()));
    QString text = Tr(QT_TRANSLATE_NOOP("CommandLine", "使い方: %1 [オプション]\n")).arg(program)
        + Tr(QT_TRANSLATE_NOOP("CommandLine", "五行の干・支・九星を隣どうしで組にして消していくパズルです。"
                                              "オプションなしで起動すると、ゲームの画面が開きます。\n\nオプション:\n"));
    for (const Option& option : ProgramOptions)
        text += QStringLiteral("  %1  %2\n").arg(OptionLabel(option), -width).arg(Tr(option.description));
    text += Tr(QT_TRANSLATE_NOOP("CommandLine",
        "\nQt のウィンドウシステムのオプション（-platform、-style、-display など）も使えます。\n"));
    return text;
}

QString VersionText()
{
    return QStringLiteral("Orbilo %1\nQt %2\n").arg(QStringLiteral(ORBILO_VERSION), QString::fromLatin1(qVersion()));
}

Request Failure(const QString& program, const QString& what)
{
    return { Action::Fail,
             Tr(QT_TRANSLATE_NOOP("CommandLine", "%1: %2\n使い方は「%1 --help」で表示されます。\n")).arg(program, what) };
}

} // namespace

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

Request Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // "-platform" is one option, as Qt reads it, not the letters p, l, a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option& option : ProgramOptions)
        parser.addOption(QCommandLineOption(option.names, Tr(option.description), option.valueName));
    for (const char* name : QtValueOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char* name : QtSwitches)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    const QString program = ProgramName(arguments);
    if (!parser.parse(arguments.isEmpty() ? QStringList { program } : arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString spelled = unknown.first().size() == 1 ? QStringLiteral("-") + unknown.first()
                                                                : QStringLiteral("--") + unknown.first();
            return Failure(program, Tr(QT_TRANSLATE_NOOP("CommandLine", "知らないオプションです: ")) + spelled);
        }
        return Failure(program, Tr(QT_TRANSLATE_NOOP("CommandLine", "オプションを読めません（%1）")).arg(parser.errorText()));
    }
    // Help wins over everything else on the line, as asking for it is always safe.
    if (parser.isSet(QStringLiteral("h")))
        return { Action::ShowHelp, HelpText(program) };
    if (parser.isSet(QStringLiteral("v")))
        return { Action::ShowVersion, VersionText() };
    if (!parser.positionalArguments().isEmpty())
        return Failure(program, Tr(QT_TRANSLATE_NOOP("CommandLine", "余分な引数があります: ")) + parser.positionalArguments().first());
    Request play;
    if (parser.isSet(QStringLiteral("deal"))) {
        const QString value = parser.value(QStringLiteral("deal"));
        play.dealNumber = Numbers::ParseDealNumber(value);
        if (!play.dealNumber)
            return Failure(program, Tr(QT_TRANSLATE_NOOP("CommandLine", "--deal の番号は 0 から 4294967295 までの整数です: ")) + value);
    }
    return play;
}

namespace {

QByteArray g_noDisplayText;
QtMessageHandler g_qtHandler = nullptr;

void ExitWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        g_qtHandler(type, context, message);
        return;
    }
    std::fwrite(g_noDisplayText.constData(), 1, size_t(g_noDisplayText.size()), stderr);
    std::fflush(stderr);
    std::_Exit(NoDisplayExitCode);
}

} // namespace

DisplayGuard::DisplayGuard(const QStringList& arguments)
{
    const QString program = ProgramName(arguments);
    g_noDisplayText = Tr(QT_TRANSLATE_NOOP("CommandLine", "%1: 画面に接続できないため、ゲームの画面を開けません。\n"
                                                          "デスクトップの中で起動するか、環境変数 DISPLAY または "
                                                          "WAYLAND_DISPLAY を確かめてください。\n"))
                          .arg(program)
                          .toLocal8Bit();
    g_qtHandler = qInstallMessageHandler(ExitWithoutDisplay);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(g_qtHandler);
}

#ifdef Q_OS_WIN
namespace {

// A Windows program of the GUI subsystem starts without a console: run from one, it writes
// into the console it was started from, in UTF-16 so that the Japanese reads whatever the
// console's code page. Redirected to a file or a pipe it writes bytes as elsewhere.
bool WriteToConsole(const QString& text, bool error)
{
    const DWORD which = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        handle = GetStdHandle(which);
    }
    DWORD mode = 0;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return false;
    DWORD written = 0;
    return WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written, nullptr);
}

} // namespace
#endif

int Answer(const Request& request)
{
#ifdef Q_OS_WIN
    if (WriteToConsole(request.text, request.action == Action::Fail))
        return request.action == Action::Fail ? 2 : 0;
#endif
    const QByteArray bytes = request.text.toLocal8Bit();
    std::FILE* stream = request.action == Action::Fail ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    return request.action == Action::Fail ? 2 : 0;
}

} // namespace CommandLine
