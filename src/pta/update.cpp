// Update of the parts a Pta_ store already has: every store row of the part's match key gets
// its model links and, in its own brand's tables and in those of the brands of its group, its
// names with their keys and initials, model text, description, import, discount text and
// prices. A part the store lacks is staged for the insertion.
#include "pta.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"
#include "update/classic_update.h"

#include <vector>

namespace pta {

namespace {

using rt::Quote;
using rt::Trim;

QString num(int32_t v) {
    return QString::number(v);
}

bool blank(const QString& s) {
    return Trim(s).isEmpty();
}

struct PartRow {
    int16_t upRec = 0;
    int32_t partId = 0;
};

// The store rows of the key, at most `count` of them, in the order the lookup gives them.
std::vector<PartRow> loadRows(frmKordane& f, const QString& lookup, int32_t count) {
    f.Open(f.rsLookup, f.cnStore(), lookup);
    std::vector<PartRow> rows;
    try {
        while (!f.rsLookup.Eof() && int32_t(rows.size()) < count) {
            rows.push_back({ f.rsLookup.Field(QStringLiteral("UpRec")).toInt16(),
                f.rsLookup.Field(QStringLiteral("PartID")).toInt32() });
            f.rsLookup.MoveNext();
        }
    } catch (...) {
        f.rsLookup.Close();
        throw;
    }
    f.rsLookup.Close();
    return rows;
}

// The brands whose tables carry the part: its own first, then each other brand among the
// parts of its group, once. Unfilled slots keep brand 0.
std::vector<int32_t> listBrands(frmKordane& f, const QString& sfx, int32_t partId) {
    const QString group = QStringLiteral("Pta_AltG_") + sfx;
    const QString parts = QStringLiteral("Pta_") + sfx;
    const int64_t count = int64_t(FirstValue(f,
                              QStringLiteral("Select Count(PartID) Rec_Count From ") + group
                                  + QStringLiteral(" Where PartID = ") + num(partId),
                              QStringLiteral("Rec_Count"))
                                      .value_or(0))
        + 1;
    if (count > INT32_MAX) rt::throwOverflow(QStringLiteral("brand table count"));
    std::vector<int32_t> brands(size_t(count) + 1, 0);
    brands[0] = f.mBrandID;
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select Distinct BrandID From ") + group + QStringLiteral(" Inner Join ")
            + parts + QStringLiteral(" On ") + group + QStringLiteral(".AltID = ") + parts
            + QStringLiteral(".PartID Where ") + group + QStringLiteral(".PartID = ")
            + num(partId));
    try {
        for (; !f.rsLookup.Eof(); f.rsLookup.MoveNext()) {
            const int32_t brand = f.rsLookup.Field(QStringLiteral("BrandID")).toInt32();
            for (int64_t j = 0; j < count; ++j) {
                if (brands[size_t(j)] == brand) break;
                if (brands[size_t(j)] != 0) continue;
                brands[size_t(j)] = brand;
                break;
            }
        }
    } catch (...) {
        f.rsLookup.Close();
        throw;
    }
    f.rsLookup.Close();
    brands.resize(size_t(count));
    return brands;
}

// One listed brand table: the texts (a row whose UpRec is 0), the discount text, the prices
// and their read-back. Name keys are looked up in the own brand's table.
void writeTable(frmKordane& f, const PartValues& v, const PartRow& row, const QString& ownSfx,
    const QString& tableSfx, const QString& modelText) {
    ado::Connection& cn = f.cnStore();
    const QString table = QStringLiteral("Pta_") + tableSfx;
    const QString id = num(row.partId);
    const QString wherePart = QStringLiteral(" Where PartID = ") + id;
    const QString set = QStringLiteral("Update ") + table + QStringLiteral(" Set ");
    auto setText = [&](const QString& target, const QString& column, const QString& value) {
        f.Execute(cn,
            QStringLiteral("Update ") + target + QStringLiteral(" Set ") + column
                + QStringLiteral(" = '") + Quote(value) + QLatin1Char('\'') + wherePart);
    };

    if (row.upRec == 0 && f.mUpdateNames == 1) {
        for (NameKind kind : { NameKind::English, NameKind::Thai }) {
            const bool english = kind == NameKind::English;
            const QString& name = english ? v.EName : v.TName;
            if (blank(name)) continue;
            const QString e = english ? QStringLiteral("E") : QStringLiteral("T");
            const QString initial = NameInitial(name);
            const int32_t key = NameKey(f, ownSfx, kind, name);
            f.Execute(cn,
                set + e + QStringLiteral("NameID = ") + num(key) + QStringLiteral(", Chr") + e
                    + QStringLiteral("Name = '") + Quote(initial) + QStringLiteral("', ") + e
                    + QStringLiteral("Name = '") + Quote(name) + QLatin1Char('\'') + wherePart);
            setText(QStringLiteral("Pta_Doc"), e + QStringLiteral("Name"), name);
        }
        if (!blank(modelText)) {
            setText(table, QStringLiteral("Model"), modelText);
            setText(QStringLiteral("Pta_Doc"), QStringLiteral("Model"), modelText);
        }
        if (!blank(v.Description)) setText(table, QStringLiteral("Description"), v.Description);
        if (!blank(v.Import)) setText(table, QStringLiteral("Import"), v.Import);
    }
    if (!blank(v.DisPrice)) setText(table, QStringLiteral("DisPrice"), v.DisPrice);

    const bool hasPrice = v.Price != rt::Currency();
    const bool hasSale = v.Sale != rt::Currency();
    const QString alt = QStringLiteral("Update Pta_Alt_") + tableSfx + QStringLiteral(" Set ");
    const QString whereAlt = QStringLiteral(" Where AltID = ") + id;
    if (hasPrice) {
        f.Execute(cn, set + QStringLiteral("Price = ") + v.Price.toText() + wherePart);
        f.Execute(cn, alt + QStringLiteral("APrice = ") + v.Price.toText() + whereAlt);
    }
    if (hasSale) {
        f.Execute(cn, set + QStringLiteral("Sale = ") + v.Sale.toText() + wherePart);
        f.Execute(cn, alt + QStringLiteral("ASale = ") + v.Sale.toText() + whereAlt);
        f.Execute(cn,
            QStringLiteral("Delete From DetailSaleRem Where PartID = ") + id
                + QStringLiteral(" And Discount = 0 And Price > 0"));
    }
    if (!hasPrice && !hasSale) return;
    QString check = QStringLiteral("Select PartID From ") + table + wherePart;
    if (hasPrice) check += QStringLiteral(" And Price = ") + v.Price.toText();
    if (hasSale) check += QStringLiteral(" And Sale = ") + v.Sale.toText();
    // written once and read back once: a row that does not show the new prices ends the run
    if (!HasRow(f, f.rsCheck, check))
        throw rt::RunError(QStringLiteral("Prices of part %1 in %2 not confirmed").arg(id, table));
}

int16_t updatePart(frmKordane& f, PartValues& v, int digits) {
    const QString sfx = TableSuffix(f.mBrandID, digits);
    const QString where = QStringLiteral(" From Pta_") + sfx + QStringLiteral(" Where FPartNO = '")
        + Quote(NumberKey(v.PartNO, v.Kind)) + QLatin1Char('\'');
    const QString lookup = QStringLiteral("Select UpRec, PartID") + where;

    if (!HasRow(f, f.rsLookup, lookup)) {
        update::StagePart(f, v);
        return 0;
    }
    const int32_t count = FirstValue(
        f, QStringLiteral("Select Count(PartID) As Rec_Count") + where, QStringLiteral("Rec_Count"))
                              .value_or(0);
    if (count < 1) return 0;
    const std::vector<PartRow> rows = loadRows(f, lookup, count);
    const QString modelText = mduValue::JoinModels(v.Model);
    for (const PartRow& row : rows) {
        LinkCarModels(f, row.partId, v.Model);
        const std::vector<int32_t> brands = listBrands(f, sfx, row.partId);
        for (size_t j = 0; j < brands.size(); ++j) {
            if (brands[j] <= 0) continue;
            writeTable(f, v, row, sfx, j == 0 ? sfx : TableSuffix(brands[j], digits), modelText);
        }
    }
    return 0;
}

} // namespace

int16_t UpdatePartP66(frmKordane& f, PartValues& v) {
    return updatePart(f, v, 2);
}

int16_t UpdatePartP68(frmKordane& f, PartValues& v) {
    return updatePart(f, v, 3);
}

} // namespace pta
