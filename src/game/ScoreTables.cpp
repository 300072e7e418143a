// SPDX-License-Identifier: MIT
#include "game/ScoreTables.h"
#include "game/Symbols.h"

namespace ScoreTables {

namespace {

const char* const RelationPoints[6] = { "", "5", "3", "0", "-3", "-5" };

} // namespace

QString FileName(int kind)
{
    return QStringLiteral("SG") + QString::number(kind) + QStringLiteral(".dat");
}

void FillDefaults(int kind, TextGrid& table)
{
    const QString symbols = kind == 1 ? Symbols::Stems : kind == 2 ? Symbols::Branches : Symbols::Stars;
    const int n = int(symbols.size());
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int row = i * n + j + 1;
            table.SetCell(0, row, symbols.at(i));
            table.SetCell(1, row, symbols.at(j));
        }

    const QStringList& names = kind == 3 ? Symbols::StarRelationNames : Symbols::StemBranchRelationNames;
    for (int row = 1; row < table.RowCount(); ++row) {
        const QString first = table.Cell(0, row);
        const QString second = table.Cell(1, row);
        if (first.isEmpty() || second.isEmpty())
            continue;
        const int r = Symbols::ElementRelation(Symbols::SymbolElement(first), Symbols::SymbolElement(second));
        table.SetCell(2, row, QLatin1String(RelationPoints[r]));
        table.SetCell(3, row, names.at(r));
    }
}

} // namespace ScoreTables
