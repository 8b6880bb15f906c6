// What the later-list merges and the brand clean-ups share: number lists, Null fixes, field
// readers that name what failed, key conditions, progress texts and the store they may read.
#include "later.h"

#include "platform/runtime/text.h"

namespace prepare {

namespace later {

namespace {

template<class Convert>
auto named(const ado::Recordset& rs, const QString& column, const QString& table, Convert convert) {
    try {
        return convert(rs.Field(column));
    } catch (const rt::RunError& e) {
        throw rt::RunError(
            e.message() + QStringLiteral(" (column %1 of table %2)").arg(column, table));
    }
}

} // namespace

QString TextOf(const ado::Recordset& rs, const QString& column, const QString& table) {
    return named(rs, column, table, [](const rt::Value& v) { return v.toText(); });
}

rt::Currency CurrencyOf(const ado::Recordset& rs, const QString& column, const QString& table) {
    return named(rs, column, table, [](const rt::Value& v) { return v.toCurrency(); });
}

int32_t Int32Of(const ado::Recordset& rs, const QString& column, const QString& table) {
    return named(rs, column, table, [](const rt::Value& v) { return v.toInt32(); });
}

void FixNullTexts(
    frmKordane& f, const QString& table, const QStringList& columns, const QString& tail) {
    for (const QString& c : columns)
        f.Execute(f.cnPriceList(),
            QStringLiteral("Update %1 Set %2 = '' Where %2 Is Null").arg(table, c) + tail);
}

void FixNullPrices(frmKordane& f, const QString& table) {
    f.Execute(
        f.cnPriceList(), QStringLiteral("Update %1 Set Price = 0 Where Price Is Null").arg(table));
    FixNullTexts(f, table, { QStringLiteral("DisPrice") });
    f.Execute(
        f.cnPriceList(), QStringLiteral("Update %1 Set Sale = 0 Where Sale Is Null").arg(table));
}

QStringList SupplierTextColumns() {
    QStringList c;
    for (const QString& name : PriceRowColumns())
        if (name != QLatin1String("PartNew") && name != QLatin1String("FPartNew")
            && name != QLatin1String("Price") && name != QLatin1String("DisPrice")
            && name != QLatin1String("Sale"))
            c << name;
    return c;
}

QStringList SupplierColumns() {
    return SupplierTextColumns() << QStringLiteral("Price") << QStringLiteral("DisPrice")
                                 << QStringLiteral("Sale");
}

void FixNullSupplierRow(frmKordane& f, const QString& table) {
    FixNullTexts(f, table, SupplierTextColumns());
    FixNullPrices(f, table);
}

PriceRow ReadPriceRow(const ado::Recordset& rs, const QString& table, bool withNewColumns) {
    auto text = [&](const char* column) { return TextOf(rs, QLatin1String(column), table); };
    PriceRow r;
    r.Kind = text("Kind");
    r.PartNO = text("PartNO");
    if (withNewColumns) {
        r.PartNew = text("PartNew");
        r.FPartNew = text("FPartNew");
    }
    for (int k = 0; k < 5; ++k) {
        r.AKind[k] = TextOf(rs, QStringLiteral("AKind_%1").arg(k + 1), table);
        r.AltNO[k] = TextOf(rs, QStringLiteral("AltNO_%1").arg(k + 1), table);
    }
    r.EName = text("EName");
    r.TName = text("TName");
    for (int k = 0; k < 12; ++k)
        r.Model[k] = TextOf(rs, QStringLiteral("Model_%1").arg(k + 1), table);
    r.Description = text("Description");
    r.Import = text("Import");
    r.Price = CurrencyOf(rs, QStringLiteral("Price"), table);
    r.DisPrice = text("DisPrice");
    r.Sale = CurrencyOf(rs, QStringLiteral("Sale"), table);
    return r;
}

bool HasRow(frmKordane& f, ado::Recordset& rs, ado::Connection& cn, const QString& query) {
    f.Open(rs, cn, query);
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

void WalkRows(frmKordane& f, const QString& query,
    const std::function<void(int32_t j, int32_t rows)>& onRow) {
    f.Open(f.rsList, f.cnPriceList(), query);
    const int32_t rows = f.rsList.RecordCount();
    for (int32_t j = 1; !f.rsList.Eof(); ++j) {
        onRow(j, rows);
        f.rsList.MoveNext();
    }
    f.rsList.Close();
}

bool ReadPriceListNos(frmKordane& f) {
    try {
        return f.ReadPriceListNos();
    } catch (const rt::RunError& e) {
        ThrowNamingTable(QStringLiteral("PriceList_Count"), e);
    }
}

void ExecuteAll(frmKordane& f, const QStringList& statements) {
    for (const QString& s : statements)
        f.Execute(f.cnPriceList(), s);
}

QStringList KindRewrite(const QString& table) {
    QStringList out;
    for (const char* value : { "0", "1" })
        for (const QString& c : KindColumns())
            out << QStringLiteral("Update %1 Set %2 = '%3' Where %2 = '%3.00' ")
                       .arg(table, c, QLatin1String(value));
    return out;
}

QString Progress(const QString& label, int32_t total, int32_t j, const QString& before) {
    return RowProgressText(label, QString(), QString(), total, j, before);
}

QStringList KindColumns() {
    QStringList c { QStringLiteral("Kind") };
    for (int k = 1; k <= 5; ++k)
        c << QStringLiteral("AKind_%1").arg(k);
    return c;
}

QStringList ModelColumns() {
    QStringList c;
    for (int k = 1; k <= 12; ++k)
        c << QStringLiteral("Model_%1").arg(k);
    return c;
}

void RequireClassicStore(const frmKordane& f, const char* operation) {
    if (IsPtaVersion(f.mStoreVersion))
        throw rt::RunError(QStringLiteral("%1 reads the classic part table Pta<BrandID>; the "
                                          "store version '%2' keeps its parts in the Pta_ "
                                          "schema")
                               .arg(QLatin1String(operation), f.mStoreVersion));
}

} // namespace later

} // namespace prepare
