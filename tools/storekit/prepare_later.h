// Stand-in tables that the later-list merges and the brand clean-ups read besides the raw
// sheets: the FORD lists PriceLast_<n>, the later list PriceList_New, and a classic store
// holding only the part columns those operations look up.
#pragma once

#include "prepare_tables.h"

namespace storekit {

// PriceLast_<n> (the 31 supplier columns) or PriceList_New (all 33 row columns); wide texts.
// Raw sheets, count tables and rows: prepare_tables.h.
void CreateSupplierTable(ado::Connection& cn, const QString& table, bool withNewColumns);

// "Select <columns> <fromAndOrder>": every row as texts, a Null shown as "<Null>".
std::vector<QStringList> ReadRows(
    ado::Connection& cn, const QStringList& columns, const QString& fromAndOrder);

// A classic store part as the ISUZU and HONDA rules look it up.
struct LookupPart {
    rt::Value kind;
    rt::Value partNo;
    QString fPartNo, tName;
};
// A store of the version with the brand "VURE" under brandId and Pta<brandId> holding Kind,
// PartNO, FPartNO and TName of the parts, in the given order.
void CreateLookupStore(
    const QString& path, const QString& version, int brandId, const std::vector<LookupPart>& parts);

} // namespace storekit
