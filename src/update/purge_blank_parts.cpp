// Removal of the brand's parts that carry no part number, with their code rows and group links,
// and the reset of the brand's part-key counter to the highest key left.
#include "app/members.h"

namespace update {

namespace {
// PartID of the first row of rsList; rsList is closed afterwards, also when the value is bad.
int32_t takeFirstPartId(frmKordane& f) {
    struct CloseOnExit {
        ado::Recordset& rs;
        ~CloseOnExit() { frmKordane::CloseIfOpen(rs); }
    } closer { f.rsList };
    return f.rsList.Field(QStringLiteral("PartID")).toInt32();
}
} // namespace

void PurgeBlankParts(frmKordane& f) {
    ado::Connection& cn = f.cnStore();
    const QString b = QString::number(f.mBrandID);
    for (;;) {
        f.Open(f.rsList, cn,
            QStringLiteral("Select ") + QStringLiteral("PartID ") + QStringLiteral("From ")
                + QStringLiteral("Pta") + b + QStringLiteral(" ")
                + QStringLiteral("Where PartNO = ''"));
        if (f.rsList.Eof()) break;
        const QString key = QString::number(takeFirstPartId(f));
        // A delete that removes nothing would find the same part again, for ever; only a known
        // 0 says so (-1: the store does not report counts).
        if (f.Execute(cn,
                QStringLiteral("Delete From Pta") + b + QStringLiteral(" Where PartID = ") + key)
            == 0)
            throw rt::RunError(QStringLiteral("Blank part %1 of Pta%2 not deleted").arg(key, b));
        f.Execute(
            cn, QStringLiteral("Delete From Alt") + b + QStringLiteral(" Where AltID = ") + key);
        f.Execute(
            cn, QStringLiteral("Delete From AltG") + b + QStringLiteral(" Where PartID = ") + key);
        f.Execute(
            cn, QStringLiteral("Delete From AltG") + b + QStringLiteral(" Where AltID = ") + key);
    }
    f.rsList.Close();

    f.Open(f.rsList, cn,
        QStringLiteral("Select ") + QStringLiteral("PartID ") + QStringLiteral("From ")
            + QStringLiteral("Pta") + b + QStringLiteral(" ")
            + QStringLiteral("Order By PartID Desc"));
    if (f.rsList.Eof()) {
        f.rsList.Close();
        return;
    }
    const QString max = QString::number(takeFirstPartId(f));
    f.Execute(cn,
        QStringLiteral("Update LastID Set LastID = ") + max + QStringLiteral(" Where NameID = 'Pta")
            + b + QStringLiteral("'"));
}

} // namespace update
