// Duplicate removal of the build: of the rows that share a kind and a squeezed part number,
// only those at the highest price stay in the work table.
#include "phases.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"
#include "prepare.h"

using win::Box;

namespace prepare {

namespace {

struct DuplicateKey {
    QString Kind, FPartNew;
};
struct DuplicatePrice {
    QString Kind, FPartNew;
    rt::Currency Price;
};

std::vector<DuplicateKey> readKeys(frmKordane& f) {
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select Distinct Kind, FPartNew From PriceList Order By FPartNew"));
    std::vector<DuplicateKey> keys;
    ReadRowsAndClose(f.rsList, [&f, &keys](const ado::Recordset& rs) {
        f.w.doEvents();
        keys.push_back({ rs.Field(QStringLiteral("Kind")).toText(),
            rs.Field(QStringLiteral("FPartNew")).toText() });
    });
    return keys;
}

} // namespace

void RemoveDuplicates(frmKordane& f) {
    const std::vector<DuplicateKey> keys = readKeys(f);
    const auto total = int32_t(keys.size());
    int32_t k = 0;
    for (const DuplicateKey& key : keys) {
        ++k;
        f.w.setText(Box::txtQTY,
            RowProgressText(
                QStringLiteral("กำลังหา PartNO ซ้ำ  "), f.mBrandName, QString(), total, k));
        f.w.setText(Box::txtPartNO,
            rt::Trim(key.Kind).isEmpty() ? key.FPartNew
                                         : key.Kind + QLatin1Char('-') + key.FPartNew);
        f.w.doEvents();
        // a blank kind gathers every row of the number, whatever its kind
        f.Open(f.rsCheck, f.cnPriceList(),
            QStringLiteral("Select Kind, FPartNew, Price From PriceList Where ")
                + KindCondition(key.Kind, QStringLiteral("FPartNew"), key.FPartNew)
                + QStringLiteral(" Order By Price Desc"));
        if (f.rsCheck.Eof() || f.rsCheck.RecordCount() <= 1) {
            f.rsCheck.Close();
            continue;
        }
        // highest price first; the rest are the candidates
        std::vector<DuplicatePrice> group;
        ReadRowsAndClose(f.rsCheck, [&group](const ado::Recordset& rs) {
            group.push_back({ rs.Field(QStringLiteral("Kind")).toText(),
                rs.Field(QStringLiteral("FPartNew")).toText(),
                rs.Field(QStringLiteral("Price")).toCurrency() });
        });
        const rt::Currency top = group.front().Price;
        for (size_t j = 1; j < group.size(); ++j) {
            const DuplicatePrice& d = group[j];
            if (rt::Trim(d.FPartNew).isEmpty() || d.Price == top) continue;
            f.Execute(f.cnPriceList(),
                QStringLiteral("Delete From PriceList Where ")
                    + KindCondition(d.Kind, QStringLiteral("FPartNew"), d.FPartNew)
                    + QStringLiteral(" And Price = ") + d.Price.toText());
        }
    }
}

} // namespace prepare
