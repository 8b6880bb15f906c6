// Inputs of the update tests.
#include "support/update_parts.h"

namespace testenv {

PartValues PassValues(
    int32_t runDate, const QString& kind, const QString& partNo, double price, double sale) {
    PartValues v;
    v.Kind = kind;
    v.PartNO = partNo;
    v.Price = rt::Currency::fromDouble(price);
    v.Sale = rt::Currency::fromDouble(sale);
    v.RunDate = runDate;
    return v;
}

} // namespace testenv
