// SPDX-License-Identifier: MIT
// The saved game on disk: what is written reads back as it was and restores the game; any
// cut or changed byte is caught as damage, a file that is not ours as foreign, one that
// cannot be read as unreadable, with the reason; the write
// leaves the old file whole when it fails; the tables' fingerprint follows the table files.

#include "game/Game.h"
#include "store/SavedGameFile.h"
#include "game/ScoreTables.h"
#include "game/Symbols.h"

// Qt
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// GoogleTest
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Unprivileged.h"

#include <random>

namespace {

using SavedGameFile::Status;

// A game in the middle of play: moves, a few taken back, one redone, and a pair standing
// when `standing` (which forgets what could be redone).
SavedGameFile::SavedGame PlayedGame(quint32 seed, bool standing)
{
    QuietGameHost host;
    host.deal = { 6, 8, { true, true, true }, seed % 2 == 0 };
    Game game(host);
    game.NewGame(seed);
    std::mt19937 rng(seed);
    for (int move = 0; move < 8; ++move) {
        std::vector<std::pair<int, int>> pairs;
        for (int a = 1; a <= Game::TileCount; ++a)
            for (int b : { a + 1, a + Game::Cols })
                if (b <= Game::TileCount
                    && (b - a == Game::Cols || (a - 1) / Game::Cols == (b - 1) / Game::Cols)
                    && game.TileByNumber(a).visible && game.TileByNumber(b).visible
                    && Symbols::SymbolKind(game.TileByNumber(a).caption)
                        == Symbols::SymbolKind(game.TileByNumber(b).caption))
                    pairs.push_back({ a, b });
        if (pairs.size() < 3)
            break;
        const auto [a, b] = pairs[rng() % pairs.size()];
        const PickMode mode = standing && move == 7 ? PickMode::Hold : PickMode::Remove;
        game.Pick(b, mode); // the lower (or right) tile first
        game.Pick(a, mode);
    }
    if (!standing) {
        game.ReBtnClick();
        game.ReBtnClick();
        game.ReBtnClick();
        game.RedoClick();
    }
    return { game.Record(), qint64(seed) * 61,
        SavedGameFile::TablesFingerprint(QStringLiteral("/nonexistent/")) };
}

TEST(SavedGameFileTest, WhatIsWrittenReadsBackAndRestores)
{
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        const SavedGameFile::SavedGame saved = PlayedGame(seed, seed % 3 == 0);
        const QByteArray bytes = SavedGameFile::Format(saved);
        ASSERT_TRUE(bytes.startsWith("ORBILO-SAVED-GAME 1 "));
        const SavedGameFile::ReadResult read = SavedGameFile::Parse(bytes);
        ASSERT_EQ(read.status, Status::Read);
        EXPECT_TRUE(read.saved == saved);
        QuietGameHost host;
        Game game(host);
        EXPECT_TRUE(game.Restore(read.saved.game));
    }
}

TEST(SavedGameFileTest, EveryCutOrChangedByteIsDamage)
{
    const QByteArray bytes = SavedGameFile::Format(PlayedGame(7, false));
    std::mt19937 rng(7);
    for (qsizetype cut = 0; cut < bytes.size(); cut += 1 + qsizetype(rng() % 7))
        ASSERT_EQ(SavedGameFile::Parse(bytes.left(cut)).status, Status::Damaged) << "cut at " << cut;
    for (int i = 0; i < 2000; ++i) {
        QByteArray changed = bytes;
        const qsizetype at = qsizetype(rng() % quint32(bytes.size()));
        changed[at] = char(changed[at] ^ (1 << (rng() % 8)));
        const Status status = SavedGameFile::Parse(changed).status;
        // A change in our name (and the blank after it) makes it another file, one in the
        // version another version or damage, and any other damage.
        if (at < 18)
            ASSERT_EQ(status, Status::Foreign) << "byte " << at;
        else if (at == 18)
            ASSERT_NE(status, Status::Read);
        else
            ASSERT_EQ(status, Status::Damaged) << "byte " << at;
    }
    // A checksum that fits a body which is no game.
    const QByteArray notAGame = "{\"deal\": \"x\"}";
    const QByteArray header = "ORBILO-SAVED-GAME 1 "
        + QCryptographicHash::hash(notAGame, QCryptographicHash::Sha256).toHex() + '\n';
    EXPECT_EQ(SavedGameFile::Parse(header + notAGame).status, Status::Damaged);
}

