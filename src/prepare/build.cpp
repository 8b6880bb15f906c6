// BuildPriceList: the opening steps, the normalisation of each raw sheet and the copy of its
// rows into the work table, with the brand rules for part numbers; then the later phases.
#include "common/mduValue.h"
#include "operations.h"
#include "phases.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"
#include "prepare.h"

#include <array>

using win::Box;

namespace prepare {

namespace {

QString cleaned(const rt::Value& value) {
    rt::Value v = value; // CleanTextVar writes back; the sheet's value stays as read
    return mduValue::CleanTextVar(v);
}

// FORD numbers are squeezed as they stand, without cleaning.
QString squeezedAsIs(const rt::Value& v) {
    return mduValue::SqueezeText(v.toText());
}
QString formatted(const rt::Value& v) {
    return mduValue::FormatPartNo(cleaned(v));
}
QString formattedV(const rt::Value& v) {
    return mduValue::FormatPartNoV(cleaned(v));
}

// How each brand spells part and replacement numbers; the first row that names the brand
// wins, the last row (no name) serves every other brand.
struct BrandRule {
    const char* brand;
    QString (*number)(const rt::Value& value);
    bool partNewFromFirstDigit;
};

const std::array<BrandRule, 7> kBrandRules { {
    { "BENZ", cleaned, true },
    { "FORD", squeezedAsIs, false },
    { "NISSAN", formatted, false },
    { "TOYOTA", formatted, false },
    { "UD", formatted, false },
    { "UD_VOLVO", formattedV, false },
    { nullptr, cleaned, false },
} };

const BrandRule& ruleOf(const QString& brand) {
    for (const BrandRule& r : kBrandRules)
        if (!r.brand || brand == QLatin1String(r.brand)) return r;
    return kBrandRules.back();
}

// Widths the built tables keep; longer texts are cut.
constexpr int kENameWidth = 40, kTNameWidth = 60, kModelWidth = 30, kDescriptionWidth = 60,
              kImportWidth = 20;

const QString kSheetColumns = QStringLiteral(
    "Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, AKind_4, AltNO_4, "
    "AKind_5, AltNO_5, EName, TName, Model_1, Model_2, Model_3, Model_4, Model_5, Model_6, "
    "Model_7, Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, Price, "
    "DisPrice, Sale");

PriceRow readSheetRow(const ado::Recordset& rs, const BrandRule& rule, const QString& brand) {
    auto field = [&rs](const QString& name) { return rs.Field(name); };
    auto clean = [&](const QString& name, int width = -1) {
        const QString t = cleaned(field(name));
        return width < 0 ? t : t.left(width);
    };
    PriceRow r;
    r.Kind = clean(QStringLiteral("Kind"));
    r.PartNO = rule.number(field(QStringLiteral("PartNO")));
    for (int k = 0; k < 5; ++k)
        r.AltNO[k] = rule.number(field(QStringLiteral("AltNO_%1").arg(k + 1)));
    r.PartNew = BrandPartNew(brand, r.PartNO);
    r.FPartNew = mduValue::SqueezeText(r.PartNew);
    for (int k = 0; k < 5; ++k)
        r.AKind[k] = clean(QStringLiteral("AKind_%1").arg(k + 1));
    r.EName = clean(QStringLiteral("EName"), kENameWidth);
    r.TName = clean(QStringLiteral("TName"), kTNameWidth);
    for (int k = 0; k < 12; ++k)
        r.Model[k] = clean(QStringLiteral("Model_%1").arg(k + 1), kModelWidth);
    r.Description = clean(QStringLiteral("Description"), kDescriptionWidth);
    r.Import = clean(QStringLiteral("Import"), kImportWidth);
    r.Price = field(QStringLiteral("Price")).toCurrency();
    r.DisPrice = clean(QStringLiteral("DisPrice"));
    r.Sale = field(QStringLiteral("Sale")).toCurrency();
    if (r.Sale == rt::Currency()) r.Sale = r.Price;
    return r;
}

} // namespace

QStringList NormalisingStatements(int16_t sheet) {
    const QString head
        = QStringLiteral("Update PriceNew_") + QString::number(sheet) + QStringLiteral(" Set ");
    auto toEmpty = [&](const QString& c) {
        return head + c + QStringLiteral(" = '' Where ") + c + QStringLiteral(" Is Null");
    };
    auto toZero = [&](const QString& c) {
        return head + c + QStringLiteral(" = 0 Where ") + c + QStringLiteral(" Is Null");
    };
    // a kind written as an amount ("0.00") becomes its digit
    auto kindStatements = [&](const QString& c) {
        return QStringList { toEmpty(c),
            head + c + QStringLiteral(" = '0' Where ") + c + QStringLiteral(" = '0.00' "),
            head + c + QStringLiteral(" = '1' Where ") + c + QStringLiteral(" = '1.00' ") };
    };
    auto models = [&](const QString& placeholder) {
        QStringList out;
        for (int m = 1; m <= 12; ++m) {
            const QString c = QStringLiteral("Model_%1").arg(m);
            out << head + c + QStringLiteral(" = '' Where ") + c + QStringLiteral(" = '")
                    + placeholder + QStringLiteral("'");
        }
        return out;
    };
    QStringList s = kindStatements(QStringLiteral("Kind"));
    s << toEmpty(QStringLiteral("PartNO"));
    for (int k = 1; k <= 5; ++k)
        s << kindStatements(QStringLiteral("AKind_%1").arg(k))
          << toEmpty(QStringLiteral("AltNO_%1").arg(k));
    s << toEmpty(QStringLiteral("EName")) << toEmpty(QStringLiteral("TName"));
    for (int m = 1; m <= 12; ++m)
        s << toEmpty(QStringLiteral("Model_%1").arg(m));
    s << toEmpty(QStringLiteral("Description")) << toEmpty(QStringLiteral("Import"))
      << toZero(QStringLiteral("Price")) << toEmpty(QStringLiteral("DisPrice"))
      << toZero(QStringLiteral("Sale"));
    s << QStringLiteral("Delete From PriceNew_") + QString::number(sheet)
            + QStringLiteral(" Where PartNO = ''");
    s << models(QStringLiteral("-")) << models(QStringLiteral("xxxx"));
    return s;
}

QString BrandPartNumber(const QString& brand, const rt::Value& value) {
    return ruleOf(brand).number(value);
}

QString BrandPartNew(const QString& brand, const QString& partNo) {
    if (ruleOf(brand).partNewFromFirstDigit) return mduValue::LeadingDigitsText(rt::Value(partNo));
    return rt::Trim(partNo);
}

void BuildWorkTableRows(frmKordane& f, int16_t sheet) {
    const QString n = QString::number(sheet);
    const BrandRule& rule = ruleOf(f.mBrandName);
    f.Open(f.rsList, f.cnPriceList(),
        QStringLiteral("Select ") + kSheetColumns + QStringLiteral(" From PriceNew_") + n);
    const int32_t total = f.rsList.RecordCount();
    int32_t counter = 0;
    while (!f.rsList.Eof()) {
        const PriceRow r = readSheetRow(f.rsList, rule, f.mBrandName);
        if (counter == INT32_MAX) rt::throwOverflow(QStringLiteral("row counter"));
        ++counter;
        f.w.setText(Box::txtQTY,
            RowProgressText(QStringLiteral("กำลังสร้าง FPartNew  "), f.mBrandName,
                QStringLiteral("_") + n, total, counter));
        f.w.setText(
            Box::txtPartNO, PartLine(r.Kind, r.PartNO, r.TName, mduValue::JoinModels(r.Model)));
        f.w.doEvents();
        if (!rt::Trim(r.FPartNew).isEmpty())
            InsertPriceRowChecked(f, QStringLiteral("PriceList"), r);
        f.rsList.MoveNext();
    }
    f.rsList.Close();
}

int16_t BuildPriceList(frmKordane& f, int32_t chunk) {
    f.w.setText(Box::txtQTY, QStringLiteral("กำลังหา PartNO ซ้ำ"));
    f.w.doEvents();
    f.Execute(f.cnPriceList(), QStringLiteral("Delete From PriceList"));
    ClearSplitPriceLists(f);
    const std::vector<int16_t> sheets = ReadTableNumbers(f, QStringLiteral("PriceNew"));
    for (const int16_t sheet : sheets) {
        try {
            for (const QString& statement : NormalisingStatements(sheet))
                f.Execute(f.cnPriceList(), statement);
            BuildWorkTableRows(f, sheet);
        } catch (const rt::RunError& e) {
            // the operator mends the sheet, so the message says which one
            ThrowNamingTable(QStringLiteral("PriceNew_") + QString::number(sheet), e);
        }
    }
    RemoveDuplicates(f);
    return SplitWorkTable(f, chunk);
}

} // namespace prepare
