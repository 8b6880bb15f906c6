// Part-table layouts of "V.34", "V.42", "V.43", "V.45" and "V.46 (Bar)": see layouts_more.h.
#include "layouts_more.h"
#include "part_columns.h"

namespace storekit {

using namespace cols;

std::optional<std::vector<Column>> PartColumnsV34ToV46(const QString& version) {
    if (version == QLatin1String("V.34"))
        return Join({ Head(),
            { C("Price"), C("Cost"), C("Sale"), C("Price2"), C("Price3"), C("Price4"), C("Price5"),
                L("MainPart"), L("PriceDiffers") },
            Tail() });
    if (version == QLatin1String("V.42"))
        return Join({ Head(),
            { C("Price"), C("Cost"), C("Sale"), C("Price2"), C("Price3"), C("Price4"), B("Active"),
                B("Locked") },
            Tail() });
    if (version == QLatin1String("V.43"))
        return Join({ Head(),
            { C("Price"), C("Cost"), C("Sale"), C("Price2"), C("Price3"), C("Price4"), C("Price5"),
                B("Active"), B("Locked") },
            Tail() });
    if (version == QLatin1String("V.45"))
        return Join({ { L("UpRec"), L("PartID"), T("Kind", 1), T("FPartNO", 40), T("PartNO", 40),
                          T("AKind", 1), T("lAtNO", 40), T("Location", 30), T("EName", 40),
                          T("IndTName", 60), T("TName", 60), T("Detail", 60), T("Model", 30),
                          T("Description", 60), T("Remark", 60), T("Import", 30), T("Unit", 20),
                          C("Price"), C("Cost"), C("Sale"), C("Price2"), B("Active"), B("Locked") },
            Tail() });
    if (version == QLatin1String("V.46 (Bar)"))
        return Join({ Head(),
            { C("Price"), C("Cost"), C("Sale"), C("Price2"), B("Active"), B("Locked"),
                T("BarCode", 30) },
            Tail(), { L("RecDate") } });
    return std::nullopt;
}

} // namespace storekit
