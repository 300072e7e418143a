// SPDX-License-Identifier: MIT
// The settings file with another program's key of 1,000 to 1,000,000 values beside the
// game's own:
// - the first read of one of the game's values: the file's outline, then the game's key
//   parsed alone (what a start-up pays, once);
// - a later read, from a new registry object as each opening of the store makes: a look at
//   the file's stamp and a lookup, whatever the size of the file;
// - the parse of the whole file, which every change of a value pays;
// - a settings save (the options dialog's OK, every value changed) on a file with a million
//   values in the other key, beside the same save on the game's keys alone (0).

#include "ForeignKey.h"
#include "SettingsSave.h"

// own
#include "platform/RegFileDocument.h"
#include "platform/RegistryFile.h"
#include "store/Keys.h"

// Qt
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

const QString Set = Keys::Root + QStringLiteral("\\Set");

// The game's own key.
QByteArray OwnKeys()
{
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n\"TimeE\"=\"30\"\r\n";
}

QByteArray FileBytes(int count)
{
    return OwnKeys() + ForeignKey(count);
}

void BM_RegistryFirstRead(benchmark::State& state)
{
    const QByteArray bytes = FileBytes(int(state.range(0)));
    for (auto _ : state) {
        const std::optional<RegFile::Section> set = RegFile::Outline(bytes).KeySection(Set);
        benchmark::DoNotOptimize(set->FindValue(QStringLiteral("TimeE")));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_RegistryFirstRead)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);

void BM_RegistryParse(benchmark::State& state)
{
    const QByteArray bytes = FileBytes(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RegFile::Parse(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_RegistryParse)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);

// The files, written once and then left alone until their stamps alone vouch for them.
QString FilePath(int count)
{
    static QTemporaryDir dir;
    static QHash<int, QString> paths;
    if (paths.isEmpty()) {
        for (const int n : { 1000, 10000, 100000, 1000000 }) {
            QFile file(dir.filePath(QStringLiteral("registry-%1.reg").arg(n)));
            if (!file.open(QIODevice::WriteOnly) || file.write(FileBytes(n)) < 0)
                return {};
            paths.insert(n, file.fileName());
        }
        QThread::msleep(RegistryFile::RecentChangeMs + 200);
    }
    return paths.value(count);
}

void BM_RegistryRead(benchmark::State& state)
{
    const QString path = FilePath(int(state.range(0)));
    if (RegistryFile(path).ReadValue(Set, QStringLiteral("TimeE")).value.ToText() != QStringLiteral("30")) {
        state.SkipWithError("the file does not read");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RegistryFile(path).ReadValue(Set, QStringLiteral("TimeE")));
}
BENCHMARK(BM_RegistryRead)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMicrosecond);

void BM_RegistrySave(benchmark::State& state)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("save-%1.reg").arg(state.range(0)));
    QFile file(path);
    const QByteArray bytes = state.range(0) > 0 ? FileBytes(int(state.range(0))) : OwnKeys();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0) {
        state.SkipWithError("the file cannot be made");
        return;
    }
    file.close();
    Registry::SetUserFileOverride(path);
    SettingsSave save;
    save.ReadAtStart();
    for (auto _ : state) {
        if (!save.Save()) {
            state.SkipWithError("a setting was not written");
            break;
        }
    }
    Registry::SetUserFileOverride(QString());
}
BENCHMARK(BM_RegistrySave)->Arg(0)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
