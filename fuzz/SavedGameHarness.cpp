// SPDX-License-Identifier: MIT
// The saved-game harness. The bytes are read as the start reads the kept game, and what is
// read is used as the start uses it: restored into a game, which must then hold exactly the
// record, and played on (every move taken back and put again) back to the same record. What
// was read must also write back and read again unchanged.
//
// A checksum stops almost every mutated input at the first check, so each input also runs a
// second time with a correct checksum put in its header: the fuzzer reaches the JSON and
// the game behind it instead of only the checksum test.

#include "FuzzHarness.h"

// own
#include "game/Game.h"
#include "store/SavedGameFile.h"

// Qt
#include <QCryptographicHash>

namespace Fuzz {

namespace {

    constexpr const char* Name = "savedgame";

    void RequireRoundTrip(const SavedGameFile::SavedGame& saved)
    {
        const SavedGameFile::ReadResult back = SavedGameFile::Parse(SavedGameFile::Format(saved));
        FUZZ_REQUIRE(Name, back.status == SavedGameFile::Status::Read, QStringLiteral("a saved game does not read back"));
        FUZZ_REQUIRE(Name, back.saved == saved, QStringLiteral("a saved game reads back changed"));
    }

    void RestoreAndPlay(const GameRecord& record)
    {
        QuietGameHost host;
        Game game(host);
        game.NewGame(1);
        const GameRecord before = game.Record();
        if (!game.Restore(record)) {
            FUZZ_REQUIRE(Name, game.Record() == before, QStringLiteral("a refused record changed the game"));
            return;
        }
        FUZZ_REQUIRE(Name, game.Record() == record, QStringLiteral("the restored game is not the record"));
        FUZZ_REQUIRE(Name, Game::IsTileNumber(game.FindMove()), QStringLiteral("a game without a move was restored"));
        const int moves = int(record.moves.size());
        for (int i = 0; i < moves; ++i)
            game.ReBtnClick();
        FUZZ_REQUIRE(Name, game.MoveRow() == 1, QStringLiteral("undo stopped at row %1").arg(game.MoveRow()));
        for (int i = 0; i < moves; ++i)
            game.RedoClick();
        FUZZ_REQUIRE(Name, game.Record() == record, QStringLiteral("undo and redo did not come back to the record"));
    }

    void Run(const QByteArray& bytes)
    {
        const SavedGameFile::ReadResult read = SavedGameFile::Parse(bytes);
        FUZZ_REQUIRE(Name, read.status != SavedGameFile::Status::Missing, QStringLiteral("bytes read as no file"));
        if (read.status != SavedGameFile::Status::Read)
            return;
        RequireRoundTrip(read.saved);
        RestoreAndPlay(read.saved.game);
    }

} // namespace

void RunSavedGame(const QByteArray& input)
{
    Run(input);
    // The same body under a header whose checksum fits it.
    const qsizetype eol = input.indexOf('\n');
    const QByteArray body = eol < 0 ? input : input.mid(eol + 1);
    Run("ORBILO-SAVED-GAME 1 " + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n' + body);
}

} // namespace Fuzz
