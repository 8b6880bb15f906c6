// The rows of a query as "a|b|c" texts, for comparing tables in tests.
#pragma once

#include "platform/ado/ado.h"

#include <QStringList>

namespace testenv {

// Every row of "Select a, b, c From ..." in the order the query gives, the columns named in
// the select list joined with "|" (Null as the empty text).
QStringList QueryRows(ado::Connection& cn, const QString& sql);

} // namespace testenv
