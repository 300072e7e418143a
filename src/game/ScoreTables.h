// SPDX-License-Identifier: MIT
// The three score tables: for every ordered pair of symbols of one kind, its points and a
// short text. Columns: first symbol, second symbol, points, text; row 0 is a header row
// that no lookup reads.
#pragma once

#include "game/TextGrid.h"

namespace ScoreTables {

constexpr int Columns = 4;

// Header row plus 100, 144 and 81 pair rows, for kinds 1 stems, 2 branches, 3 stars.
constexpr int InitialRowCount(int kind)
{
    return kind == 1 ? 101 : kind == 2 ? 145 : kind == 3 ? 82 : 1;
}

// "SG1.dat", "SG2.dat", "SG3.dat".
QString FileName(int kind);

// The default contents: every ordered pair of the kind's symbols in alphabet order, then
// for every row whose two symbols are filled, the points and text of their elements'
// relation. Row 0 and the row count are left as they are.
void FillDefaults(int kind, TextGrid& table);

} // namespace ScoreTables
