// Part-table layouts of "P.49 (Bar)", "P.52", "P.61 (Bar)", "P.64 (Bar)" and "P.65 (Bar)": see
// layouts_more.h. The named columns are those the update of each version reads and writes.
#include "layouts_more.h"

#include "platform/runtime/text.h"

#include <QStringList>

namespace storekit {

namespace {

// Columns from "Name type" items separated by ", ": type L (Long), C (Currency) or the width
// of a text.
std::vector<Column> columns(const QString& list) {
    std::vector<Column> out;
    for (const QString& item : list.split(QStringLiteral(", "))) {
        const QString name = item.section(QLatin1Char(' '), 0, 0);
        const QString type = item.section(QLatin1Char(' '), 1, 1);
        if (type == QLatin1String("L"))
            out.push_back({ name, QStringLiteral("Long") });
        else if (type == QLatin1String("C"))
            out.push_back({ name, QStringLiteral("Currency") });
        else
            out.push_back({ name, Text(type.toInt()) });
    }
    return out;
}

// A name-plus-model text holds the name, two blanks and up to 30 characters of models.
const QString kNamesWithModel = QStringLiteral(
    "EFind 80, EName 40, TFind 100, TName 60, Description 60, Model 30, Remark 60, Import 30, "
    "Price C, Cost C, Sale C, Price2 C, Qty0 L, Note 60, Qty1 L, Qty2 L, Qty3 L, Qty4 L");
const QString kSortedNames = QStringLiteral(
    "EName 40, IndTName 60, TName 60, Description 60, Model 30, Remark 60, Import 30, Unit 20, "
    "Price C, DisPrice 30, Sale C");

} // namespace

std::optional<std::vector<Column>> PartColumnsP49ToP65(const QString& version) {
    const QString v = rt::Trim(version);
    if (v == QLatin1String("P.52"))
        return columns(QStringLiteral("UpRec L, PartID L, Kind 1, FPartNO 40, PartNO 40, AKind 1, "
                                      "lAtNO 40, Location 30, ")
            + kNamesWithModel
            + QStringLiteral(", IndTName 60, Qty5 L, BrandID L, GroupID L, TypeID L, "
                             "PartCode 90, N1 L, N2 L, N3 L, N4 L, N5 L, N6 L"));
    if (v == QLatin1String("P.61 (Bar)"))
        return columns(QStringLiteral("UpRec L, PartID L, Kind 1, FPartNO 40, PartNO 40, AKind 1, "
                                      "lAtNO 40, Location 30, ")
            + kSortedNames
            + QStringLiteral(", Note2 60, Price2 C, Cost C, Locked L, Active L, Hidden L, "
                             "Note 60, Qty1 L, Qty2 L, Qty3 L, Qty4 L, Qty5 L, BrandID L, "
                             "GroupID L, TypeID L, PartCode 90, N1 L, N2 L, N3 L, N4 L, N5 L, "
                             "N6 L, N7 L"));
    if (v == QLatin1String("P.64 (Bar)") || v == QLatin1String("P.65 (Bar)"))
        return columns(QStringLiteral("UpRec L, Locked L, PartID L, Kind 1, FPartNO 40, "
                                      "PartNO 40, AKind 1, lAtNO 40, Location 30, BarCode 40, ")
            + kNamesWithModel
            + QStringLiteral(
                ", Qty5 L, Unit 20, Note2 60, GroupID L, TypeID L, N1 L, Remark2 60, Remark3 60"));
    if (v == QLatin1String("P.49 (Bar)"))
        return columns(QStringLiteral("UpRec L, PartID L, Kind 1, FPartNO 40, PartNO 40, "
                                      "BarCode 40, AKind 1, lAtNO 40, Location 30, ")
            + kSortedNames
            + QStringLiteral(", Note 60, Note2 60, Active L, Qty1 L, Qty2 L, Qty3 L, Qty4 L"));
    return std::nullopt;
}

} // namespace storekit
