// A store holding only what the price reconciliation reads: one part table with the key and
// price columns of every schema, under a name the caller gives (Pta<BrandID>, Pta_<sfx>).
#pragma once

#include "storekit.h"

namespace storekit {

struct PricedPart {
    QString kind, partNo, fPartNo; // fPartNo as the store keeps it
    double price = 0, sale = 0, price1 = 0, sale1 = 0;
};

// Columns Kind, PartNO, FPartNO, Price, Sale, Price1, Sale1; rows in the given order.
void CreatePricedStore(const QString& path, const QString& version, int brandId,
    const QString& partTable, const std::vector<PricedPart>& parts);

} // namespace storekit
