// SPDX-License-Identifier: MIT
// The record table (bench/records.tsv): for each deal of the yardstick, the best total known
// and the line that reaches it. A line is the game's picks, two tile numbers a move in the
// order they are picked ("13-25"), so that it replays through the game itself as a player
// clicks it. A total marked proven is the optimum (the exact search finished).
//
// One record a line, tab-separated: size ("10x12", rows x columns), sets (the deal's
// symbol sets as bits: 1 stems, 2 branches, 4 stars), deal number, total, "proven" or "-",
// how it was found, the picks separated by spaces. Lines starting with # are comments and
// are kept as they are when the table is written again. Default score tables throughout.
#pragma once

// own
#include "game/Game.h"
#include "game/GameHost.h"
#include "game/ScoreTables.h"
#include "game/TextGrid.h"

// Qt
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Records {

struct Record
{
    int rows = 0;
    int cols = 0;
    int sets = 7;
    quint32 deal = 0;
    int total = 0;
    bool proven = false;
    QString found;
    std::vector<std::pair<int, int>> picks;

    QString Size() const { return QStringLiteral("%1x%2").arg(rows).arg(cols); }
};

struct Table
{
    QStringList comments; // the # lines at the top, as read
    std::vector<Record> records;
};

// The table at `path`; nothing, with `error` saying where, when a record does not parse.
inline std::optional<Table> Read(const QString& path, QString* error = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    Table table;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        if (line.startsWith('#')) {
            if (table.records.empty())
                table.comments << line;
            continue;
        }
        const QStringList cells = line.split('\t');
        Record r;
        bool ok = cells.size() == 7;
        const QStringList size = ok ? cells[0].split('x') : QStringList();
        ok = ok && size.size() == 2;
        bool good[5] {};
        if (ok) {
            r.rows = size[0].toInt(&good[0]);
            r.cols = size[1].toInt(&good[1]);
            r.sets = cells[1].toInt(&good[2]);
            r.deal = cells[2].toUInt(&good[3]);
            r.total = cells[3].toInt(&good[4]);
            r.proven = cells[4] == QStringLiteral("proven");
            r.found = cells[5];
            for (const QString& pick : cells[6].split(' ', Qt::SkipEmptyParts)) {
                const QStringList ab = pick.split('-');
                bool okA = false, okB = false;
                if (ab.size() == 2)
                    r.picks.push_back({ ab[0].toInt(&okA), ab[1].toInt(&okB) });
                ok = ok && okA && okB;
            }
        }
        for (bool g : good)
            ok = ok && g;
        ok = ok && r.rows >= 3 && r.rows <= Game::Rows && r.cols >= 4 && r.cols <= Game::Cols && r.sets >= 1 && r.sets <= 7;
        if (!ok) {
            if (error)
                *error = QStringLiteral("%1:%2: not a record").arg(path).arg(lineNumber);
            return std::nullopt;
        }
        table.records.push_back(std::move(r));
    }
    return table;
}

// Writes the table in place of the file, whole or not at all; its lines end in LF on every
// system, so that a table written on Windows differs from the stored one only where it should.
inline bool Write(const QString& path, const Table& table)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const QString& comment : table.comments)
        text += comment + '\n';
    for (const Record& r : table.records) {
        QStringList picks;
        for (const auto& [a, b] : r.picks)
            picks << QStringLiteral("%1-%2").arg(a).arg(b);
        text += QStringList { r.Size(), QString::number(r.sets), QString::number(r.deal), QString::number(r.total),
                              r.proven ? QStringLiteral("proven") : QStringLiteral("-"), r.found, picks.join(' ') }
                    .join('\t')
            + '\n';
    }
    file.write(text.toUtf8());
    return file.commit();
}

// The default score tables, made once.
inline const std::array<std::shared_ptr<TextGrid>, 4>& DefaultTables()
{
    static const auto tables = [] {
        std::array<std::shared_ptr<TextGrid>, 4> t;
        for (int kind = 1; kind <= 3; ++kind) {
            t[size_t(kind)] = std::make_shared<TextGrid>(ScoreTables::Columns, ScoreTables::InitialRowCount(kind));
            ScoreTables::FillDefaults(kind, *t[size_t(kind)]);
        }
        return t;
    }();
    return tables;
}

// A host that notes the points total when the game ends.
class EndHost : public QuietGameHost
{
public:
    const Game* game = nullptr;
    std::optional<int> endPoints;

    void GameEnded(GameEnd end) override
    {
        QuietGameHost::GameEnded(end);
        endPoints = game->PointsTotal();
    }
};

// A game dealt as a record's deal, under the default score tables.
struct DealtGame
{
    EndHost host;
    Game game { host };

    DealtGame(int rows, int cols, int sets, std::optional<quint32> deal)
    {
        host.game = &game;
        host.deal = DealSettings { rows, cols, { (sets & 1) != 0, (sets & 2) != 0, (sets & 4) != 0 } };
        for (int kind = 1; kind <= 3; ++kind)
            game.SetScoreTable(kind, DefaultTables()[size_t(kind)].get());
        game.NewGame(deal);
    }
    explicit DealtGame(const Record& r) : DealtGame(r.rows, r.cols, r.sets, r.deal) { }
};

// The total the game ends on when the record's picks are clicked into it: nothing when the
// game ends before the last pick or not with it.
inline std::optional<int> PlayedTotal(const Record& r)
{
    DealtGame dealt(r);
    for (const auto& [a, b] : r.picks) {
        if (dealt.host.gameOver)
            return std::nullopt;
        dealt.game.Pick(a, PickMode::Remove);
        dealt.game.Pick(b, PickMode::Remove);
    }
    return dealt.host.gameOver ? dealt.host.endPoints : std::nullopt;
}

} // namespace Records
