// SPDX-License-Identifier: MIT
// The saved game's body, after the header line, is one JSON object:
//
//   deal       the deal number, 0 .. 4294967295
//   rows, cols the board size it was dealt in
//   sets       three flags: stems, branches, stars
//   clearable  whether it was dealt to clear
//   elapsed    whole seconds on the elapsed-time clock
//   tables     the score tables' fingerprint
//   tiles      120 entries by tile number: the symbol of a tile in play, null otherwise
//   moves      the log rows of the moves made, oldest first
//   selection  the tile numbers picked, in pick order (none, one or two)
//   pending    the log row of that pick (an empty row without one)
//   redo       what can be redone, the next to redo last: { move, selection, pending }
//
// A log row is { symbols: [2 texts], points, text, tiles: [2 numbers], emptied: [2 flags] }.

#include "store/SavedGameFile.h"
#include "game/ScoreTables.h"
#include "platform/SafeFile.h"

// Qt
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace SavedGameFile {

namespace {

    const QByteArray Magic("ORBILO-SAVED-GAME");
    // Far more than the largest game (60 moves and 60 to redo) takes; a bigger file is not
    // one of ours, and is not read into memory whole.
    constexpr qsizetype MaxFileSize = 1 << 20;
    constexpr int MaxMoves = Game::TileCount / 2;
    // A hundred years of play.
    constexpr qint64 MaxElapsed = qint64(100) * 366 * 24 * 3600;

    QString& PathOverride()
    {
        static QString path;
        return path;
    }

    QByteArray Checksum(const QByteArray& body)
    {
        return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    }

    QJsonArray PicksJson(const Picks& picks)
    {
        QJsonArray out;
        for (int n : picks)
            out.append(n);
        return out;
    }

    QJsonObject RowJson(const LogRow& row)
    {
        return QJsonObject {
            { QStringLiteral("symbols"), QJsonArray { row.symbols[0], row.symbols[1] } },
            { QStringLiteral("points"), row.points },
            { QStringLiteral("text"), row.text },
            { QStringLiteral("tiles"), QJsonArray { row.tiles[0], row.tiles[1] } },
            { QStringLiteral("emptied"), QJsonArray { row.emptied[0], row.emptied[1] } },
        };
    }

    // Reads values of the expected types and ranges; the first one that is not turns the
    // whole reading into a failure, and every later read just returns a default.
    class Reader
    {
    public:
        bool Ok() const { return m_ok; }

        qint64 Integer(const QJsonValue& v, qint64 min, qint64 max)
        {
            const double d = v.toDouble(std::nan(""));
            // NaN fails every comparison, and so does a fraction.
            if (!v.isDouble() || !(d >= double(min) && d <= double(max)) || d != std::floor(d))
                return Fail(), min;
            return qint64(d);
        }
        bool Flag(const QJsonValue& v)
        {
            if (!v.isBool())
                Fail();
            return v.toBool();
        }
        QString Text(const QJsonValue& v)
        {
            if (!v.isString())
                Fail();
            return v.toString();
        }
        QJsonArray Array(const QJsonValue& v, qsizetype min, qsizetype max)
        {
            const QJsonArray a = v.toArray();
            if (!v.isArray() || a.size() < min || a.size() > max)
                return Fail(), QJsonArray();
            return a;
        }
        QJsonObject Object(const QJsonValue& v)
        {
            if (!v.isObject())
                Fail();
            return v.toObject();
        }
        template <size_t N> std::array<bool, N> Flags(const QJsonValue& v)
        {
            const QJsonArray a = Array(v, N, N);
            std::array<bool, N> out {};
            for (qsizetype i = 0; i < a.size(); ++i)
                out[size_t(i)] = Flag(a.at(i));
            return out;
        }
        Picks PickList(const QJsonValue& v)
        {
            Picks out;
            for (const QJsonValue& n : Array(v, 0, 2))
                out.push_back(int(Integer(n, 1, Game::TileCount)));
            return out;
        }
        LogRow Row(const QJsonValue& v)
        {
            const QJsonObject o = Object(v);
            LogRow row;
            const QJsonArray symbols = Array(o.value(QLatin1String("symbols")), 2, 2);
            const QJsonArray tiles = Array(o.value(QLatin1String("tiles")), 2, 2);
            for (qsizetype i = 0; i < symbols.size() && i < tiles.size(); ++i) {
                row.symbols[size_t(i)] = Text(symbols.at(i));
                row.tiles[size_t(i)] = int(Integer(tiles.at(i), 0, Game::TileCount));
            }
            row.points = Text(o.value(QLatin1String("points")));
            row.text = Text(o.value(QLatin1String("text")));
            row.emptied = Flags<2>(o.value(QLatin1String("emptied")));
            return row;
        }

    private:
        void Fail() { m_ok = false; }
        bool m_ok = true;
    };

    SavedGame ReadBody(const QJsonObject& o, Reader& in)
    {
        SavedGame saved;
        GameRecord& game = saved.game;
        auto at = [&o](const char* key) { return o.value(QLatin1String(key)); };
        game.dealNumber = quint32(in.Integer(at("deal"), 0, 0xFFFFFFFFLL));
        game.deal.rows = int(in.Integer(at("rows"), 1, Game::Rows));
        game.deal.cols = int(in.Integer(at("cols"), 1, Game::Cols));
        game.deal.sets = in.Flags<3>(at("sets"));
        game.deal.solvable = in.Flag(at("clearable"));
        saved.elapsedSeconds = in.Integer(at("elapsed"), 0, MaxElapsed);
        saved.tablesFingerprint = in.Text(at("tables")).toLatin1();

        const QJsonArray tiles = in.Array(at("tiles"), Game::TileCount, Game::TileCount);
        for (qsizetype i = 0; i < tiles.size(); ++i)
            if (!tiles.at(i).isNull())
                game.tiles[size_t(i)] = in.Text(tiles.at(i));
        for (const QJsonValue& row : in.Array(at("moves"), 0, MaxMoves))
            game.moves.push_back(in.Row(row));
        game.selection = in.PickList(at("selection"));
        game.pending = in.Row(at("pending"));
        for (const QJsonValue& value : in.Array(at("redo"), 0, MaxMoves)) {
            const QJsonObject step = in.Object(value);
            game.redo.push_back(
                { in.Row(step.value(QLatin1String("move"))), in.PickList(step.value(QLatin1String("selection"))),
                    in.Row(step.value(QLatin1String("pending"))) });
        }
        return saved;
    }

} // namespace

QByteArray Format(const SavedGame& saved)
{
    const GameRecord& game = saved.game;
    QJsonArray tiles;
    for (const std::optional<QString>& tile : game.tiles)
        tiles.append(tile ? QJsonValue(*tile) : QJsonValue(QJsonValue::Null));
    QJsonArray moves;
    for (const LogRow& row : game.moves)
        moves.append(RowJson(row));
    QJsonArray redo;
    for (const RedoStep& step : game.redo)
        redo.append(QJsonObject { { QStringLiteral("move"), RowJson(step.move) },
            { QStringLiteral("selection"), PicksJson(step.selection) },
            { QStringLiteral("pending"), RowJson(step.pending) } });
    const QJsonObject body {
        { QStringLiteral("deal"), qint64(game.dealNumber) },
        { QStringLiteral("rows"), game.deal.rows },
        { QStringLiteral("cols"), game.deal.cols },
        { QStringLiteral("sets"), QJsonArray { game.deal.sets[0], game.deal.sets[1], game.deal.sets[2] } },
        { QStringLiteral("clearable"), game.deal.solvable },
        { QStringLiteral("elapsed"), saved.elapsedSeconds },
        { QStringLiteral("tables"), QString::fromLatin1(saved.tablesFingerprint) },
        { QStringLiteral("tiles"), tiles },
        { QStringLiteral("moves"), moves },
        { QStringLiteral("selection"), PicksJson(game.selection) },
        { QStringLiteral("pending"), RowJson(game.pending) },
        { QStringLiteral("redo"), redo },
    };
    const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact);
    return Magic + ' ' + QByteArray::number(Version) + ' ' + Checksum(json) + '\n' + json;
}

