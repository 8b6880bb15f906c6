// Stand-in tables of the preparation that the later-list merges and the brand clean-ups read:
// raw sheets PriceNew_<n>, the FORD lists PriceLast_<n>, the later list PriceList_New, count
// tables, and a classic store holding only the part columns those operations look up.
#pragma once

#include "storekit.h"

namespace storekit {

// Named cells of one row; a column left out takes its default (Null, or a fresh ID).
using Cells = std::vector<std::pair<QString, rt::Value>>;

// A raw sheet: ID (a counter), the 31 supplier columns, PartNew and FPartNO; wide texts.
void CreateRawSheet(ado::Connection& cn, const QString& table);
// PriceLast_<n> (the 31 supplier columns) or PriceList_New (all 33 row columns); wide texts.
void CreateSupplierTable(ado::Connection& cn, const QString& table, bool withNewColumns);
// A count table (PriceNew_Count, PriceLast_Count, PriceList_Count) listing the numbers.
void CreateCountTable(ado::Connection& cn, const QString& table, const std::vector<int>& numbers);
// "Insert Into <table> (<columns>) Values (<values>)": Nulls, numbers and quoted texts.
void InsertCells(ado::Connection& cn, const QString& table, const Cells& cells);

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
