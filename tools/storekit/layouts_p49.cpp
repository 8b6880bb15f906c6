// Part-table layouts: see layouts_more.h.
#include "layouts_more.h"

namespace storekit {

std::optional<std::vector<Column>> PartColumnsP49ToP65(const QString&) {
    return std::nullopt;
}

} // namespace storekit
