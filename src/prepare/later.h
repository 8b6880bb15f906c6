// Preparation operations that keep the raw sheets and the numbered tables current after the
// build: merges of a later list and of the FORD list, and the brand clean-ups (FORD, ISUZU,
// HONDA, fixed repairs). Each works on the run state of the form: cnPriceList open, and for
// the two that read the store cnStore open with mBrandID and mStoreVersion set.
#pragma once

#include "app/frmKordane.h"
#include "app/price_row.h"
#include "prepare.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace prepare {

// A later supplier list (PriceList_New) into the first raw sheet, and into the numbered tables.
void MergeNewPriceList(frmKordane& f);
void ApplyNewPricesToSplitLists(frmKordane& f);

// FORD: squeezed part numbers in every raw sheet, then the PriceLast lists into PriceNew_1.
void FixFordPartNumbers(frmKordane& f);
void MergeLastFordPriceList(frmKordane& f);

// ISUZU: decimal kinds, short part numbers, kinds from the store, comma lists of replacements.
void NormaliseIsuzuKinds(frmKordane& f);
void DropShortIsuzuPartNumbers(frmKordane& f);
void FillIsuzuKinds(frmKordane& f);
void SplitAlternateNumbers(frmKordane& f);

// Fixed clean-ups of the raw sheets.
void FixKindCodes(frmKordane& f);
void ClearUnknownThaiNames(frmKordane& f);
void FixEnglishNames(frmKordane& f);
void ClearDotModels(frmKordane& f);
void NormaliseKindValues(frmKordane& f);
void ClearLatinThaiNames(frmKordane& f);

// HONDA: the store's spelling of each part number.
void FixHondaPartNumbers(frmKordane& f);

// The five replacement numbers cut from a comma list of AltNO_1.
std::array<QString, 5> CutAlternateList(const QString& list);

namespace later {

// "Update <table> Set <col> = '' Where <col> Is Null" for each column, plus `tail`.
void FixNullTexts(
    frmKordane& f, const QString& table, const QStringList& columns, const QString& tail = {});
// "Update <table> Set Price = 0 ...", DisPrice = '' and Sale = 0, in this order.
void FixNullPrices(frmKordane& f, const QString& table);

// Field readers whose failures name the column and the table.
QString TextOf(const ado::Recordset& rs, const QString& column, const QString& table);
rt::Currency CurrencyOf(const ado::Recordset& rs, const QString& column, const QString& table);
int32_t Int32Of(const ado::Recordset& rs, const QString& column, const QString& table);

// The 28 text columns of a supplier's row (Kind ... Import, without PartNew and FPartNew), and
// those followed by Price, DisPrice and Sale: the 31 columns a supplier's table is read by.
QStringList SupplierTextColumns();
QStringList SupplierColumns();
// Turns the Nulls of the 31 supplier columns into '' or 0, one statement per column.
void FixNullSupplierRow(frmKordane& f, const QString& table);
// The current row of rs read by column name; PartNew and FPartNew only when asked.
PriceRow ReadPriceRow(const ado::Recordset& rs, const QString& table, bool withNewColumns);
// Opens the query on rs, tells whether it holds a row and closes it again.
bool HasRow(frmKordane& f, ado::Recordset& rs, ado::Connection& cn, const QString& query);

// Opens the query on rsList and hands each row to onRow with its number (from 1) and the row
// count; closes rsList after the last row, or at once when the query holds none.
void WalkRows(
    frmKordane& f, const QString& query, const std::function<void(int32_t j, int32_t rows)>& onRow);
// Refills mPriceListNos and mPriceListNoCount from PriceList_Count; false, and the list kept,
// when it has no row. A bad Count raises with the table named.
bool ReadPriceListNos(frmKordane& f);
// Runs each statement on cnPriceList, in order.
void ExecuteAll(frmKordane& f, const QStringList& statements);
// The twelve statements that turn kinds "0.00" and "1.00" into "0" and "1".
QStringList KindRewrite(const QString& table);

// "<label><before><left>)  <percent> %" for the item j of total, j counted as done.
QString Progress(
    const QString& label, int32_t total, int32_t j, const QString& before = QStringLiteral("  ("));

// The raw-sheet columns that the clean-ups list, in the orders their statements run.
QStringList KindColumns(); // Kind, AKind_1 ... AKind_5
QStringList ModelColumns(); // Model_1 ... Model_12

// Refuses a store of the Pta_ schema before a classic part table is named.
void RequireClassicStore(const frmKordane& f, const char* operation);

} // namespace later

} // namespace prepare
