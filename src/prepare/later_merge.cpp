// A later supplier list (PriceList_New): merged into the first raw sheet before a build, or its
// prices carried straight into the numbered tables without one.
#include "later.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

using win::Box;

namespace prepare {

using namespace later;

namespace {

const QString kNewList = QStringLiteral("PriceList_New");

void showRecord(frmKordane& f, const QString& label, int32_t total, int32_t n, const PriceRow& r,
    const QString& modelText = {}) {
    f.w.setText(Box::txtQTY, Progress(label, total, n));
    f.w.setText(Box::txtPartNO, PartLine(r.Kind, r.PartNO, r.TName, modelText));
    f.w.doEvents();
}

// "Update <table> Set Price = <Price>, DisPrice = '<DisPrice>', Sale = <Sale> Where <key>"
QString priceUpdate(const QString& table, const PriceRow& r, const QString& key) {
    return QStringLiteral("Update ") + table + QStringLiteral(" Set Price = ") + r.Price.toText()
        + QStringLiteral(", DisPrice = ") + Quoted(r.DisPrice) + QStringLiteral(", Sale = ")
        + r.Sale.toText() + QStringLiteral(" Where ") + key;
}

} // namespace

void MergeNewPriceList(frmKordane& f) {
    FixNullSupplierRow(f, kNewList);

    const QString columns = SupplierColumns().join(QStringLiteral(", "));
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select ") + columns
            + QStringLiteral(" From PriceList_New Order By PartNO"));
    const int32_t total = f.rsList.RecordCount();
    std::vector<PriceRow> rows;
    rows.reserve(size_t(total));
    for (; !f.rsList.Eof(); f.rsList.MoveNext()) {
        rows.push_back(ReadPriceRow(f.rsList, kNewList, false));
        showRecord(f, QStringLiteral("กำลังดึงข้อมูลมาแก้"), total, int32_t(rows.size()), rows.back());
    }
    f.rsList.Close();

    QString copyColumns = columns;
    copyColumns.replace(QStringLiteral("DisPrice"), QStringLiteral("Disprice"));
    for (int32_t j = 0; j < total; ++j) {
        const PriceRow& r = rows[size_t(j)];
        showRecord(f, QStringLiteral("กำลังแก้ไขราคา"), total, j + 1, r);
        if (r.PartNO.isEmpty()) continue;

        const QString key
            = KindCondition(rt::Trim(r.Kind), QStringLiteral("PartNO"), rt::Trim(r.PartNO));
        const QString probe = QStringLiteral("Select PartNO From PriceNew_1 Where ") + key;
        const QString priced = probe + QStringLiteral(" And Price = ") + r.Price.toText()
            + QStringLiteral(" And Sale = ") + r.Sale.toText();
        if (HasRow(f, f.rsCheck, f.cnPriceList(), priced)) continue;

        // A copy can bring the part in at other prices (it copies by the trimmed number, and it
        // keeps decimals that the record's amount rounds away): a second round updates that
        // row. Two rounds at most: a part no write brings in (a part number of blanks only, say)
        // would otherwise be written again for ever.
        bool merged = false;
        for (int round = 0; round < 2 && !merged; ++round) {
            if (!HasRow(f, f.rsCheck, f.cnPriceList(), probe))
                f.Execute(f.cnPriceList(),
                    QStringLiteral("Insert Into PriceNew_1 (") + copyColumns
                        + QStringLiteral(") Select ") + copyColumns
                        + QStringLiteral(" From PriceList_New Where ") + key);
            else
                f.Execute(f.cnPriceList(), priceUpdate(QStringLiteral("PriceNew_1"), r, key));
            merged = HasRow(f, f.rsCheck, f.cnPriceList(), priced);
        }
        if (!merged)
            throw rt::RunError(QStringLiteral("PriceNew_1 does not hold part '%1' (kind '%2') at "
                                              "Price %3 and Sale %4 after the merge from "
                                              "PriceList_New")
                                   .arg(r.PartNO, r.Kind, r.Price.toText(), r.Sale.toText()));
    }
}

void ApplyNewPricesToSplitLists(frmKordane& f) {
    if (!ReadPriceListNos(f)) return;
    const int32_t tables = f.mPriceListNoCount;
    int16_t last = 0;
    for (int32_t i = 0; i < tables; ++i)
        last = std::max(last, f.mPriceListNos[size_t(i)]);

    // Every row is read before anything is written, so a Null ends the operation unwritten.
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select ") + PriceRowColumns().join(QStringLiteral(", "))
            + QStringLiteral(" From PriceList_New Order By PartNO"));
    std::vector<PriceRow> rows;
    rows.reserve(size_t(f.rsList.RecordCount()));
    for (; !f.rsList.Eof(); f.rsList.MoveNext()) {
        f.w.doEvents();
        rows.push_back(ReadPriceRow(f.rsList, kNewList, true));
    }
    f.rsList.Close();

    const auto total = int32_t(rows.size());
    for (int32_t j = 0; j < total; ++j) {
        const PriceRow& r = rows[size_t(j)];
        showRecord(
            f, QStringLiteral("กำลังแก้ไขราคา"), total, j + 1, r, mduValue::JoinModels(r.Model));
        if (r.PartNO.isEmpty()) continue;

        const QString key
            = KindCondition(rt::Trim(r.Kind), QStringLiteral("FPartNew"), rt::Trim(r.FPartNew));
        bool found = false;
        for (int32_t i = 0; i < tables && !found; ++i) {
            const QString table = QStringLiteral("PriceList_%1").arg(f.mPriceListNos[size_t(i)]);
            found = HasRow(f, f.rsCheck, f.cnPriceList(),
                QStringLiteral("Select PartNO From ") + table + QStringLiteral(" Where ") + key);
            if (found) f.Execute(f.cnPriceList(), priceUpdate(table, r, key));
        }
        if (!found)
            f.Execute(f.cnPriceList(),
                PriceRowInsertStatement(QStringLiteral("PriceList_%1").arg(last), r));
    }
}

} // namespace prepare
