// The store's staging table of parts it lacks: re-creation and the queue's queries.
#include "frmKordane.h"
#include "price_row.h"

#include "platform/runtime/error.h"

#include <optional>

namespace {
QString stagingDdl(const QString& num, const QString& text, const QString& money) {
    auto t = [&](int n) { return text + QStringLiteral("(%1)").arg(n); };
    QString s = QStringLiteral("Create Table PriceList ") + QStringLiteral("(BrandID ") + num
        + QStringLiteral(", ") + QStringLiteral("PartNO ") + t(40) + QStringLiteral(", Kind ")
        + t(1) + QStringLiteral(", ");
    for (int k = 1; k <= 5; ++k)
        s += QStringLiteral("AltNO_%1 ").arg(k) + t(40) + QStringLiteral(", AKind_%1 ").arg(k)
            + t(1) + QStringLiteral(", ");
    s += QStringLiteral("EName ") + t(40) + QStringLiteral(", TName ") + t(60)
        + QStringLiteral(", ");
    for (int k = 1; k <= 12; ++k)
        s += QStringLiteral("Model_%1 ").arg(k) + t(30)
            + (k < 12 ? QStringLiteral(", ") : QStringLiteral(", "));
    s += QStringLiteral("Description ") + t(60) + QStringLiteral(", Import ") + t(30)
        + QStringLiteral(", ");
    s += QStringLiteral("Price ") + money + QStringLiteral(", DisPrice ") + t(30)
        + QStringLiteral(", Sale ") + money + QStringLiteral(")");
    return s;
}

// Every staged row has the same kind, so the lookups and dequeues by kind and number would
// search the whole queue through the kind index, and the queue's head in part-number order
// would be sorted out of it each time. On a stand-in file an index of the layer's own on
// brand, number and kind serves all of them (the statements and their indexes stay as they are).
void aidStagingLookups(ado::Connection& cn) {
    if (!cn.isStandIn()) return;
    cn.ExecuteOwn(
        QStringLiteral("CREATE INDEX kordane_PriceList_Part ON PriceList (BrandID, PartNO, Kind)"));
}

void recreate(frmKordane& f, const QString& ddl) {
    // a table lost to an earlier failure (or never made) is made anew: only the create decides
    std::optional<QString> dropFailure;
    try {
        f.Execute(f.cnStore(), QStringLiteral("DROP TABLE PriceList"));
    } catch (const rt::RunError& e) {
        dropFailure = e.message();
    }
    try {
        f.Execute(f.cnStore(), ddl);
    } catch (const rt::RunError& e) {
        // the drop's cause comes first: after a drop that failed, "already exists" hides it
        if (!dropFailure) throw;
        throw rt::RunError(*dropFailure + QStringLiteral("; ") + e.message());
    }
    f.Execute(f.cnStore(), QStringLiteral("CREATE INDEX PriceList_PartNO ON PriceList (PartNO) "));
    f.Execute(f.cnStore(), QStringLiteral("CREATE INDEX PriceList_Kind ON PriceList (Kind) "));
    aidStagingLookups(f.cnStore());
}
} // namespace

void frmKordane::RecreateStagingTable() {
    recreate(*this,
        stagingDdl(QStringLiteral("Long"), QStringLiteral("Text"), QStringLiteral("Currency")));
}

void frmKordane::RecreateStagingTableSql() {
    recreate(*this,
        stagingDdl(QStringLiteral("int"), QStringLiteral("nvarchar"), QStringLiteral("money")));
}

int32_t frmKordane::CountStagedParts() {
    return CountStagedParts(QStringLiteral("Where BrandID = ") + QString::number(mBrandID));
}

int32_t frmKordane::CountStagedParts(const QString& where) {
    Open(rsList, cnStore(),
        QStringLiteral("Select ") + QStringLiteral("Count(PartNO) As Rec_Count ")
            + QStringLiteral("From ") + QStringLiteral("PriceList ") + where);
    int32_t count = 0;
    try {
        if (!rsList.Eof()) {
            rt::Value v = rsList.Field(QStringLiteral("Rec_Count"));
            if (!v.isNull()) count = v.toInt32();
        }
    } catch (...) {
        rsList.Close();
        throw;
    }
    rsList.Close();
    return count;
}

const QStringList& frmKordane::StagedColumns() {
    // the price-list row's columns but the new numbers, which the staging table does not keep
    static const QStringList columns = [] {
        QStringList c = PriceRowColumns();
        c.removeAll(QStringLiteral("PartNew"));
        c.removeAll(QStringLiteral("FPartNew"));
        return c;
    }();
    return columns;
}

void frmKordane::OpenStagedRows(const QString& rest) {
    Open(rsList, cnStore(),
        QStringLiteral("Select ") + StagedColumns().join(QStringLiteral(", "))
            + QStringLiteral(" From ") + QStringLiteral("PriceList ") + rest);
}

int16_t frmKordane::OpenStagedParts() {
    OpenStagedRows(QStringLiteral("Where BrandID = ") + QString::number(mBrandID)
        + QStringLiteral(" ") + QStringLiteral("Order By PartNO"));
    if (rsList.Eof()) {
        rsList.Close();
        return 0;
    }
    return 1;
}

void frmKordane::EmptyStagedParts() {
    Execute(cnStore(),
        QStringLiteral("Delete From PriceList Where BrandID = ") + QString::number(mBrandID));
}
