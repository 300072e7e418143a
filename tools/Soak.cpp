// SPDX-License-Identifier: MIT
// The kill soak. A child process saves the three score tables, the ranking and the settings
// over and over through the program's own code, one version after another, saying before
// each step what it is about to write; the soak kills it N times at a random moment of a
// chosen step (the first save of a table, which makes its backup; a table save; the
// ranking; the settings) and checks every file after each kill: each table and each backup
// holds one whole version, no older than the last one known saved and no newer than the
// last one begun; a backup holds the oldest contents; the settings file holds every value;
// the start-up's clean-up removes every temporary file the kill left. Linux only (it kills with SIGKILL); run it through ./soak.sh.
//
//   orbilo_soak N [SEED]            N kills in a fresh temporary folder
//   orbilo_soak --save FOLDER FROM  the saving child, from version FROM on

#include "store/Keys.h"
#include "store/SettingsStore.h"
#include "store/TableFile.h"
#include "game/TextGrid.h"
#include "platform/RegistryFile.h"
#include "platform/SafeFile.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <optional>

namespace {

const QStringList Tables { QStringLiteral("SG1.dat"), QStringLiteral("SG2.dat"), QStringLiteral("SG3.dat"),
    QStringLiteral("Rank.dat") };
const QString Settings = QStringLiteral("registry.reg");
const QString Other = QStringLiteral("Other"); // a key the game does not own, which must survive
const QString Kept = QStringLiteral("甲乙丙丁戊己庚辛壬癸");

int Rows(const QString& table)
{
    return table == QLatin1String("Rank.dat") ? 31 : 3000;
}

// Version v of a table: v in every row, so a mix of versions or a cut-off file shows.
void Stamp(TextGrid& grid, const QString& table, int v)
{
    grid.SetRowCount(Rows(table));
    for (int r = 0; r < grid.RowCount(); ++r) {
        grid.SetCell(0, r, QString::number(v));
        grid.SetCell(1, r, Kept);
        grid.SetCell(2, r, QString::number(r));
        grid.SetCell(3, r, QString::number(v * 7 + r));
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The version a file holds when it holds one whole version.
std::optional<int> VersionIn(const QString& path, const QString& table)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    TextGrid grid(4, 1);
    TableFile::Parse(ReadAll(path), grid);
    const int v = grid.Cell(0, 0).toInt();
    TextGrid expected(4, 1);
    Stamp(expected, table, v);
    return TableFile::Format(grid) == TableFile::Format(expected) ? std::optional<int>(v) : std::nullopt;
}

SettingsStore Store(const QString& folder)
{
    return SettingsStore(std::make_unique<RegistryFile>(QDir(folder).filePath(Settings)), Keys::Root);
}

void Say(const char* step, const QString& what, int v)
{
    std::printf("%s %s %d\n", step, qPrintable(what), v);
    std::fflush(stdout);
}

// The child: saves versions from, from + 1, ... until it is killed. A save that fails ends it.
int SaveLoop(const QString& folder, int from)
{
    const QDir dir(folder);
    for (int v = from;; ++v) {
        for (const QString& table : Tables) {
            const QString path = dir.filePath(table);
            Say(QFileInfo::exists(TableFile::BackupPath(path)) ? "table" : "backup", table, v);
            TextGrid grid(4, 1);
            Stamp(grid, table, v);
            FileError error;
            if (!TableFile::Save(grid, path, &error)) {
                std::printf("failed %s: %s\n", qPrintable(table), qPrintable(error.Reason()));
                return 1;
            }
        }
        Say("settings", Settings, v);
        SettingsStore store = Store(folder);
        store.WriteNumber(Keys::Sys::CBH, v);
        store.WriteNumber(Keys::Sys::CBW, v % 7);
        store.WriteFlag(Keys::Wav::CB1, v % 2);
        store.WriteText(Keys::Set::TimeE, QString::number(v));
        if (store.HasErrors()) {
            std::printf("failed %s: %s\n", qPrintable(Settings), qPrintable(store.ErrorMessage()));
            return 1;
        }
        Say("saved", QStringLiteral("all"), v);
    }
}

// What the child said it was doing, read from its output.
struct Progress
{
    QMap<QString, int> begun; // the last version of each file whose save began
    QMap<QString, int> done; // the last version of each file whose save was followed by another step
    QString lastStep; // "backup", "table" or "settings", with its file
    int lastVersion = 0;
    bool failed = false;
    QString output;

    void Read(const QByteArray& line)
    {
        output += QString::fromUtf8(line);
        const QStringList words = QString::fromUtf8(line).trimmed().split(QLatin1Char(' '));
        if (words.size() >= 1 && words.at(0) == QLatin1String("failed"))
            failed = true;
        if (words.size() != 3)
            return;
        if (!lastStep.isEmpty())
            done[lastStep.section(QLatin1Char(' '), 1)] = lastVersion;
        lastVersion = words.at(2).toInt();
        lastStep = words.at(0) + QLatin1Char(' ') + words.at(1);
        begun[words.at(1)] = lastVersion;
    }
};

enum Target { Backup, Table, Ranking, SettingsWrite, TargetCount };
const char* const TargetNames[] = { "first save of a table (backup copy)", "table save", "Rank.dat save",
    "settings write" };

class Soak
{
public:
    Soak(const QString& folder, quint32 seed) : m_dir(folder), m_random(seed) {}

    // The files as the program leaves them at its first close: every table at version 1,
    // no backup yet, settings with a value of another program.
    bool Start()
    {
        for (const QString& table : Tables) {
            TextGrid grid(4, 1);
            Stamp(grid, table, 1);
            if (!TableFile::Save(grid, m_dir.filePath(table)))
                return Fail(QStringLiteral("cannot write %1").arg(table));
            m_version[table] = m_epoch[table] = 1;
        }
        SettingsStore store = Store(m_dir.path());
        store.WriteNumber(Keys::Sys::CBH, 1);
        store.WriteText(Keys::Set::TimeE, QStringLiteral("1"));
        for (int i = 0; i < 200; ++i)
            store.WriteText(Other, QStringLiteral("v%1").arg(i), Kept + QString::number(i));
        m_version[Settings] = 1;
        m_next = 2;
        return !store.HasErrors() || Fail(store.ErrorMessage());
    }

    // Runs the child through two whole rounds of saves without a kill (the first makes the
    // backups) and notes how long each step takes, so that the kills fall anywhere inside one.
    bool Calibrate()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--save"), m_dir.path(), QString::number(m_next) });
        QElapsedTimer clock;
        clock.start();
        QString step;
        qint64 since = 0;
        int saved = 0;
        while (saved < 2 && child.waitForReadyRead(30000)) {
            while (child.canReadLine()) {
                const QStringList words = QString::fromUtf8(child.readLine()).trimmed().split(QLatin1Char(' '));
                const qint64 now = clock.nsecsElapsed() / 1000;
                if (!step.isEmpty())
                    m_stepMicros[step] = qMax<qint64>(m_stepMicros.value(step), qMax<qint64>(1, now - since));
                if (words.size() == 3) {
                    step = words.at(0) + QLatin1Char(' ') + words.at(1);
                    m_next = words.at(2).toInt() + 1;
                    saved += words.at(0) == QLatin1String("saved");
                }
                since = now;
            }
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(30000);
        for (const QString& table : Tables)
            m_version[table] = VersionIn(m_dir.filePath(table), table).value_or(0);
        m_version[Settings] = Store(m_dir.path()).ReadNumber(Keys::Sys::CBH);
        return saved == 2 || Fail(QStringLiteral("the saving process did not save twice"));
    }

    // One kill at a random moment of the target's step; then every file is checked.
    bool Round(Target target)
    {
        if (target == Backup) {
            // A fresh start of the backups: the next save of each table makes one.
            for (const QString& table : Tables) {
                QFile::remove(TableFile::BackupPath(m_dir.filePath(table)));
                m_epoch[table] = m_version[table];
            }
        }
        const QString table = target == Ranking ? QStringLiteral("Rank.dat")
            : target == Backup                  ? Tables.at(int(m_random.bounded(4)))
                                                : Tables.at(int(m_random.bounded(3)));
        const QString step = target == Backup ? QStringLiteral("backup ") + table
            : target == SettingsWrite         ? QStringLiteral("settings ") + Settings
                                              : QStringLiteral("table ") + table;

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--save"), m_dir.path(), QString::number(m_next) });
        if (!child.waitForStarted())
            return Fail(QStringLiteral("the saving process did not start"));
        Progress progress;
        // Up to the step, then a random moment within its usual length.
        bool reached = false;
        while (!reached && !progress.failed) {
            while (child.canReadLine() && !reached) {
                progress.Read(child.readLine());
                reached = progress.lastStep == step;
            }
            if (!reached && !child.waitForReadyRead(30000))
                break;
        }
        if (reached)
            QThread::usleep(m_random.bounded(quint32(StepMicros(step))));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(30000);
        while (child.canReadLine())
            progress.Read(child.readLine());
        if (!reached || progress.failed)
            return Fail(QStringLiteral("the saving process stopped on its own:\n") + progress.output);
        m_next = progress.lastVersion + 1;
        ++m_kills[target];
        return Check(progress);
    }

    // A start after the last kill reads every file and saves again.
    bool Finish()
    {
        for (const QString& table : Tables) {
            TextGrid grid(4, 1);
            if (TableFile::Load(grid, m_dir.filePath(table)) != TableFile::LoadResult::Loaded)
                return Fail(table + QStringLiteral(" cannot be read"));
            if (!TableFile::Save(grid, m_dir.filePath(table)))
                return Fail(table + QStringLiteral(" cannot be written"));
        }
        SettingsStore store = Store(m_dir.path());
        store.WriteNumber(Keys::Sys::CBH, m_next);
        return !store.HasErrors() || Fail(store.ErrorMessage());
    }

    void Report() const
    {
        std::printf("\n%-40s %6s %12s\n", "killed during", "kills", "nothing lost");
        int kills = 0;
        for (int t = 0; t < TargetCount; ++t) {
            std::printf("%-40s %6d %12s\n", TargetNames[t], m_kills.value(t),
                m_lost.value(t) == 0 ? "yes" : qPrintable(QStringLiteral("NO (%1)").arg(m_lost.value(t))));
            kills += m_kills.value(t);
        }
        std::printf("%-40s %6d %12s\n", "all", kills, m_failures == 0 ? "yes" : "NO");
        std::printf("temporary files left by a kill (removed): %d\n", m_leftovers);
    }

    int Failures() const { return m_failures; }

private:
    bool Fail(const QString& why)
    {
        std::printf("FAIL: %s\n", qPrintable(why));
        ++m_failures;
        return false;
    }

    // How long the step takes, as measured by Calibrate.
    qint64 StepMicros(const QString& step) const { return m_stepMicros.value(step, 20000); }

    bool Check(const Progress& progress)
    {
        const int failuresBefore = m_failures;
        for (const QString& table : Tables) {
            const QString path = m_dir.filePath(table);
            const std::optional<int> v = VersionIn(path, table);
            const int low = qMax(m_version.value(table), progress.done.value(table));
            const int high = qMax(m_version.value(table), progress.begun.value(table));
            if (!v || *v < low || *v > high) {
                Fail(QStringLiteral("%1 holds %2, not a whole version from %3 to %4")
                         .arg(table, v ? QString::number(*v) : QStringLiteral("no whole version"))
                         .arg(low)
                         .arg(high));
                continue;
            }
            m_version[table] = *v;
            const QString backup = TableFile::BackupPath(path);
            if (QFileInfo::exists(backup)) {
                const std::optional<int> b = VersionIn(backup, table);
                if (b != m_epoch.value(table))
                    Fail(QStringLiteral("%1 does not hold the oldest version %2").arg(backup).arg(m_epoch.value(table)));
            } else if (*v != m_epoch.value(table)) {
                Fail(QStringLiteral("%1 was saved (version %2) without its backup").arg(table).arg(*v));
            }
        }
        CheckSettings(progress);
        // What the next start of the program removes: a killed writer holds no file.
        QStringList names { Settings };
        for (const QString& table : Tables)
            names << table << QFileInfo(TableFile::BackupPath(m_dir.filePath(table))).fileName();
        m_leftovers += SafeFile::RemoveLeftovers(m_dir.path(), names);
        for (const QString& name : m_dir.entryList({ QStringLiteral("*.tmp") }, QDir::Files))
            Fail(QStringLiteral("%1 was left by the kill and not removed").arg(name));
        const bool ok = m_failures == failuresBefore;
        if (!ok)
            ++m_lost[progress.lastStep.startsWith(QLatin1String("backup")) ? Backup
                    : progress.lastStep.startsWith(QLatin1String("settings"))  ? SettingsWrite
                    : progress.lastStep.contains(QLatin1String("Rank"))        ? Ranking
                                                                               : Table];
        return ok;
    }

    void CheckSettings(const Progress& progress)
    {
        RegistryFile reg(m_dir.filePath(Settings));
        const QString other = Keys::Root + QLatin1Char('\\') + Other;
        const RegNamesResult names = reg.ValueNames(other);
        if (!names.Ok() || names.names.size() != 200) {
            Fail(QStringLiteral("the settings of another program are not all there: ") + names.message);
            return;
        }
        for (int i = 0; i < 200; i += 37) {
            if (reg.ReadValue(other, QStringLiteral("v%1").arg(i)).value.ToText() != Kept + QString::number(i))
                Fail(QStringLiteral("the value v%1 of another program changed").arg(i));
        }
        SettingsStore store = Store(m_dir.path());
        const int cbh = store.ReadNumber(Keys::Sys::CBH);
        const int low = qMax(m_version.value(Settings), progress.done.value(Settings));
        const int high = qMax(m_version.value(Settings), progress.begun.value(Settings));
        if (cbh < low || cbh > high || store.HasErrors())
            Fail(QStringLiteral("the settings hold version %1, not one from %2 to %3").arg(cbh).arg(low).arg(high));
        m_version[Settings] = cbh;
    }

    QDir m_dir;
    QRandomGenerator m_random;
    QMap<QString, int> m_version; // what each file held after the last check
    QMap<QString, int> m_epoch; // what each table held when its backup was last removed
    QMap<QString, qint64> m_stepMicros;
    QMap<int, int> m_kills;
    QMap<int, int> m_lost;
    int m_next = 1;
    int m_failures = 0;
    int m_leftovers = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args.at(0) == QLatin1String("--save"))
        return SaveLoop(args.at(1), args.at(2).toInt());

    bool ok = false;
    const int kills = args.value(0).toInt(&ok);
    if (!ok || kills < 1) {
        std::fprintf(stderr, "usage: orbilo_soak N [SEED]\n");
        return 2;
    }
    const quint32 seed = args.size() > 1 ? args.at(1).toUInt() : QRandomGenerator::global()->generate();
    QTemporaryDir dir;
    std::printf("%d kills in %s, seed %u\n", kills, qPrintable(dir.path()), seed);
    Soak soak(dir.path(), seed);
    if (!soak.Start() || !soak.Calibrate())
        return 1;
    for (int i = 0; i < kills; ++i)
        soak.Round(Target(i % TargetCount));
    soak.Finish();
    soak.Report();
    return soak.Failures() == 0 ? 0 : 1;
}
