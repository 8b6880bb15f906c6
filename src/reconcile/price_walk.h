// The walk over every numbered price-list table and the comparison of each priced row with the
// store, shared by the residue check and the difference listing.
#pragma once

#include "app/frmKordane.h"
#include "app/price_row.h"
#include "platform/runtime/currency.h"

#include <QString>
#include <functional>

namespace reconcile {

// Where and how a run's store holds its part prices, fixed once per call.
struct StoreLookup {
    bool pta = false; // the Pta_ schema: one squeezed key of number and kind
    bool squeezed = false; // classic stores keyed by FPartNO
    QString table; // Pta<BrandID> or Pta_<sfx>
    QString priceCol, saleCol;
};
// Raises when the brand key does not fit the Pta_ suffix, before any statement names the table.
StoreLookup ChooseStoreLookup(const frmKordane& f);

enum class Verdict {
    Skipped, // no price and no sale in the list: never looked up
    Same,
    Missing,
    SaleDiffers, // same price, another non-zero sale
    PriceDiffers, // another non-zero price
};
struct Comparison {
    Verdict verdict = Verdict::Same;
    rt::Currency storePrice, storeSale;
};
Comparison CompareWithStore(frmKordane& f, const StoreLookup& lookup, const PriceRow& row);

// A text between single quotes of a statement.
QString Quoted(const QString& s);

// The opening text of both operations.
void ShowCheckStart(frmKordane& f);

struct WalkOptions {
    QString beforeCount; // the blanks before the rows-left count
    bool reopenStore = false; // a fresh store connection before every table
};
using RowHandler = std::function<void(const PriceRow& row, const QString& modelText)>;
// Every row of every listed table, after its progress texts; ends with the closing text.
void WalkPriceTables(frmKordane& f, const WalkOptions& options, const RowHandler& onRow);

} // namespace reconcile
