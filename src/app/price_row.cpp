// Column names of the price-list row.
#include "price_row.h"

#include "platform/runtime/text.h"

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

QString PriceRowInsertStatement(const QString& table, const PriceRow& r) {
    QStringList v;
    auto t = [&v](const QString& s) { v << QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\''); };
    t(r.Kind);
    t(r.PartNO);
    t(r.PartNew);
    t(r.FPartNew);
    for (int k = 0; k < 5; ++k) {
        t(r.AKind[k]);
        t(r.AltNO[k]);
    }
    t(r.EName);
    t(r.TName);
    for (const QString& m : r.Model)
        t(m);
    t(r.Description);
    t(r.Import);
    v << r.Price.toText();
    t(r.DisPrice);
    v << r.Sale.toText();
    return QStringLiteral("Insert Into ") + table + QStringLiteral(" Values( ")
        + v.join(QStringLiteral(", ")) + QStringLiteral(" )");
}
