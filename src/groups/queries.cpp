// Counts and opens of a part's group partners and Fac links. A failing query reads as nothing
// found, so a store lacking a table goes on as if the part had no partners.
#include "groups.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

namespace groups {

namespace {

QString num(int32_t v) {
    return QString::number(v);
}

void dropLookup(frmKordane& f) {
    try {
        frmKordane::CloseIfOpen(f.rsLookup);
    } catch (...) { }
}

int32_t runCount(frmKordane& f, const QString& statement) {
    int32_t result = 0;
    try {
        f.Open(f.rsLookup, f.cnStore(), statement);
        if (!f.rsLookup.Eof()) {
            const rt::Value v = f.rsLookup.Field(QStringLiteral("Rec_Count"));
            if (!v.isNull()) result = v.toInt32();
        }
        f.rsLookup.Close();
    } catch (const std::exception&) {
        dropLookup(f);
    }
    return result;
}

int16_t runOpen(frmKordane& f, const QString& statement) {
    try {
        f.Open(f.rsLookup, f.cnStore(), statement);
        if (f.rsLookup.Eof()) {
            f.rsLookup.Close();
            return 0;
        }
        return 1;
    } catch (const std::exception&) {
        dropLookup(f);
        return 0;
    }
}

// The joined part rows of a group table: links to no existing part are never members.
QString altGroupFromClassic(int32_t brandId, int32_t partId) {
    const QString b = num(brandId);
    return QStringLiteral("From ") + QStringLiteral("AltG") + b + QStringLiteral(" Inner Join Pta")
        + b + QStringLiteral(" On AltG") + b + QStringLiteral(".AltID = Pta") + b
        + QStringLiteral(".PartID ") + QStringLiteral("Where AltG") + b
        + QStringLiteral(".PartID = ") + num(partId);
}

QString altGroupFromPta(const QString& sfx, int32_t partId) {
    return QStringLiteral("From ") + QStringLiteral("Pta_AltG_") + sfx
        + QStringLiteral(" Inner Join Pta_") + sfx + QStringLiteral(" On Pta_AltG_") + sfx
        + QStringLiteral(".AltID = Pta_") + sfx + QStringLiteral(".PartID ")
        + QStringLiteral("Where Pta_AltG_") + sfx + QStringLiteral(".PartID = ") + num(partId);
}

QString partFacFrom(int32_t brandId, int32_t partId) {
    const QString b = num(brandId);
    return QStringLiteral("From ") + QStringLiteral("FacD") + b
        + QStringLiteral(" Inner Join Fac On FacD") + b + QStringLiteral(".FacID = Fac.FacID ")
        + QStringLiteral("Where PartID = ") + num(partId);
}

void dedup(std::vector<int32_t>& keys, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (keys[i] <= 0) continue;
        for (int32_t j = 0; j < count; ++j)
            if (j != i && keys[j] > 0 && keys[j] == keys[i]) keys[j] = 0;
    }
}

} // namespace

QString PtaSuffix(const frmKordane& f) {
    const QString v = rt::Trim(f.mStoreVersion);
    QString sfx;
    if (v == QLatin1String("P.66 (Bar)"))
        sfx = mduValue::Pad2(f.mBrandID);
    else if (v == QLatin1String("P.68 (Bar)"))
        sfx = mduValue::Pad3(f.mBrandID);
    else
        return sfx;
    // An empty or signed suffix would name another brand's table or none at all.
    if (sfx.isEmpty() || f.mBrandID < 0)
        throw rt::RunError(QStringLiteral("The brand key %1 does not fit the table names of %2")
                               .arg(f.mBrandID)
                               .arg(v));
    return sfx;
}

int32_t CountAltGroup(frmKordane& f, int32_t brandId, int32_t partId) {
    if (IsPtaVersion(f.mStoreVersion)) return CountAltGroupPta(f, partId);
    return CountAltGroupAltG(f, brandId, partId);
}

int32_t CountAltGroupAltG(frmKordane& f, int32_t brandId, int32_t partId) {
    return runCount(f,
        QStringLiteral("Select ") + QStringLiteral("Count(Pta") + num(brandId)
            + QStringLiteral(".PartID) As Rec_Count ") + altGroupFromClassic(brandId, partId));
}

int32_t CountAltGroupPta(frmKordane& f, int32_t partId) {
    const QString sfx = PtaSuffix(f);
    return runCount(f,
        QStringLiteral("Select ") + QStringLiteral("Count(Pta_") + sfx
            + QStringLiteral(".PartID) As Rec_Count ") + altGroupFromPta(sfx, partId));
}

int16_t OpenAltGroup(frmKordane& f, int32_t brandId, int32_t partId) {
    if (IsPtaVersion(f.mStoreVersion)) return OpenAltGroupPta(f, partId);
    return OpenAltGroupAltG(f, brandId, partId);
}

int16_t OpenAltGroupAltG(frmKordane& f, int32_t brandId, int32_t partId) {
    if (brandId == 0) return 0;
    return runOpen(f,
        QStringLiteral("Select ") + QStringLiteral("Pta") + num(brandId)
            + QStringLiteral(".PartID ") + altGroupFromClassic(brandId, partId));
}

int16_t OpenAltGroupPta(frmKordane& f, int32_t partId) {
    const QString sfx = PtaSuffix(f);
    return runOpen(f,
        QStringLiteral("Select ") + QStringLiteral("Pta_") + sfx + QStringLiteral(".PartID ")
            + altGroupFromPta(sfx, partId));
}

int32_t CountPartFac(frmKordane& f, int32_t brandId, int32_t partId) {
    return runCount(f,
        QStringLiteral("Select ") + QStringLiteral("Count(Fac.FacID) As Rec_Count ")
            + partFacFrom(brandId, partId));
}

int16_t OpenPartFac(frmKordane& f, int32_t brandId, int32_t partId) {
    if (brandId == 0) return 0;
    return runOpen(
        f, QStringLiteral("Select ") + QStringLiteral("Fac.FacID ") + partFacFrom(brandId, partId));
}

void DedupAltMembers(std::vector<int32_t>& members, int32_t count) {
    dedup(members, count);
}

void DedupFacList(std::vector<int32_t>& facIds, int32_t count) {
    dedup(facIds, count);
}

} // namespace groups
