// Part-table layouts: see layouts_more.h.
#include "layouts_more.h"

namespace storekit {

std::optional<std::vector<Column>> PartColumnsP43ToP48(const QString&) {
    return std::nullopt;
}

} // namespace storekit
