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

// The driver's and the database's texts of a failure, as a run's error carries them.
QString errorText(const QSqlError& e);

} // namespace ado
