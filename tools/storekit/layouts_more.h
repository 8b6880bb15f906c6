// Part-table layouts of the classic versions beyond the first eight, one function per group of
// versions; each gives no columns for a version it does not know.
#pragma once

#include "storekit.h"

#include <optional>

namespace storekit {

std::optional<std::vector<Column>> PartColumnsV34ToV46(const QString& version);
std::optional<std::vector<Column>> PartColumnsP43ToP48(const QString& version);
std::optional<std::vector<Column>> PartColumnsP49ToP65(const QString& version);

} // namespace storekit
