// The preparation operations of the price-list database and the one table the runner reads:
// each operation is a free function over the run state.
#pragma once

#include "app/frmKordane.h"
#include "prepare/phases.h"

#include <QString>
#include <vector>

namespace prepare {

// Builds the numbered price-list tables from the raw sheets PriceNew_<n>, chunk rows a table
// (tests keep it small); answers the highest table number the split filled, 0 when it filled
// none.
int16_t BuildPriceList(frmKordane& f, int32_t chunk = kSplitChunk);

// Empties every numbered price-list table that PriceList_Count lists.
void ClearSplitPriceLists(frmKordane& f);

struct TableRows {
    int16_t number;
    int32_t rows;
};
// The numbered tables from 1 to lastFilled that PriceList_Count does not list, with the rows
// each holds: the split fills tables by position alone, but a run reads only the listed ones.
// The listed ones are those the build read into the form's list.
std::vector<TableRows> UnlistedFilledTables(frmKordane& f, int16_t lastFilled);

struct Operation {
    const char* name;
    const char* help; // one line
    bool rewrites; // empties or rewrites tables: the runner asks first unless --yes
    bool needsStore; // reads the store: cnStore open, mBrandID and mStoreVersion set
    // Runs the operation; answers the filled tables that no run reads, for the runner to warn
    // of (only the build fills any).
    std::vector<TableRows> (*run)(frmKordane& f);
};

// Every operation, in the order the runner lists them.
const std::vector<Operation>& Operations();

} // namespace prepare