TEST(SavedGameFileTest, OtherFilesAndOtherVersionsAreForeign)
{
    const QByteArray bytes = SavedGameFile::Format(PlayedGame(3, true));
    QByteArray newer = bytes;
    newer.replace("ORBILO-SAVED-GAME 1 ", "ORBILO-SAVED-GAME 2 ");
    EXPECT_EQ(SavedGameFile::Parse(newer).status, Status::Foreign);
    EXPECT_EQ(SavedGameFile::Parse("REGEDIT4\r\n\r\n").status, Status::Foreign);
    EXPECT_EQ(SavedGameFile::Parse("Rank,Name,Point,Time,\r\n").status, Status::Foreign);
    EXPECT_EQ(SavedGameFile::Parse(QByteArray()).status, Status::Damaged); // emptied on the way
}

TEST(SavedGameFileTest, FilesOnDisk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new/folder/SavedGame.dat"));
    EXPECT_EQ(SavedGameFile::Load(path).status, Status::Missing);
    const SavedGameFile::SavedGame first = PlayedGame(11, false);
    ASSERT_TRUE(SavedGameFile::Save(path, first));
    SavedGameFile::ReadResult read = SavedGameFile::Load(path);
    ASSERT_EQ(read.status, Status::Read);
    EXPECT_TRUE(read.saved == first);

    // A write that cannot be made (a folder where the temporary file should go is a file)
    // says why and leaves the old file as it was.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    WriteAll(blocked, "x");
    QString why;
    EXPECT_FALSE(SavedGameFile::Save(blocked + QStringLiteral("/SavedGame.dat"), first, &why));
    EXPECT_FALSE(why.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("readonly")));
    const QString kept = dir.filePath(QStringLiteral("readonly/SavedGame.dat"));
    ASSERT_TRUE(SavedGameFile::Save(kept, first));
    QFile::setPermissions(dir.filePath(QStringLiteral("readonly")), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(dir.filePath(QStringLiteral("readonly"))).isWritable()) { // not as root
        EXPECT_FALSE(SavedGameFile::Save(kept, PlayedGame(12, true)));
        EXPECT_TRUE(SavedGameFile::Load(kept).saved == first);
    }
    QFile::setPermissions(
        dir.filePath(QStringLiteral("readonly")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A folder in the file's place cannot be read, and says why.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("SavedGame.dat")));
    read = SavedGameFile::Load(dir.filePath(QStringLiteral("SavedGame.dat")));
    EXPECT_EQ(read.status, Status::Unreadable);
    EXPECT_EQ(read.error.kind, FileError::Kind::FolderInTheWay);
    SavedGameFile::Remove(path);
    EXPECT_EQ(SavedGameFile::Load(path).status, Status::Missing);
}

// A whole saved game the player may not read (mode 000) is no damage: it cannot be read, for
// want of permission, and stays as it was.
TEST(SavedGameFileTest, AFileThatMayNotBeReadIsUnreadableNotDamaged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SavedGame.dat"));
    const SavedGameFile::SavedGame game = PlayedGame(11, false);
    ASSERT_TRUE(SavedGameFile::Save(path, game));
    const QByteArray bytes = ReadAll(path);
#ifdef _WIN32
    GTEST_SKIP() << "Windows grants reading through access lists; a file's mode cannot take it away";
#endif
    // The folder open to all, so that only the file's own mode stands in the way.
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    SavedGameFile::ReadResult read;
    const bool ran = WithoutRootsPermissions([&] { read = SavedGameFile::Load(path); });
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!ran)
        GTEST_SKIP() << "running as root, and the file-system identity could not be changed";
    EXPECT_EQ(read.status, Status::Unreadable);
    EXPECT_EQ(read.error.kind, FileError::Kind::AccessDenied);
    EXPECT_EQ(read.error.ReadReason(), QStringLiteral("読み取る権限がありません"));
    EXPECT_EQ(ReadAll(path), bytes);
}

TEST(SavedGameFileTest, TheTablesFingerprintFollowsTheTableFiles)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QByteArray none = SavedGameFile::TablesFingerprint(folder);
    WriteAll(folder + ScoreTables::FileName(1), "甲,甲,3,主気,\r\n");
    const QByteArray one = SavedGameFile::TablesFingerprint(folder);
    EXPECT_NE(one, none);
    EXPECT_EQ(SavedGameFile::TablesFingerprint(folder), one);
    WriteAll(folder + ScoreTables::FileName(1), "甲,甲,4,主気,\r\n");
    EXPECT_NE(SavedGameFile::TablesFingerprint(folder), one);
    // The same bytes in another table are other tables.
    QFile::remove(folder + ScoreTables::FileName(1));
    WriteAll(folder + ScoreTables::FileName(2), "甲,甲,4,主気,\r\n");
    EXPECT_NE(SavedGameFile::TablesFingerprint(folder), one);
}

} // namespace
