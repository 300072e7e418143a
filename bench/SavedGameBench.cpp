// SPDX-License-Identifier: MIT
// The game kept while it is played: what the main window does a moment after a move when
// the player keeps the game across restarts. The record of a 10 x 12 board of all three sets
// with 30 moves played, the fingerprint of the three table files, and the safe write (a
// temporary file, synced, renamed over the old one) into a folder beside the working
// directory, so that it meets the disk the player's data folder is on rather than a tmpfs.

// own
#include "game/Game.h"
#include "game/GameHost.h"
#include "game/Symbols.h"
#include "store/SavedGameFile.h"

// Qt
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A folder with table files of the usual size (the fingerprint reads them whole) and a game
// on a 10 x 12 board of all three sets, 30 moves into it.
struct Fixture
{
    QTemporaryDir folder { QDir::current().filePath(QStringLiteral("savedgame-bench-XXXXXX")) };
    QuietGameHost host;
    Game game { host };

    Fixture()
    {
        for (int kind = 1; kind <= 3; ++kind) {
            QFile table(folder.filePath(QStringLiteral("SG%1.dat").arg(kind)));
            table.open(QIODevice::WriteOnly);
            table.write(QByteArray(4000, 'x'));
        }
        host.deal = DealSettings { 10, 12, { true, true, true } };
        Play(game);
    }

    static void Play(Game& game);
};

void Fixture::Play(Game& game)
{
    game.Seed(20240601);
    game.NewGame();
    // Thirty moves: each the first tile with a partner and that partner.
    for (int move = 0; move < 30; ++move) {
        const int a = game.FindMove();
        if (!Game::IsTileNumber(a))
            break;
        const quint8 kind = Symbols::SymbolKind(game.TileByNumber(a).caption);
        const int col = (a - 1) % Game::Cols;
        for (const int b : { col + 1 < Game::Cols ? a + 1 : 0, a + Game::Cols, col > 0 ? a - 1 : 0, a - Game::Cols }) {
            if (Game::IsTileNumber(b) && game.TileByNumber(b).visible
                && Symbols::SymbolKind(game.TileByNumber(b).caption) == kind) {
                game.Pick(a, PickMode::Remove);
                game.Pick(b, PickMode::Remove);
                break;
            }
        }
    }
}

// What the window's thread does after a move: the record, the tables' fingerprint and the
// file's bytes. The write itself happens on the keeper's own thread.
void BM_KeepGameOnTheWindowThread(benchmark::State& state)
{
    const Fixture fixture;
    for (auto _ : state) {
        const SavedGameFile::SavedGame saved { fixture.game.Record(), 600,
            SavedGameFile::TablesFingerprint(fixture.folder.path() + QLatin1Char('/')) };
        benchmark::DoNotOptimize(SavedGameFile::Format(saved));
    }
    state.counters["moves"] = double(fixture.game.Record().moves.size());
}
BENCHMARK(BM_KeepGameOnTheWindowThread)->Unit(benchmark::kMicrosecond);

// The keeper thread's safe write of those bytes: a temporary file, synced, renamed.
void BM_KeepGameWrite(benchmark::State& state)
{
    const Fixture fixture;
    const QByteArray bytes = SavedGameFile::Format({ fixture.game.Record(), 600, QByteArray(32, 'f') });
    const QString path = fixture.folder.filePath(QStringLiteral("SavedGame.dat"));
    for (auto _ : state)
        if (!SavedGameFile::SaveFormatted(path, bytes))
            state.SkipWithError("the saved game could not be written");
}
BENCHMARK(BM_KeepGameWrite)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
