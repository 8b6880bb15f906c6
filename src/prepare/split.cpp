// The split of the build's work table into the numbered price-list tables, and the emptying of
// those tables on its own.
#include "common/mduValue.h"
#include "operations.h"
#include "phases.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"
#include "prepare.h"

#include <algorithm>

using win::Box;

namespace prepare {

namespace {

struct LoadedRow {
    PriceRow row;
    QString modelText;
};

// Every row of the work table in PartNO order, values exactly as stored.
std::vector<LoadedRow> loadWorkTable(frmKordane& f) {
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select ") + PriceRowColumns().join(QStringLiteral(", "))
            + QStringLiteral(" From PriceList Order By PartNO"));
    std::vector<LoadedRow> rows;
    ReadRowsAndClose(f.rsList, [&f, &rows](const ado::Recordset& rs) {
        f.w.doEvents();
        LoadedRow l { ReadPriceRowAsStored(rs), {} };
        l.modelText = mduValue::JoinModels(l.row.Model);
        rows.push_back(std::move(l));
    });
    return rows;
}

} // namespace

int16_t SplitTableNumber(int32_t l, int32_t chunk) {
    // compared before adding 1, so the last position of a chunk of one stays in range
    const int32_t fullChunks = l / chunk;
    return fullChunks < kLastSplitTable - 1 ? int16_t(fullChunks + 1) : kLastSplitTable;
}

int16_t SplitWorkTable(frmKordane& f, int32_t chunk) {
    const std::vector<LoadedRow> rows = loadWorkTable(f);
    const auto total = int32_t(rows.size());
    int16_t last = 0;
    for (int32_t l = 0; l < total; ++l) {
        const PriceRow& r = rows[size_t(l)].row;
        f.w.setText(Box::txtQTY,
            RowProgressText(
                QStringLiteral("กำลังแยกรายการสินค้า"), QString(), QString(), total, l + 1));
        f.w.setText(Box::txtPartNO, PartLine(r.Kind, r.PartNO, r.TName, rows[size_t(l)].modelText));
        f.w.doEvents();
        last = SplitTableNumber(l, chunk);
        const QString table = QStringLiteral("PriceList_") + QString::number(last);
        InsertPriceRowChecked(f, table, r);
        f.Execute(f.cnPriceList(),
            QStringLiteral("Delete From PriceList Where ")
                + KindCondition(rt::Trim(r.Kind), QStringLiteral("PartNO"), rt::Trim(r.PartNO)));
    }
    return last;
}

std::vector<TableRows> UnlistedFilledTables(frmKordane& f, int16_t lastFilled) {
    const auto listed = f.mPriceListNos.begin();
    const auto listedEnd = listed + f.mPriceListNoCount;
    std::vector<TableRows> unlisted;
    for (int16_t n = 1; n <= lastFilled; ++n) {
        if (std::find(listed, listedEnd, n) != listedEnd) continue;
        f.Open(f.rsCheck, f.cnPriceList(),
            QStringLiteral("Select PartNO From PriceList_") + QString::number(n));
        unlisted.push_back({ n, f.rsCheck.RecordCount() });
        f.rsCheck.Close();
    }
    return unlisted;
}

void ClearSplitPriceLists(frmKordane& f) {
    bool listed = false;
    try {
        listed = f.ReadPriceListNos();
    } catch (const rt::RunError& e) {
        ThrowNamingTable(QStringLiteral("PriceList_Count"), e);
    }
    if (!listed) return;
    for (int32_t i = 0; i < f.mPriceListNoCount; ++i)
        f.Execute(f.cnPriceList(),
            QStringLiteral("Delete From PriceList_")
                + QString::number(f.mPriceListNos.at(size_t(i))));
}

} // namespace prepare
