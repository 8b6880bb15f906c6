// The preparation tables of a price-list database: supplier raw sheets PriceNew_<n> listed in
// PriceNew_Count, and the build's work table PriceList.
#pragma once

#include "storekit.h"

#include <vector>

namespace storekit {

// One raw-sheet row: column name and value; columns left out are Null.
using RawRow = std::vector<std::pair<QString, rt::Value>>;
using RawSheets = std::vector<std::pair<int, std::vector<RawRow>>>;

// A raw row with the columns most fixtures need.
RawRow MakeRawRow(const QString& kind, const QString& partNo, const QString& eName,
    const rt::Value& price, const rt::Value& sale = rt::Value(0), const QString& tName = {});

// ID (a counter), the 31 row columns the build reads, and PartNew and FPartNO; the texts wide
// enough for whatever a supplier sends.
std::vector<Column> RawSheetColumns();

// Creates a table of raw-sheet columns (or the given columns) holding the rows.
void CreateRawTable(ado::Connection& cn, const QString& table, const std::vector<RawRow>& rows,
    const std::vector<Column>& columns = RawSheetColumns());
void InsertRawRow(ado::Connection& cn, const QString& table, const RawRow& row);

// A number list "<family>_Count" with its numbers in the given order.
void CreateNumberList(ado::Connection& cn, const QString& family, const std::vector<int>& numbers);

// The work table PriceList: the 33 row columns; the kinds are kept as the sheets hold them.
void CreateWorkTable(ado::Connection& cn);

// Adds to an existing price-list file: PriceNew_Count listing the sheets in the given order,
// each PriceNew_<n> with its rows, and the empty work table.
void AddRawSheets(const QString& path, const RawSheets& sheets, const QString& password = {});

} // namespace storekit
