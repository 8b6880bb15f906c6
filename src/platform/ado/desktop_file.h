// The desktop file's care, inside the layer: what the rest of the layer asks of a stand-in file.
#pragma once

#include <QSqlDatabase>

namespace ado {

// Whether the stand-in file's SQLite connection is inside a transaction: SQLite ends one by
// itself on some errors (a full disk, an I/O error, a busy lock in some cases, RAISE(ROLLBACK)).
bool SqliteHoldsTransaction(QSqlDatabase& db);

} // namespace ado
