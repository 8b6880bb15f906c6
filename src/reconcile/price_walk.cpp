// The walk over the numbered price-list tables and the store lookup of one priced row.
#include "price_walk.h"

#include "common/mduValue.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"
#include "pta/pta.h"

#include <QStringList>

using win::Box;

namespace reconcile {

namespace {

const QString kStartLabel = QStringLiteral("กำลังครวจสอบข้อมูล  ");
const QString kRowLabel = QStringLiteral("กำลังตรวจสอบข้อมูล  ");

PriceRow readRow(const ado::Recordset& rs) {
    auto text
        = [&rs](const char* name) { return rt::Trim(rs.Field(QLatin1String(name)).toText()); };
    PriceRow r;
    r.Kind = text("Kind");
    r.PartNO = text("PartNO");
    r.PartNew = text("PartNew");
    r.FPartNew = text("FPartNew");
    for (int k = 0; k < 5; ++k) {
        r.AKind[k] = rt::Trim(rs.Field(QStringLiteral("AKind_%1").arg(k + 1)).toText());
        r.AltNO[k] = rt::Trim(rs.Field(QStringLiteral("AltNO_%1").arg(k + 1)).toText());
    }
    r.EName = text("EName");
    r.TName = text("TName");
    for (int k = 0; k < 12; ++k)
        r.Model[k] = rt::Trim(rs.Field(QStringLiteral("Model_%1").arg(k + 1)).toText());
    r.Description = text("Description");
    r.Import = text("Import");
    r.DisPrice = text("DisPrice");
    r.Price = rs.Field(QStringLiteral("Price")).toCurrency();
    r.Sale = rs.Field(QStringLiteral("Sale")).toCurrency();
    return r;
}

QString lookupStatement(const StoreLookup& lk, const PriceRow& row) {
    QString head = QStringLiteral("Select ") + lk.priceCol + QStringLiteral(", ") + lk.saleCol
        + QStringLiteral(" From ") + lk.table + QStringLiteral(" Where ");
    if (lk.pta) {
        // number and kind squeezed together, as the Pta_ schema stores its key
        return head + QStringLiteral("FPartNO = ") + Quoted(pta::NumberKey(row.PartNO, row.Kind));
    }
    if (!row.Kind.isEmpty())
        head += QStringLiteral("Kind = ") + Quoted(row.Kind) + QStringLiteral(" And ");
    if (lk.squeezed)
        return head + QStringLiteral("FPartNO = ") + Quoted(mduValue::SqueezeText(row.PartNO));
    return head + QStringLiteral("PartNO = ") + Quoted(row.PartNO);
}

} // namespace

QString Quoted(const QString& s) {
    return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\'');
}

StoreLookup ChooseStoreLookup(const frmKordane& f) {
    const QString version = rt::Trim(f.mStoreVersion);
    StoreLookup lk;
    lk.priceCol = QStringLiteral("Price");
    lk.saleCol = QStringLiteral("Sale");
    if (IsPtaVersion(version)) {
        lk.pta = true;
        const QString sfx = version == QLatin1String("P.66 (Bar)") ? mduValue::Pad2(f.mBrandID)
                                                                   : mduValue::Pad3(f.mBrandID);
        if (sfx.isEmpty())
            rt::throwOverflow(
                QStringLiteral("brand key %1 for the Pta_ tables of ").arg(f.mBrandID) + version);
        lk.table = QStringLiteral("Pta_") + sfx;
        return lk;
    }
    lk.table = QStringLiteral("Pta") + QString::number(f.mBrandID);
    static const QStringList squeezedVersions { QStringLiteral("P.45 (Bar)"),
        QStringLiteral("P.48 (Bar)"), QStringLiteral("P.49 (Bar)"), QStringLiteral("P.64 (Bar)"),
        QStringLiteral("P.65 (Bar)") };
    lk.squeezed = squeezedVersions.contains(version);
    if (version == QLatin1String("P.45 (Bar)")) {
        lk.priceCol = QStringLiteral("Price1");
        lk.saleCol = QStringLiteral("Sale1");
    }
    return lk;
}

Comparison CompareWithStore(frmKordane& f, const StoreLookup& lk, const PriceRow& row) {
    Comparison c;
    const rt::Currency zero;
    if (row.Price == zero && row.Sale == zero) {
        c.verdict = Verdict::Skipped;
        return c;
    }
    f.Open(f.rsLookup, f.cnStore(), lookupStatement(lk, row));
    if (f.rsLookup.Eof()) {
        f.rsLookup.Close();
        c.verdict = Verdict::Missing;
        return c;
    }
    // only the first matching row counts
    c.storePrice = f.rsLookup.Field(lk.priceCol).toCurrency();
    c.storeSale = f.rsLookup.Field(lk.saleCol).toCurrency();
    f.rsLookup.Close();
    if (row.Price == c.storePrice) {
        if (row.Sale != c.storeSale && row.Sale != zero) c.verdict = Verdict::SaleDiffers;
    } else if (row.Price != zero) {
        c.verdict = Verdict::PriceDiffers;
    }
    return c;
}

void ShowCheckStart(frmKordane& f) {
    f.w.setText(Box::txtQTY, StepText(kStartLabel, f.mBrandName));
    f.w.doEvents();
}

void WalkPriceTables(frmKordane& f, const WalkOptions& options, const RowHandler& onRow) {
    if (f.ReadPriceListNos()) {
        const int32_t tables = f.mPriceListNoCount;
        const QString columns = PriceRowColumns().join(QStringLiteral(", "));
        for (int32_t i = 0; i < tables; ++i) {
            const int16_t n = f.mPriceListNos.at(size_t(i));
            if (options.reopenStore) f.ReopenStore();
            f.Open(f.rsList, f.cnPriceList(),
                QStringLiteral("Select ") + columns + QStringLiteral(" From PriceList_")
                    + QString::number(n) + QStringLiteral(" Order By PartNO"));
            const int32_t total = f.rsList.RecordCount();
            int32_t j = 0;
            while (!f.rsList.Eof()) {
                const PriceRow row = readRow(f.rsList);
                const QString modelText = mduValue::JoinModels(row.Model);
                if (j == INT32_MAX) rt::throwOverflow(QStringLiteral("row counter"));
                ++j;
                f.w.setText(Box::txtQTY,
                    RowProgressText(kRowLabel, f.mBrandName,
                        QStringLiteral("_") + QString::number(n), total, j, options.beforeCount));
                f.w.setText(Box::txtPartNO,
                    RowPartText(row.Kind, row.PartNO, RowLabel(row.TName, row.EName, modelText)));
                f.w.doEvents();
                onRow(row, modelText);
                f.rsList.MoveNext();
            }
            f.rsList.Close();
        }
    }
    f.w.doEvents();
    f.w.setText(Box::txtQTY, FinishText(kRowLabel, f.mBrandName));
}

} // namespace reconcile
