// Pieces of the classic part rows that most store versions share, and the replacement row that
// every version derives from its main row.
#pragma once

#include "engine.h"

namespace insert {

// The sixteen cells before the list price: key, kind, search code, number, the staged part's
// first replacement slot, names, description, model text and import.
QString CommonHead();
// The seventeen cells that end most rows: a note, counts, BrandID, the part code and zeros.
QString CommonTail();

// A replacement part carries the staged part's names and prices but not what belongs to the
// staged part alone: its first replacement slot, its description and its import stay empty.
Row ReplacementRowOf(Row mainRow);

// A member whose replacement row is derived from its main row, with the common code row.
Member MemberOfMainRow(const QString& mainRow);

} // namespace insert