ReadResult Parse(const QByteArray& bytes)
{
    const QByteArray start = Magic + ' ';
    if (!bytes.startsWith(start))
        // Nothing, or the start of our name alone, is one of ours cut short.
        return { start.startsWith(bytes) ? Status::Damaged : Status::Foreign, {}, {} };
    const qsizetype eol = bytes.indexOf('\n');
    if (bytes.size() > MaxFileSize || eol < 0)
        return { Status::Damaged, {}, {} };
    const QList<QByteArray> header = bytes.mid(start.size(), eol - start.size()).split(' ');
    const QByteArray& version = header.first();
    const bool digits = !version.isEmpty() && version.size() <= 9
        && std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (header.size() != 2 || !digits)
        return { Status::Damaged, {}, {} };
    if (version.toInt() != Version)
        return { Status::Foreign, {}, {} };
    const QByteArray body = bytes.mid(eol + 1);
    if (header.at(1) != Checksum(body))
        return { Status::Damaged, {}, {} };

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return { Status::Damaged, {}, {} };
    Reader in;
    SavedGame saved = ReadBody(document.object(), in);
    if (!in.Ok())
        return { Status::Damaged, {}, {} };
    return { Status::Read, std::move(saved), {} };
}

QString Path()
{
    if (!PathOverride().isEmpty())
        return PathOverride();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/SavedGame.dat");
}

void SetPathOverride(const QString& path)
{
    PathOverride() = path;
}

ReadResult Load(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return { Status::Missing, {}, {} };
    QByteArray bytes;
    if (const FileError error = SafeFile::Read(path, bytes, MaxFileSize + 1); !error.Ok())
        return { Status::Unreadable, {}, error };
    return Parse(bytes);
}

bool Save(const QString& path, const SavedGame& saved, QString* errorText)
{
    return SaveFormatted(path, Format(saved), errorText);
}

bool SaveFormatted(const QString& path, const QByteArray& bytes, QString* errorText)
{
    // The data folder may not exist yet; if it cannot be made, the write says why.
    if (!path.isEmpty())
        QDir().mkpath(QFileInfo(path).absolutePath());
    const FileError result = path.isEmpty() ? FileError::Of(FileError::Kind::NoFolder)
                                            : SafeFile::Write(path, bytes);
    if (!result.Ok() && errorText)
        *errorText = result.Reason();
    return result.Ok();
}

void Remove(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QFile::remove(path);
}

QByteArray TablesFingerprint(const QString& folder)
{
    QStringList paths;
    for (int kind = 1; kind <= 3; ++kind)
        paths << folder + ScoreTables::FileName(kind);
    return TablesFingerprint(paths);
}

QByteArray TablesFingerprint(const QStringList& paths)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        QFile file(path);
        hash.addData(name.toUtf8());
        // The length first, so that no two sets of files run together into the same bytes.
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            hash.addData(':' + QByteArray::number(bytes.size()) + ':');
            hash.addData(bytes);
        } else {
            hash.addData(QByteArrayView("-"));
        }
    }
    return hash.result().toHex();
}

} // namespace SavedGameFile
