// The classic-schema update engine: lookup, staging of a part the store lacks, and the rewrite
// of every matching row with its price read-back.
#include "classic_update.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

#include <vector>

namespace update {

namespace {

using rt::Quote;
using rt::Trim;

QString brandText(const frmKordane& f) {
    return QString::number(f.mBrandID);
}

// Closes a recordset on every way out, so a failed conversion does not leave it open for the
// next query of the same name.
struct CloseOnExit {
    ado::Recordset& rs;
    ~CloseOnExit() { frmKordane::CloseIfOpen(rs); }
};

struct PartRow {
    int16_t upRec = 0;
    int32_t partId = 0;
};

bool writesDiscount(const frmKordane& f, ClassicRules::Discount rule) {
    switch (rule) {
    case ClassicRules::Discount::Always:
        return true;
    case ClassicRules::Discount::Never:
        return false;
    case ClassicRules::Discount::ByVersion:
        break;
    }
    static const QStringList withDisPrice { QStringLiteral("P.46 (Bar)"),
        QStringLiteral("P.47001 (Bar)"), QStringLiteral("P.61 (Bar)"), QStringLiteral("P.62 (Bar)"),
        QStringLiteral("D.47 (Bar)") };
    return withDisPrice.contains(Trim(f.mStoreVersion));
}

int32_t countParts(frmKordane& f, const QString& condition) {
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select ") + QStringLiteral("Count(PartID) As Rec_Count ")
            + QStringLiteral("From ") + QStringLiteral("Pta") + brandText(f) + QStringLiteral(" ")
            + condition);
    CloseOnExit closer { f.rsLookup };
    if (f.rsLookup.Eof()) return 0;
    const rt::Value count = f.rsLookup.Field(QStringLiteral("Rec_Count"));
    return count.isNull() ? 0 : count.toInt32();
}

std::vector<PartRow> loadParts(frmKordane& f, const QString& condition, int32_t count) {
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select ") + QStringLiteral("UpRec, PartID ") + QStringLiteral("From ")
            + QStringLiteral("Pta") + brandText(f) + QStringLiteral(" ") + condition);
    CloseOnExit closer { f.rsLookup };
    std::vector<PartRow> rows;
    // The count bounds the walk: rows that appeared since it was taken wait for the next run.
    while (!f.rsLookup.Eof() && int32_t(rows.size()) < count) {
        rows.push_back({ f.rsLookup.Field(QStringLiteral("UpRec")).toInt16(),
            f.rsLookup.Field(QStringLiteral("PartID")).toInt32() });
        f.rsLookup.MoveNext();
    }
    return rows;
}

void rewriteRow(frmKordane& f, const PartValues& v, const PartRow& row, const QString& modelText,
    const ClassicRules& rules) {
    ado::Connection& cn = f.cnStore();
    const QString b = brandText(f);
    const QString id = QString::number(row.partId);
    const QString setPta = QStringLiteral("Update Pta") + b + QStringLiteral(" Set ");
    const QString wherePart = QStringLiteral("' Where PartID = ") + id;
    // The store-owned tables address a part by PartID and BrandID, SPG with the brand first.
    auto sideTable = [&](const char* table, const char* column, const QString& value) {
        const QString t = QLatin1String(table);
        const QString set = QStringLiteral("Update ") + t + QStringLiteral(" Set ")
            + QLatin1String(column) + QStringLiteral(" = '") + Quote(value);
        if (t == QLatin1String("SPG"))
            f.Execute(cn,
                set + QStringLiteral("' Where BrandID = ") + b + QStringLiteral(" And PartID = ")
                    + id);
        else
            f.Execute(cn, set + wherePart + QStringLiteral(" And BrandID = ") + b);
    };

    if (row.upRec == 0 && !Trim(v.AltNO[0]).isEmpty())
        f.Execute(cn, setPta + QStringLiteral("lAtNO = '") + Quote(v.AltNO[0]) + wherePart);

    if (row.upRec == 0 && f.mUpdateNames == 1) {
        auto searchText = [&](const QString& name) {
            return Trim(Trim(name) + QStringLiteral("  ") + Trim(modelText));
        };
        if (!Trim(v.EName).isEmpty()) {
            if (rules.searchTexts)
                f.Execute(cn,
                    setPta + QStringLiteral("EFind = '") + Quote(searchText(v.EName))
                        + QStringLiteral("', EName = '") + Quote(v.EName) + wherePart);
            else
                f.Execute(cn, setPta + QStringLiteral("EName = '") + Quote(v.EName) + wherePart);
            sideTable("MovementStock", "EName", v.EName);
            sideTable("SPG", "EName", v.EName);
        }
        if (!Trim(v.TName).isEmpty()) {
            if (rules.searchTexts)
                f.Execute(cn,
                    setPta + QStringLiteral("TFind = '") + Quote(searchText(v.TName))
                        + QStringLiteral("', TName = '") + Quote(v.TName) + wherePart);
            else
                f.Execute(cn,
                    setPta + QStringLiteral("IndTName = '")
                        + Quote(mduValue::ThaiSortKey(rt::Value(v.TName)))
                        + QStringLiteral("', TName = '") + Quote(v.TName) + wherePart);
            for (const char* t : { "MovementStock", "SPG", "Price", "Sale" })
                sideTable(t, "TName", v.TName);
        }
        if (!Trim(modelText).isEmpty()) {
            f.Execute(cn, setPta + QStringLiteral("Model = '") + Quote(modelText) + wherePart);
            for (const char* t : { "MovementStock", "SPG", "Price", "Sale" })
                sideTable(t, "Model", modelText);
        }
        if (!Trim(v.Description).isEmpty())
            f.Execute(
                cn, setPta + QStringLiteral("Description = '") + Quote(v.Description) + wherePart);
        if (!Trim(v.Import).isEmpty())
            f.Execute(cn, setPta + QStringLiteral("Import = '") + Quote(v.Import) + wherePart);
    }

    if (!Trim(v.DisPrice).isEmpty() && writesDiscount(f, rules.discount))
        f.Execute(cn, setPta + QStringLiteral("DisPrice = '") + Quote(v.DisPrice) + wherePart);

    const bool hasPrice = v.Price != rt::Currency();
    const bool hasSale = v.Sale != rt::Currency();
    const QString price = v.Price.toText();
    const QString sale = v.Sale.toText();
    if (hasPrice) {
        f.Execute(cn,
            setPta + rules.priceColumn + QStringLiteral(" = ") + price
                + QStringLiteral(" Where PartID = ") + id);
        f.Execute(cn,
            QStringLiteral("Update Alt") + b + QStringLiteral(" Set APrice = ") + price
                + QStringLiteral(" Where AltID = ") + id);
        f.Execute(cn,
            QStringLiteral("Update SPG Set Price = ") + price + QStringLiteral(" Where BrandID = ")
                + b + QStringLiteral(" And PartID = ") + id);
    }
    if (hasSale)
        f.Execute(cn,
            setPta + rules.saleColumn + QStringLiteral(" = ") + sale
                + QStringLiteral(" Where PartID = ") + id);

    if (!hasPrice && !hasSale) return;
    QString check = QStringLiteral("Select ") + QStringLiteral("PartID ") + QStringLiteral("From ")
        + QStringLiteral("Pta") + b + QStringLiteral(" ") + QStringLiteral("Where PartID = ") + id;
    if (hasPrice)
        check += QStringLiteral(" And ") + rules.priceColumn + QStringLiteral(" = ") + price;
    if (hasSale) check += QStringLiteral(" And ") + rules.saleColumn + QStringLiteral(" = ") + sale;
    f.Open(f.rsCheck, cn, check);
    const bool confirmed = !f.rsCheck.Eof();
    f.rsCheck.Close();
    if (!confirmed)
        throw rt::RunError(QStringLiteral("Prices of part %1 in Pta%2 not confirmed").arg(id, b));
}

} // namespace

