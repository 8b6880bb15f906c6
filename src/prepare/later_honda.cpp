// HONDA lists: each raw-sheet part number takes the store's own spelling, found by the
// squeezed number, and falls back to the supplier's number where the store has none.
#include "later.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

using win::Box;

namespace prepare {

using namespace later;

void FixHondaPartNumbers(frmKordane& f) {
    RequireClassicStore(f, "FixHondaPartNumbers");
    const QString label = QStringLiteral("กำลังแก้ไข PartNO (HONDA)");
    f.w.setText(Box::txtQTY, label);
    const auto sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    const QString part = QStringLiteral("Pta%1").arg(f.mBrandID);
    QStringList texts = SupplierTextColumns();
    texts.removeOne(QStringLiteral("Description"));
    texts.insert(1, QStringLiteral("FPartNO"));
    texts.insert(2, QStringLiteral("PartNew"));
    for (int16_t n : sheets) {
        const QString sheet = QStringLiteral("PriceNew_%1").arg(n);
        FixNullTexts(f, sheet, texts);
        FixNullPrices(f, sheet);
        WalkRows(f,
            QStringLiteral("Select FPartNO, PartNew, PartNO From ") + sheet
                + QStringLiteral(" Where PartNew = '' Order By PartNO"),
            [&](int32_t j, int32_t rows) {
                const QString partNo = TextOf(f.rsList, QStringLiteral("PartNO"), sheet);
                const QString key = mduValue::SqueezeText(partNo);
                f.w.setText(Box::txtQTY, Progress(label, rows, j));
                f.w.setText(Box::txtPartNO, partNo);
                f.w.doEvents();
                rt::Value spelled = QString();
                f.Open(f.rsLookup, f.cnStore(),
                    QStringLiteral("Select PartNO From ") + part
                        + QStringLiteral(" Where FPartNO = ") + Quoted(key));
                if (!f.rsLookup.Eof()) {
                    // A store part without a number leaves PartNew Null, as the store has it.
                    const rt::Value v = f.rsLookup.Field(QStringLiteral("PartNO"));
                    spelled = v.isNull() ? v : rt::Value(rt::Trim(v.toText()));
                }
                f.rsLookup.Close();
                f.rsList.SetField(QStringLiteral("FPartNO"), key);
                f.rsList.SetField(QStringLiteral("PartNew"), spelled);
                f.rsList.Update();
            });
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update %1 Set PartNew = PartNO Where PartNew = '' ").arg(sheet));
    }
}

} // namespace prepare
