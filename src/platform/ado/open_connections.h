// The registry of this process's open connections (stand-in files, ODBC data sources) and their
// files, which the close on the way out and the giving back of a file's journal mode go by.
#pragma once

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

} // namespace ado