QString PartCondition(const QString& kind, const QString& column, const QString& number) {
    const QString k = Trim(kind);
    QString s = QStringLiteral("Where ");
    if (!k.isEmpty()) s += QStringLiteral("Kind = '") + Quote(k) + QStringLiteral("' And ");
    return s + column + QStringLiteral(" = '") + Quote(number) + QStringLiteral("'");
}

bool FindPart(frmKordane& f, const QString& condition) {
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select ") + QStringLiteral("UpRec, PartID ") + QStringLiteral("From ")
            + QStringLiteral("Pta") + brandText(f) + QStringLiteral(" ") + condition);
    const bool found = !f.rsLookup.Eof();
    f.rsLookup.Close();
    return found;
}

void StagePart(frmKordane& f, const PartValues& v) {
    const QString b = brandText(f);
    QStringList texts { v.PartNO, v.Kind };
    for (size_t k = 0; k < v.AltNO.size(); ++k)
        texts << v.AltNO[k] << v.AKind[k];
    texts << v.EName << v.TName;
    for (const QString& m : v.Model)
        texts << m;
    texts << v.Description << v.Import;
    for (QString& t : texts)
        t = Quote(t);
    f.Execute(f.cnStore(),
        QStringLiteral("Insert Into PriceList Values( ") + b + QStringLiteral(", '")
            + texts.join(QStringLiteral("', '")) + QStringLiteral("', ") + v.Price.toText()
            + QStringLiteral(", '") + Quote(v.DisPrice) + QStringLiteral("', ") + v.Sale.toText()
            + QStringLiteral(" )"));

    const QString kind = Trim(v.Kind);
    QString check = QStringLiteral("Select ") + QStringLiteral("PartNO ") + QStringLiteral("From ")
        + QStringLiteral("PriceList ") + QStringLiteral("Where BrandID = ") + b;
    if (!kind.isEmpty())
        check += QStringLiteral(" And Kind = '") + Quote(kind) + QStringLiteral("'");
    check += QStringLiteral(" And PartNO = '") + Quote(Trim(v.PartNO)) + QStringLiteral("'");
    f.Open(f.rsCheck, f.cnStore(), check);
    const bool staged = !f.rsCheck.Eof();
    f.rsCheck.Close();
    if (!staged)
        throw rt::RunError(QStringLiteral("Staged part %1 not found in PriceList").arg(v.PartNO));
}

void RewriteParts(
    frmKordane& f, const PartValues& v, const QString& condition, const ClassicRules& rules) {
    const int32_t count = countParts(f, condition);
    if (count <= 0) return;
    const std::vector<PartRow> rows = loadParts(f, condition, count);
    if (rows.empty()) return;
    const QString modelText = mduValue::JoinModels(v.Model);
    for (const PartRow& row : rows)
        rewriteRow(f, v, row, modelText, rules);
}

void UpdateClassic(frmKordane& f, const PartValues& v, const ClassicRules& rules) {
    const QString condition = rules.bySqueezedNumber
        ? PartCondition(v.Kind, QStringLiteral("FPartNO"), mduValue::SqueezeText(v.PartNO))
        : PartCondition(v.Kind, QStringLiteral("PartNO"), Trim(v.PartNO));
    if (FindPart(f, condition))
        RewriteParts(f, v, condition, rules);
    else
        StagePart(f, v);
}

} // namespace update
