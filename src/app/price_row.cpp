// Column names of the price-list row.
#include "price_row.h"

const QStringList& PriceRowColumns() {
    static const QStringList cols = [] {
        QStringList c { QStringLiteral("Kind"), QStringLiteral("PartNO"), QStringLiteral("PartNew"),
            QStringLiteral("FPartNew") };
        for (int k = 1; k <= 5; ++k)
            c << QStringLiteral("AKind_%1").arg(k) << QStringLiteral("AltNO_%1").arg(k);
        c << QStringLiteral("EName") << QStringLiteral("TName");
        for (int k = 1; k <= 12; ++k)
            c << QStringLiteral("Model_%1").arg(k);
        c << QStringLiteral("Description") << QStringLiteral("Import") << QStringLiteral("Price")
          << QStringLiteral("DisPrice") << QStringLiteral("Sale");
        return c;
    }();
    return cols;
}
