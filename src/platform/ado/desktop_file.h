// The desktop file's care, inside the layer: the registry of open connections and their files,
// which the close on the way out and the giving back of a file's journal mode go by.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace ado {

class Connection;

// file: the canonical path of the desktop file, empty for any other connection.
void RegisterOpen(Connection* connection, const QString& file);
void ForgetOpen(const Connection* connection);
std::vector<Connection*> OpenConnections();
// Another of this process's open connections on the file, or null.
Connection* OtherConnectionOn(const QString& file, const Connection* self);

// Whether the stand-in file's SQLite connection is inside a transaction: SQLite ends one by
// itself on some errors (a full disk, an I/O error, a busy lock in some cases, RAISE(ROLLBACK)).
bool SqliteHoldsTransaction(QSqlDatabase& db);

} // namespace ado
