// The store of price lookups only.
#include "price_check.h"

#include "platform/runtime/text.h"

namespace storekit {

void CreatePricedStore(const QString& path, const QString& version, int brandId,
    const QString& partTable, const std::vector<PricedPart>& parts) {
    StoreSetup setup;
    setup.version = version;
    setup.brands = { { brandId, QStringLiteral("VURE") } };
    setup.ptaBrands = { { brandId, QStringLiteral("VURE") } };
    CreateStore(path, setup, [&](ado::Connection& cn) {
        const QString money = QStringLiteral("Currency");
        CreateTable(cn, partTable,
            { { QStringLiteral("Kind"), Text(1) }, { QStringLiteral("PartNO"), Text(40) },
                { QStringLiteral("FPartNO"), Text(40) }, { QStringLiteral("Price"), money },
                { QStringLiteral("Sale"), money }, { QStringLiteral("Price1"), money },
                { QStringLiteral("Sale1"), money } });
        const auto q = Quoted;
        auto c = [](double v) { return rt::Currency::fromDouble(v).toText(); };
        for (const auto& p : parts)
            cn.Execute(QStringLiteral("Insert Into %1 Values( %2, %3, %4, %5, %6, %7, %8 )")
                           .arg(partTable, q(p.kind), q(p.partNo), q(p.fPartNo), c(p.price),
                               c(p.sale), c(p.price1), c(p.sale1)));
    });
}

} // namespace storekit
