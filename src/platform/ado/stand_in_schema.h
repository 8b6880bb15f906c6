// The stand-in's schema: a table created on a SQLite file compares and limits its texts as the
// desktop database and a SQL server do.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace ado {

// The table a Create Table statement makes; empty for any other statement.
QString CreatedTable(const QString& statement);

// The statement as sent to a SQLite backend: a Create Table's Text(n) and nvarchar(n) columns
// (those without a collation of their own) compare without case.
QString ComparedAsTheStore(const QString& statement);

// Adds the stand-in's refusal of texts longer than their declared column (Text(n),
// nvarchar(n), varchar(n)) to one table of a stand-in file.
void InstallLengthChecks(QSqlDatabase& db, const QString& table);

} // namespace ado
