// SPDX-License-Identifier: MIT
// Replays inputs through a fuzz harness without libFuzzer, so that the seed corpus runs as
// ordinary tests in every build and a crash can be stepped through in a debugger:
//
//     orbilo_fuzz_replay TARGET [FILE|FOLDER]...
//
// With no file the input is read from standard input. A folder stands for every file in
// it. The harness aborts on the first input that breaks it; otherwise every input is named
// on standard output and the exit status is 0.

#include "FuzzHarness.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <vector>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: orbilo_fuzz_replay %s [FILE|FOLDER]...\n",
        qPrintable(Fuzz::TargetNames().join(QLatin1Char('|'))));
    return 2;
}

bool Replay(Fuzz::Harness harness, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    // Copied into a buffer of exactly the input's size, as libFuzzer hands it over.
    std::vector<uint8_t> exact(bytes.cbegin(), bytes.cend());
    Fuzz::RunOnRawData(harness, exact.data(), exact.size());
    std::printf("ok %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const Fuzz::Harness harness = Fuzz::FindTarget(QString::fromLocal8Bit(argv[1]));
    if (!harness)
        return Usage();

    if (argc == 2) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = in.readAll();
        std::vector<uint8_t> exact(bytes.cbegin(), bytes.cend());
        Fuzz::RunOnRawData(harness, exact.data(), exact.size());
        std::printf("ok <stdin> (%lld bytes)\n", static_cast<long long>(bytes.size()));
        return 0;
    }

    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(path).isDir()) {
            const QDir dir(path);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                ok = Replay(harness, dir.filePath(name)) && ok;
        } else {
            ok = Replay(harness, path) && ok;
        }
    }
    return ok ? 0 : 1;
}
