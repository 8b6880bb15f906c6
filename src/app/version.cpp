// The store's version and the brand's key.
#include "frmKordane.h"

#include "platform/runtime/text.h"

const std::vector<QString>& StoreVersions() {
    static const std::vector<QString> versions { QStringLiteral("Ver 3.1 SQL"),
        QStringLiteral("V.31"), QStringLiteral("V.32"), QStringLiteral("V.33"),
        QStringLiteral("V.34"), QStringLiteral("V.41"), QStringLiteral("V.42"),
        QStringLiteral("V.43"), QStringLiteral("V.45"), QStringLiteral("V.46 (Bar)"),
        QStringLiteral("V.51"), QStringLiteral("V.61"), QStringLiteral("P.42"),
        QStringLiteral("P.43"), QStringLiteral("P.44 (Bar)"), QStringLiteral("P.45 (Bar)"),
        QStringLiteral("P.46 (Bar)"), QStringLiteral("P.47001 (Bar)"), QStringLiteral("P.48 (Bar)"),
        QStringLiteral("P.49 (Bar)"), QStringLiteral("P.52"), QStringLiteral("P.61 (Bar)"),
        QStringLiteral("P.62 (Bar)"), QStringLiteral("P.64 (Bar)"), QStringLiteral("P.65 (Bar)"),
        QStringLiteral("P.66 (Bar)"), QStringLiteral("P.68 (Bar)"), QStringLiteral("D.47 (Bar)") };
    return versions;
}

bool IsPtaVersion(const QString& version) {
    const QString v = rt::Trim(version);
    return v == QLatin1String("P.66 (Bar)") || v == QLatin1String("P.68 (Bar)");
}

int16_t frmKordane::CheckStoreVersion() {
    Open(rsLookup, cnStore(),
        QStringLiteral("Select ") + QStringLiteral("Ver ") + QStringLiteral("From ")
            + QStringLiteral("System "));
    if (rsLookup.Eof()) {
        rsLookup.Close();
        return 0;
    }
    try {
        mStoreVersion = rt::Trim(rsLookup.Field(QStringLiteral("Ver")).toText());
    } catch (...) {
        rsLookup.Close();
        throw;
    }
    rsLookup.Close();
    for (const QString& v : StoreVersions())
        if (mStoreVersion == v) return 1;
    return 0;
}

void frmKordane::FindBrand() {
    mBrandID = 0;
    if (IsPtaVersion(mStoreVersion))
        FindBrandPta();
    else
        FindBrandClassic();
}

namespace {
// Opens the lookup; on a row takes its BrandID. Leaves rsLookup closed either way.
bool takeBrandId(frmKordane& f, const QString& statement) {
    f.Open(f.rsLookup, f.cnStore(), statement);
    if (f.rsLookup.Eof()) {
        f.rsLookup.Close();
        return false;
    }
    try {
        f.mBrandID = f.rsLookup.Field(QStringLiteral("BrandID")).toInt32();
    } catch (...) {
        f.rsLookup.Close();
        throw;
    }
    f.rsLookup.Close();
    return true;
}
} // namespace

void frmKordane::FindBrandClassic() {
    const QString head = QStringLiteral("Select ") + QStringLiteral("BrandID ")
        + QStringLiteral("From ") + QStringLiteral("Brand ")
        + QStringLiteral("Where BrandName = '");
    if (takeBrandId(*this, head + rt::Quote(mBrandName) + QStringLiteral("'"))) return;
    if (takeBrandId(*this, head + rt::Quote(mBrandName) + QStringLiteral("_U'"))) return;
    if (rt::Trim(mBrandName) == QLatin1String("UD_VOLVO"))
        takeBrandId(*this, head + QStringLiteral("UD'"));
}

void frmKordane::FindBrandPta() {
    takeBrandId(*this,
        QStringLiteral("Select ") + QStringLiteral("BrandID ") + QStringLiteral("From ")
            + QStringLiteral("Pta_BrandID ") + QStringLiteral("Where BrandCar = '")
            + rt::Quote(mBrandName) + QStringLiteral("'"));
}
