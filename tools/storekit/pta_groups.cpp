// Pta_-schema group tables for fixtures.
#include "pta_groups.h"

namespace storekit {

namespace {

Column L(const char* n) {
    return { QLatin1String(n), QStringLiteral("Long") };
}

} // namespace

void CreatePtaGroupTables(ado::Connection& cn, const QString& sfx) {
    const QString group = QStringLiteral("Pta_AltG_") + sfx;
    CreateTable(cn, group, { L("PartID"), L("AltID") });
    cn.Execute(QStringLiteral("CREATE INDEX %1_PartID ON %1 (PartID)").arg(group));
    if (!HasTable(cn, QStringLiteral("Pta_AltGX")))
        CreateTable(cn, QStringLiteral("Pta_AltGX"), { L("PartID") });
}

void CreateMinimalPtaPartTable(ado::Connection& cn, const QString& sfx) {
    CreateTable(cn, QStringLiteral("Pta_") + sfx, { L("PartID") });
    UniqueKey(cn, QStringLiteral("Pta_") + sfx, QStringLiteral("PartID"));
}

} // namespace storekit
