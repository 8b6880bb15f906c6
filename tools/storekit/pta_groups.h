// Pta_-schema group tables of one brand suffix, and a part table holding only the key that
// the group queries join on.
#pragma once

#include "storekit.h"

namespace storekit {

// Pta_AltG_<sfx> (PartID, AltID), and the shared queue Pta_AltGX when it is missing.
void CreatePtaGroupTables(ado::Connection& cn, const QString& sfx);
// Pta_<sfx> with the column PartID only, for fixtures that need no full part rows.
void CreateMinimalPtaPartTable(ado::Connection& cn, const QString& sfx);

} // namespace storekit
