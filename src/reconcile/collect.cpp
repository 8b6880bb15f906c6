// The residue check after pass 1: every priced row the store lacks or prices differently goes
// into PriceListAll, the work list of pass 2.
#include "app/members.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"
#include "price_walk.h"

#include <QStringList>

namespace reconcile {

namespace {

void record(frmKordane& f, const PriceRow& r) {
    f.Execute(f.cnPriceList(), PriceRowInsertStatement(QStringLiteral("PriceListAll"), r));
    QString where = QStringLiteral(" Where ");
    if (!r.Kind.isEmpty())
        where += QStringLiteral("Kind = ") + Quoted(r.Kind) + QStringLiteral(" And ");
    f.Open(f.rsCheck, f.cnPriceList(),
        QStringLiteral("Select PartNO From PriceListAll") + where + QStringLiteral("PartNO = ")
            + Quoted(r.PartNO));
    const bool found = !f.rsCheck.Eof();
    f.rsCheck.Close();
    // pass 2 works on what is in the table, so a row that did not arrive ends the run
    if (!found)
        throw rt::RunError(
            QStringLiteral("PriceListAll does not hold the row just inserted: ") + r.PartNO);
}

} // namespace

void CollectPriceListAll(frmKordane& f) {
    ShowCheckStart(f);
    f.Execute(f.cnPriceList(), QStringLiteral("Delete From PriceListAll"));
    const StoreLookup lookup = ChooseStoreLookup(f);
    WalkPriceTables(f, { QStringLiteral(" ("), false }, [&](const PriceRow& row, const QString&) {
        switch (CompareWithStore(f, lookup, row).verdict) {
        case Verdict::Missing:
        case Verdict::SaleDiffers:
        case Verdict::PriceDiffers:
            record(f, row);
            break;
        case Verdict::Skipped:
        case Verdict::Same:
            break;
        }
    });
}

} // namespace reconcile
