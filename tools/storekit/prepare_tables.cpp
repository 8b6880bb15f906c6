// Raw sheets, number lists and the work table of a price-list database.
#include "prepare_tables.h"

#include "platform/runtime/text.h"

namespace storekit {

namespace {

QString literal(const rt::Value& v) {
    if (v.isNull()) return QStringLiteral("Null");
    if (v.isText()) return QLatin1Char('\'') + rt::Quote(v.toText()) + QLatin1Char('\'');
    return v.toText();
}

} // namespace

RawRow MakeRawRow(const QString& kind, const QString& partNo, const QString& eName,
    const rt::Value& price, const rt::Value& sale, const QString& tName) {
    return { { QStringLiteral("Kind"), kind }, { QStringLiteral("PartNO"), partNo },
        { QStringLiteral("EName"), eName }, { QStringLiteral("TName"), tName },
        { QStringLiteral("Price"), price }, { QStringLiteral("Sale"), sale } };
}

std::vector<Column> RawSheetColumns() {
    std::vector<Column> cols { { QStringLiteral("ID"),
        QStringLiteral("Integer Primary Key Autoincrement") } };
    for (const QString& name : PriceRowColumns()) {
        if (name == QLatin1String("PartNew") || name == QLatin1String("FPartNew")) continue;
        const bool amount = name == QLatin1String("Price") || name == QLatin1String("Sale");
        cols.push_back({ name, amount ? QStringLiteral("Currency") : Text(255) });
    }
    cols.push_back({ QStringLiteral("PartNew"), Text(255) });
    cols.push_back({ QStringLiteral("FPartNO"), Text(255) });
    return cols;
}

void InsertRawRow(ado::Connection& cn, const QString& table, const RawRow& row) {
    QStringList names, values;
    for (const auto& [name, value] : row) {
        names << name;
        values << literal(value);
    }
    cn.Execute(
        QStringLiteral("Insert Into %1 (%2) Values( %3 )")
            .arg(table, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
}

void CreateRawTable(ado::Connection& cn, const QString& table, const std::vector<RawRow>& rows,
    const std::vector<Column>& columns) {
    CreateTable(cn, table, columns);
    for (const RawRow& r : rows)
        InsertRawRow(cn, table, r);
}

void CreateNumberList(ado::Connection& cn, const QString& family, const std::vector<int>& numbers) {
    const QString table = family + QStringLiteral("_Count");
    CreateTable(cn, table, { { QStringLiteral("Count"), QStringLiteral("Long") } });
    for (int n : numbers)
        cn.Execute(QStringLiteral("Insert Into %1 Values( %2 )").arg(table).arg(n));
}

void CreateWorkTable(ado::Connection& cn) {
    std::vector<Column> cols = PriceRowTableColumns();
    for (Column& c : cols)
        if (c.name == QLatin1String("Kind") || c.name.startsWith(QLatin1String("AKind")))
            c.type = Text(10);
    CreateTable(cn, QStringLiteral("PriceList"), cols);
}

void AddRawSheets(const QString& path, const RawSheets& sheets, const QString& password) {
    ado::Connection cn;
    OpenFile(cn, path, password);
    cn.BeginTrans();
    std::vector<int> numbers;
    for (const auto& [n, rows] : sheets) {
        numbers.push_back(n);
        CreateRawTable(cn, QStringLiteral("PriceNew_%1").arg(n), rows);
    }
    CreateNumberList(cn, QStringLiteral("PriceNew"), numbers);
    CreateWorkTable(cn);
    cn.CommitTrans();
    cn.Close();
}

} // namespace storekit
