// FreeTDS's settings that the SQL-server road depends on: the TDS version a login goes out with,
// from TDSVER, the connection string or the freetds.conf files FreeTDS reads.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ado {

// A version FreeTDS takes by name ("auto" and "0" leave the choice to it, so they name none).
bool NamesTdsVersion(const QByteArray& v);

// The tds version one freetds.conf gives the server (its section name in lower case): its own
// section's, else [global]'s; empty when it gives none.
QByteArray TdsVersionInConfFile(const QString& path, const QByteArray& server);

// The freetds.conf files FreeTDS looks at, in its order.
QStringList FreeTdsConfFiles();

// The first version those files name for the server (host, host,port or host\instance).
QByteArray TdsVersionInFreeTdsConf(const QString& server);

// Fixes TDSVER for the login the string is about to make, unless the user set a version.
void SettleTdsVersion(const QString& connectionString);

} // namespace ado
