// Helpers shared by the preparation operations.
#include "prepare.h"

#include "platform/runtime/error.h"
#include "platform/runtime/text.h"

namespace prepare {

void ReadRowsAndClose(ado::Recordset& rs, const std::function<void(const ado::Recordset&)>& read) {
    try {
        for (; !rs.Eof(); rs.MoveNext())
            read(rs);
    } catch (...) {
        rs.Close();
        throw;
    }
    rs.Close();
}

void ThrowNamingTable(const QString& table, const rt::RunError& e) {
    throw rt::RunError(table + QStringLiteral(": ") + e.message());
}

std::vector<int16_t> ReadTableNumbers(frmKordane& f, const QString& family) {
    const QString list = family + QStringLiteral("_Count");
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select Count From ") + list + QStringLiteral(" Order By Count"));
    std::vector<int16_t> numbers;
    try {
        ReadRowsAndClose(f.rsList, [&numbers](const ado::Recordset& rs) {
            numbers.push_back(rs.Field(QStringLiteral("Count")).toInt16());
        });
    } catch (const rt::RunError& e) {
        ThrowNamingTable(list, e);
    }
    return numbers;
}

QString Quoted(const QString& s) {
    return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\'');
}

QString KindCondition(const QString& kind, const QString& column, const QString& value) {
    QString c;
    if (!rt::Trim(kind).isEmpty())
        c = QStringLiteral("Kind = ") + Quoted(kind) + QStringLiteral(" And ");
    return c + column + QStringLiteral(" = ") + Quoted(value);
}

QString PartLine(
    const QString& kind, const QString& partNo, const QString& tName, const QString& modelText) {
    const QString tail = partNo + QStringLiteral("  ") + tName + QStringLiteral("  ") + modelText;
    if (rt::Trim(kind).isEmpty()) return tail;
    return kind + QLatin1Char('-') + tail;
}

PriceRow ReadPriceRowAsStored(const ado::Recordset& rs) {
    auto text = [&rs](const QString& name) { return rs.Field(name).toText(); };
    PriceRow r;
    r.Kind = text(QStringLiteral("Kind"));
    r.PartNO = text(QStringLiteral("PartNO"));
    r.PartNew = text(QStringLiteral("PartNew"));
    r.FPartNew = text(QStringLiteral("FPartNew"));
    for (int k = 0; k < 5; ++k) {
        r.AKind[k] = text(QStringLiteral("AKind_%1").arg(k + 1));
        r.AltNO[k] = text(QStringLiteral("AltNO_%1").arg(k + 1));
    }
    r.EName = text(QStringLiteral("EName"));
    r.TName = text(QStringLiteral("TName"));
    for (int k = 0; k < 12; ++k)
        r.Model[k] = text(QStringLiteral("Model_%1").arg(k + 1));
    r.Description = text(QStringLiteral("Description"));
    r.Import = text(QStringLiteral("Import"));
    r.Price = rs.Field(QStringLiteral("Price")).toCurrency();
    r.DisPrice = text(QStringLiteral("DisPrice"));
    r.Sale = rs.Field(QStringLiteral("Sale")).toCurrency();
    return r;
}

void InsertPriceRowChecked(frmKordane& f, const QString& table, const PriceRow& row) {
    f.Execute(f.cnPriceList(), PriceRowInsertStatement(table, row));
    f.Open(f.rsCheck, f.cnPriceList(),
        QStringLiteral("Select PartNO From ") + table + QStringLiteral(" Where ")
            + KindCondition(rt::Trim(row.Kind), QStringLiteral("PartNO"), rt::Trim(row.PartNO)));
    const bool found = !f.rsCheck.Eof();
    f.rsCheck.Close();
    // written once and read back once: inserting again could only add a second copy
    if (!found)
        throw rt::RunError(
            table + QStringLiteral(" does not hold the row just inserted: ") + row.PartNO);
}

} // namespace prepare
