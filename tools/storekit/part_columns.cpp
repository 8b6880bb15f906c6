// Column pieces of the classic part tables: see part_columns.h.
#include "part_columns.h"

namespace storekit::cols {

Column L(const char* n) {
    return { QLatin1String(n), QStringLiteral("Long") };
}
Column C(const char* n) {
    return { QLatin1String(n), QStringLiteral("Currency") };
}
Column B(const char* n) {
    return { QLatin1String(n), QStringLiteral("YesNo") };
}
Column T(const char* n, int len) {
    return { QLatin1String(n), Text(len) };
}

std::vector<Column> Head() {
    return { L("UpRec"), L("PartID"), T("Kind", 1), T("FPartNO", 40), T("PartNO", 40),
        T("AKind", 1), T("lAtNO", 40), T("Location", 30), T("EName", 40), T("IndTName", 60),
        T("TName", 60), T("Description", 60), T("Model", 30), T("Remark", 60), T("Import", 30),
        T("Unit", 20) };
}

std::vector<Column> Tail() {
    return { T("Note", 60), L("Qty1"), L("Qty2"), L("Qty3"), L("Qty4"), L("Qty5"), L("BrandID"),
        L("GroupID"), L("TypeID"), T("PartCode", 90), L("N1"), L("N2"), L("N3"), L("N4"), L("N5"),
        L("N6"), L("N7") };
}

std::vector<Column> Join(std::initializer_list<std::vector<Column>> pieces) {
    std::vector<Column> all;
    for (const auto& p : pieces)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace storekit::cols
