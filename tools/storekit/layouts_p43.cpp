// Part-table layouts of "P.43" to "P.48 (Bar)" and "D.47 (Bar)": see layouts_more.h. "P.45 (Bar)"
// keeps its prices in Price1 and Sale1 and its search texts in EFind and TFind.
#include "layouts_more.h"
#include "part_columns.h"

namespace storekit {

using namespace cols;

std::optional<std::vector<Column>> PartColumnsP43ToP48(const QString& version) {
    // the discount text between the list and the sale price
    const std::vector<Column> discountPrices { C("Price"), T("DisPrice", 30), C("Sale"),
        T("BarCode", 30), C("Cost"), C("Price2"), C("Price3"), B("Active"), B("Locked") };
    if (version == QLatin1String("P.43"))
        return Join({ Head(),
            { C("Price"), C("Cost"), C("Price2"), C("Price3"), C("Sale"), C("Sale2"), C("Sale3"),
                C("Sale4"), B("Active"), B("Locked") },
            Tail() });
    if (version == QLatin1String("P.44 (Bar)")) return PartColumnsV34ToV46(QStringLiteral("V.43"));
    if (version == QLatin1String("P.45 (Bar)"))
        return Join({ { L("UpRec"), L("PartID"), T("Kind", 1), T("FPartNO", 40), T("PartNO", 40),
                          T("AKind", 1), T("lAtNO", 40), T("Location", 30), T("ShowPartNO", 40),
                          T("EName", 40), T("IndTName", 60), T("TName", 60), T("Description", 60),
                          T("Model", 30), T("Remark", 60), T("Import", 30), C("Price1"),
                          C("Price2"), C("Price3"), C("Price4"), C("Sale1"), C("Sale2"), C("Sale3"),
                          C("Sale4"), C("Cost"), L("Point"), L("Bonus"), T("EFind", 80),
                          T("TFind", 100), T("BarCode", 30) },
            Tail() });
    static const QStringList discountVersions { QStringLiteral("P.46 (Bar)"),
        QStringLiteral("P.47001 (Bar)"), QStringLiteral("P.62 (Bar)"),
        QStringLiteral("D.47 (Bar)") };
    if (discountVersions.contains(version)) return Join({ Head(), discountPrices, Tail() });
    if (version == QLatin1String("P.48 (Bar)")) {
        // the number again after PartNO, then the common columns from AKind on
        std::vector<Column> cols = Head();
        cols.insert(cols.begin() + 5, T("ShowPartNO", 40));
        return Join({ cols, discountPrices, Tail() });
    }
    return std::nullopt;
}

} // namespace storekit
