// Registers the SQLite ODBC driver under the SQL-server driver name in a test-local
// odbcinst.ini, so the real driver manager and an ODBC driver carry the SQL-server path.
#pragma once

#include <QString>

namespace testenv {

void RegisterSqlServerDriver();
// The store's SQL-server connection string as the tool builds it, on a stand-in file.
QString SqlServerConnectionString(const QString& sqlitePath);
// A fresh temporary folder for one test's files (removed at process exit).
QString TempDir();

} // namespace testenv
