// SPDX-License-Identifier: MIT
// The settings file with another program's key of 1,000 to 1,000,000 values beside the
// game's own:
// - the first read of one of the game's values: the file's outline, then the game's key
//   parsed alone (what a start-up pays, once);
// - a later read, from a new registry object as each opening of the store makes: a look at
//   the file's stamp and a lookup, whatever the size of the file;
// - the parse of the whole file, which every change of a value pays.

#include "ForeignKey.h"

// own
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

QByteArray FileBytes(int count)
{
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brimwell\\TESRIK\\Set]\r\n\"TimeE\"=\"30\"\r\n"
        + ForeignKey(count);
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

} // namespace

BENCHMARK_MAIN();
