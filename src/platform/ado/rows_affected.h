// Inside the layer: how many rows a statement changed, as the driver reports it.
#pragma once

#include <QSqlQuery>
#include <cstdint>

namespace ado {

// -1 when not known (the driver does not tell, or counts are withheld).
int64_t rowsAffected(const QSqlQuery& q);

} // namespace ado
