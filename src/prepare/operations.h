// The preparation operations of the price-list database and the one table the runner reads:
// each operation is a free function over the run state.
#pragma once

#include "app/frmKordane.h"

#include <QString>
#include <vector>

namespace prepare {

// Builds the numbered price-list tables from the raw sheets PriceNew_<n>.
void BuildPriceList(frmKordane& f);
// Empties every numbered price-list table that PriceList_Count lists.
void ClearSplitPriceLists(frmKordane& f);

struct Operation {
    const char* name;
    const char* help; // one line
    bool rewrites; // empties or rewrites tables: the runner asks first unless --yes
    bool needsStore; // reads the store: cnStore open, mBrandID and mStoreVersion set
    void (*run)(frmKordane& f);
};

// Every operation, in the order the runner lists them.
const std::vector<Operation>& Operations();

} // namespace prepare
