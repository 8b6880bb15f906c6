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

storekit::ClassicPart OldPart(int id, const QString& kind, const QString& partNo, int upRec) {
    storekit::ClassicPart p;
    p.partId = id;
    p.kind = kind;
    p.partNo = partNo;
    p.eName = QStringLiteral("OLD");
    p.tName = QStringLiteral("เก่า");
    p.model = QStringLiteral("OLDMODEL");
    p.price = 50;
    p.sale = 40;
    p.upRec = upRec;
    return p;
}

} // namespace testenv
