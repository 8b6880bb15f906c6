// Raw sheets, later lists, count tables and the look-up store of the preparation's clean-ups.
#include "prepare_later.h"

#include "platform/runtime/text.h"

namespace storekit {

namespace {

const QString kNull = QStringLiteral("<Null>");

// The 33 row columns, wide texts; without PartNew and FPartNew unless asked.
std::vector<Column> supplierColumns(bool withNewColumns) {
    std::vector<Column> cols;
    for (const QString& name : PriceRowColumns()) {
        const bool isNew = name == QLatin1String("PartNew") || name == QLatin1String("FPartNew");
        if (isNew && !withNewColumns) continue;
        const bool money = name == QLatin1String("Price") || name == QLatin1String("Sale");
        cols.push_back({ name, money ? QStringLiteral("Currency") : Text(255) });
    }
    return cols;
}

QString literal(const rt::Value& v) {
    if (v.isNull()) return QStringLiteral("Null");
    if (v.isText()) return QLatin1Char('\'') + rt::Quote(v.toText()) + QLatin1Char('\'');
    return v.toText();
}

} // namespace

void CreateRawSheet(ado::Connection& cn, const QString& table) {
    std::vector<Column> cols { { QStringLiteral("ID"), QStringLiteral("Integer Primary Key") } };
    for (const Column& c : supplierColumns(false))
        cols.push_back(c);
    cols.push_back({ QStringLiteral("PartNew"), Text(255) });
    cols.push_back({ QStringLiteral("FPartNO"), Text(255) });
    CreateTable(cn, table, cols);
}

void CreateSupplierTable(ado::Connection& cn, const QString& table, bool withNewColumns) {
    CreateTable(cn, table, supplierColumns(withNewColumns));
}

void CreateCountTable(ado::Connection& cn, const QString& table, const std::vector<int>& numbers) {
    CreateTable(cn, table, { { QStringLiteral("Count"), QStringLiteral("Long") } });
    for (int n : numbers)
        cn.Execute(QStringLiteral("Insert Into %1 Values( %2 )").arg(table).arg(n));
}

void InsertCells(ado::Connection& cn, const QString& table, const Cells& cells) {
    QStringList names, values;
    for (const auto& [name, value] : cells) {
        names << name;
        values << literal(value);
    }
    if (names.isEmpty()) {
        cn.Execute(QStringLiteral("Insert Into %1 Default Values").arg(table));
        return;
    }
    cn.Execute(
        QStringLiteral("Insert Into %1 (%2) Values (%3)")
            .arg(table, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
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

void CreateLookupStore(const QString& path, const QString& version, int brandId,
    const std::vector<LookupPart>& parts) {
    StoreSetup setup;
    setup.version = version;
    setup.brands = { { brandId, QStringLiteral("VURE") } };
    setup.ptaBrands = { { brandId, QStringLiteral("VURE") } };
    CreateEmptyFile(path);
    ado::Connection cn;
    OpenFile(cn, path);
    cn.BeginTrans();
    CreateSharedTables(cn, setup);
    const QString table = QStringLiteral("Pta%1").arg(brandId);
    CreateTable(cn, table,
        { { QStringLiteral("Kind"), Text(1) }, { QStringLiteral("PartNO"), Text(40) },
            { QStringLiteral("FPartNO"), Text(40) }, { QStringLiteral("TName"), Text(60) } });
    for (const LookupPart& p : parts)
        InsertCells(cn, table,
            { { QStringLiteral("Kind"), p.kind }, { QStringLiteral("PartNO"), p.partNo },
                { QStringLiteral("FPartNO"), p.fPartNo }, { QStringLiteral("TName"), p.tName } });
    cn.CommitTrans();
    cn.Close();
}

} // namespace storekit
