// The stand-in's schema: a table created on a SQLite file compares and limits its texts as the
// desktop database and a SQL server do.
#pragma once

#include <QString>

namespace ado {

// The table a Create Table statement makes; empty for any other statement.
QString CreatedTable(const QString& statement);

// The statement as sent to a SQLite backend: a Create Table's Text(n) and nvarchar(n) columns
// (those without a collation of their own) compare without case.
QString ComparedAsTheStore(const QString& statement);

} // namespace ado
