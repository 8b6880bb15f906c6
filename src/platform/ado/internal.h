// Inside the layer: what every one of its files shares (the traces, row counts, error texts).
#pragma once

#include "ado.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cstdint>

namespace ado {

void trace(const QString& statement);
bool tracingEvents();
void traceEvent(const TraceEvent& event);

// -1 when not known (the driver does not tell, or counts are withheld).
int64_t rowsAffected(const QSqlQuery& q);

// A failure's text, in the two forms a run's error carries. A connection's open and a statement
// run for no rows give the driver's text, then the database's ("Unable to execute statement: no
// such table: X"); a query's read and a row write give the database's text alone, else Qt's.
QString driverAndDatabaseText(const QSqlError& e);
QString databaseTextAlone(const QSqlError& e);

} // namespace ado
