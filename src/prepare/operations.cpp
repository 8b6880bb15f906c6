// The table of preparation operations: name, help line, whether it rewrites tables, whether it
// needs the store, and the function. The runner knows nothing else about them.
#include "operations.h"

namespace prepare {

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> table {
        { "BuildPriceList",
            "build PriceList_<n> from the raw sheets PriceNew_<n>, keeping the top price", true,
            false, BuildPriceList },
        { "ClearSplitPriceLists", "empty every PriceList_<n> that PriceList_Count lists", true,
            false, ClearSplitPriceLists },
    };
    return table;
}

const Operation* FindOperation(const QString& name) {
    for (const Operation& op : Operations())
        if (name == QLatin1String(op.name)) return &op;
    return nullptr;
}

} // namespace prepare
