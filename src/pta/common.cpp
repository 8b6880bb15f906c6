// Table suffixes, single-value reads and name keys of the Pta_ schema.
#include "pta.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

namespace pta {

QString TableSuffix(int32_t brandId, int digits) {
    QString sfx;
    if (brandId >= 0) sfx = digits == 2 ? mduValue::Pad2(brandId) : mduValue::Pad3(brandId);
    // an empty suffix would name the bare tables Pta_, Pta_Alt_ and Pta_AltG_
    if (sfx.isEmpty())
        throw rt::RunError(
            QStringLiteral("The brand key %1 does not fit a Pta_ table suffix of %2 digits")
                .arg(brandId)
                .arg(digits));
    return sfx;
}

QString NumberKey(const QString& number, const QString& kind) {
    return mduValue::MakeMatchKey(mduValue::CleanText(number) + mduValue::CleanText(kind));
}

bool HasRow(frmKordane& f, ado::Recordset& rs, const QString& statement) {
    f.Open(rs, f.cnStore(), statement);
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

int32_t TakeValue(frmKordane& f, const QString& column) {
    int32_t value = 0;
    try {
        value = f.rsLookup.Field(column).toInt32();
    } catch (...) {
        f.rsLookup.Close();
        throw;
    }
    f.rsLookup.Close();
    return value;
}

std::optional<int32_t> FirstValue(frmKordane& f, const QString& statement, const QString& column) {
    f.Open(f.rsLookup, f.cnStore(), statement);
    if (f.rsLookup.Eof()) {
        f.rsLookup.Close();
        return std::nullopt;
    }
    return TakeValue(f, column);
}

int32_t NameKey(frmKordane& f, const QString& sfx, NameKind kind, const QString& name) {
    const bool english = kind == NameKind::English;
    const QString key = english ? QStringLiteral("ENameID") : QStringLiteral("TNameID");
    const QString match = english ? QStringLiteral("FEName") : QStringLiteral("FTName");
    if (auto found = FirstValue(f,
            QStringLiteral("Select ") + key + QStringLiteral(" From Pta_") + sfx
                + QStringLiteral(" Where ") + match + QStringLiteral(" = '")
                + rt::Quote(mduValue::MakeMatchKey(name)) + QStringLiteral("' "),
            key))
        return *found;
    return NextKey(f, key);
}

QString NameInitial(const QString& name) {
    const QString trimmed = rt::Trim(name);
    if (trimmed.isEmpty()) return QString();
    return mduValue::ThaiSortKeyPta(rt::Value(trimmed)).left(1);
}

} // namespace pta
