// Helpers the preparation operations share: number lists, key conditions, the row insert with
// its read-back, and the part line of the progress texts.
#pragma once

#include "app/frmKordane.h"
#include "app/price_row.h"
#include "platform/runtime/error.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace prepare {

// Walks an open recordset from its current row to the end, handing each row to read, then
// closes it; a failure closes it too.
void ReadRowsAndClose(ado::Recordset& rs, const std::function<void(const ado::Recordset&)>& read);

// A failure on a table the operator mends by hand, raised again with the table's name in front.
[[noreturn]] void ThrowNamingTable(const QString& table, const rt::RunError& e);

// The numbers n of a table family from "<family>_Count" in ascending order ("PriceNew",
// "PriceLast"); empty when the list has no row. A bad Count raises, naming the list.
std::vector<int16_t> ReadTableNumbers(frmKordane& f, const QString& family);

// A text between single quotes of a statement, quotes doubled.
QString Quoted(const QString& s);

// "Kind = '<kind>' And <column> = '<value>'", or "<column> = '<value>'" when the trimmed kind
// is blank; kind and value are pasted as given.
QString KindCondition(const QString& kind, const QString& column, const QString& value);

// "<Kind>-<PartNO>  <TName>  <ModelText>", without "<Kind>-" when the trimmed kind is blank.
QString PartLine(
    const QString& kind, const QString& partNo, const QString& tName, const QString& modelText);

// The 33 columns of the current row, texts as stored (untrimmed); a Null raises.
PriceRow ReadPriceRowAsStored(const ado::Recordset& rs);

// The 33-value insert of a row into a price-list table, then one read-back by the trimmed kind
// and part number; a row that does not arrive raises (the caller's next step relies on it).
void InsertPriceRowChecked(frmKordane& f, const QString& table, const PriceRow& row);

} // namespace prepare
