// Registers the SQLite ODBC driver under the SQL-server driver name in a test-local
// odbcinst.ini, so the real driver manager and an ODBC driver carry the SQL-server path; and
// fresh folders for a test's files; a store that reports no row counts.
#pragma once

#include "platform/ado/ado.h"

#include <QString>

namespace testenv {

void RegisterSqlServerDriver();
// The store's SQL-server connection string as the tool builds it, on a stand-in file.
QString SqlServerConnectionString(const QString& sqlitePath);
// A fresh temporary folder for one test's files (removed at process exit).
QString TempDir();

// A fresh folder and the paths of a run's price list and store in it (neither file made).
struct RunFiles {
    QString dir = TempDir();
    QString priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
    QString store = dir + QStringLiteral("/Velandor.accdb");
};

// While it lives, every connection answers row counts as not known, as a SQL server session
// with NOCOUNT on does.
struct WithheldRowCounts {
    WithheldRowCounts() { ado::WithholdRowCounts(true); }
    ~WithheldRowCounts() { ado::WithholdRowCounts(false); }
    WithheldRowCounts(const WithheldRowCounts&) = delete;
    WithheldRowCounts& operator=(const WithheldRowCounts&) = delete;
};

} // namespace testenv
