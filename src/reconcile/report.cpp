// The difference listing after pass 2: every priced row still missing from the store or still
// priced differently, the store's amount beside the list's, in the detail grid.
#include "app/members.h"
#include "price_walk.h"

namespace reconcile {

void ReportPriceDiffs(frmKordane& f) {
    ShowCheckStart(f);
    int32_t r = 1;
    const StoreLookup lookup = ChooseStoreLookup(f);
    win::GridModel& grid = f.w.grid();
    WalkPriceTables(
        f, { QStringLiteral("  ("), true }, [&](const PriceRow& row, const QString& modelText) {
            const Comparison c = CompareWithStore(f, lookup, row);
            QString isNew, code, oldAmount, newAmount;
            const QString joined
                = row.Kind.isEmpty() ? row.PartNO : row.Kind + QStringLiteral("-") + row.PartNO;
            switch (c.verdict) {
            case Verdict::Skipped:
            case Verdict::Same:
                return;
            case Verdict::Missing:
                isNew = QStringLiteral("New");
                code = row.Kind.isEmpty() ? row.PartNO
                                          : row.Kind + QStringLiteral(" - ") + row.PartNO;
                newAmount = row.Price.toText();
                break;
            case Verdict::SaleDiffers:
                code = joined;
                oldAmount = c.storeSale.toText();
                newAmount = row.Sale.toText();
                break;
            case Verdict::PriceDiffers:
                code = joined;
                oldAmount = c.storePrice.toText();
                newAmount = row.Price.toText();
                break;
            }
            // one empty row stays below the last listed part
            if (r == grid.Rows() - 1) grid.setRows(grid.Rows() + 1);
            const QString cells[]
                = { QString::number(r), isNew, code, row.TName, modelText, oldAmount, newAmount };
            for (int col = 1; col <= 7; ++col)
                grid.setTextMatrix(r, col, cells[col - 1]);
            f.w.doEvents();
            ++r;
        });
}

} // namespace reconcile
