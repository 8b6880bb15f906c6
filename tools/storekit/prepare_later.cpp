// Later lists and the look-up store of the preparation's clean-ups.
#include "prepare_later.h"

#include "price_check.h"

#include "platform/runtime/text.h"

namespace storekit {

namespace {

const QString kNull = QStringLiteral("<Null>");

} // namespace

// The raw sheet's columns without ID: its PartNew and FPartNO stand for PartNew and FPartNew.
void CreateSupplierTable(ado::Connection& cn, const QString& table, bool withNewColumns) {
    std::vector<Column> cols;
    for (Column c : RawSheetColumns()) {
        const bool isNew = c.name == QLatin1String("PartNew") || c.name == QLatin1String("FPartNO");
        if (c.name == QLatin1String("ID") || (isNew && !withNewColumns)) continue;
        if (c.name == QLatin1String("FPartNO")) c.name = QStringLiteral("FPartNew");
        cols.push_back(c);
    }
    CreateTable(cn, table, cols);
}

std::vector<QStringList> ReadRows(
    ado::Connection& cn, const QStringList& columns, const QString& fromAndOrder) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select ") + columns.join(QStringLiteral(", ")) + QLatin1Char(' ')
            + fromAndOrder,
        cn);
    std::vector<QStringList> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList row;
        for (const QString& c : columns) {
            const rt::Value v = rs.Field(c);
            row << (v.isNull() ? kNull : v.toText());
        }
        rows.push_back(row);
    }
    rs.Close();
    return rows;
}

// The price-lookup store with the Thai name the ISUZU rule narrows by.
void CreateLookupStore(const QString& path, const QString& version, int brandId,
    const std::vector<LookupPart>& parts) {
    const QString table = QStringLiteral("Pta%1").arg(brandId);
    CreatePricedStore(path, version, brandId, table, {});
    ado::Connection cn;
    OpenFile(cn, path);
    cn.BeginTrans();
    cn.Execute(QStringLiteral("Alter Table %1 Add Column TName %2").arg(table, Text(60)));
    for (const LookupPart& p : parts)
        InsertRawRow(cn, table,
            { { QStringLiteral("Kind"), p.kind }, { QStringLiteral("PartNO"), p.partNo },
                { QStringLiteral("FPartNO"), p.fPartNo }, { QStringLiteral("TName"), p.tName } });
    cn.CommitTrans();
    cn.Close();
}

} // namespace storekit
