// Pta_-schema store tables as data: one column list per version, by position.
#include "pta_store.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"
#include "pta_groups.h"

#include <algorithm>

namespace storekit {

namespace {

bool isP66(const QString& version) {
    return rt::Trim(version) == QLatin1String("P.66 (Bar)");
}

// Columns from "name:type" items, types L (Long), C (Currency) or T<n> (Text(n)); a bare type
// is a column the statements address only by position, named by it.
std::vector<Column> columns(const QString& list) {
    std::vector<Column> out;
    for (const QString& item : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString type = item.section(QLatin1Char(':'), -1);
        QString name = item.contains(QLatin1Char(':'))
            ? item.section(QLatin1Char(':'), 0, 0)
            : QStringLiteral("Col%1").arg(out.size() + 1);
        if (type == QLatin1String("L"))
            out.push_back({ name, QStringLiteral("Long") });
        else if (type == QLatin1String("C"))
            out.push_back({ name, QStringLiteral("Currency") });
        else
            out.push_back({ name, Text(type.mid(1).toInt()) });
    }
    return out;
}

QString replaceSql(const QString& expr, const QString& from, const QString& to) {
    return QStringLiteral("replace(%1, %2, %3)").arg(expr, from, to);
}

// Two steps of the lookup key of a brand-and-model text, one generated column each (a single
// expression nests too deep for the parser). First the control characters go (cleaning keeps
// every second one of a run of them; all go here).
QString withoutControlsSql(const QString& column) {
    QString expr = replaceSql(column, QStringLiteral("char(127)"), QStringLiteral("''"));
    for (int c = 1; c < 21; ++c)
        expr = replaceSql(expr, QStringLiteral("char(%1)").arg(c), QStringLiteral("''"));
    return expr;
}

// Then quotes, commas, "*", blanks, "/" and "-", but the character right after a removed "*"
// stays, as cleaning leaves it alone.
QString squeezedSql(const QString& column) {
    const QStringList pairs { QStringLiteral("'**'"), QStringLiteral("'*'''"),
        QStringLiteral("'*,'") };
    const QStringList kept { QStringLiteral("'*'"), QStringLiteral("''''"), QStringLiteral("','") };
    // parked on private-use characters while the rest goes
    auto parked = [](int k) { return QStringLiteral("char(%1)").arg(0xE000 + k); };
    QString expr = column;
    for (int k = 0; k < pairs.size(); ++k)
        expr = replaceSql(expr, pairs[k], parked(k));
    for (const char* gone : { "'*'", "''''", "','", "' '", "'/'", "'-'" })
        expr = replaceSql(expr, QLatin1String(gone), QStringLiteral("''"));
    for (int k = 0; k < kept.size(); ++k)
        expr = replaceSql(expr, parked(k), kept[k]);
    return expr;
}

} // namespace

QString PtaSuffix(const QString& version, int brandId) {
    return isP66(version) ? mduValue::Pad2(brandId) : mduValue::Pad3(brandId);
}

std::vector<Column> PtaPartColumns(const QString& version) {
    if (isP66(version))
        return columns(QStringLiteral(
            "Active:L UpRec:L Locked:L Qty:L GroupID:L BrandID:L TypeID:L UnitID:L ShelfID:L "
            "SupplierID:L PartID:L ModelID:L ENameID:L TNameID:L Vat:L Genuine:T30 Location:T30 "
            "Remark:T60 FPartNO:T50 PartNO:T50 ChrEName:T1 FEName:T40 EName:T40 ChrTName:T1 "
            "FTName:T60 TName:T60 Description:T60 BrandName:T50 Model:T30 Import:T30 Price:C "
            "DisPrice:T30 Sale:C Unit:T20 Note:T60 Barcode:T50 L L L L L T60 L L L L RecDate:L"));
    return columns(QStringLiteral(
        "UpRec:L Locked:L Qty:L QtyMin:L QtyMax:L Reorder:L Active:L GroupID:L TypeID:L "
        "BrandID:L UnitID:L ShelfID:L SupplierID:L PartID:L ModelID:L ENameID:L TNameID:L "
        "ColorID:L BrandName:T50 Genuine:T30 Location:T30 PartNO:T50 FPartNO:T50 PartCode:T50 "
        "ChrEName:T1 FEName:T40 EName:T40 ChrTName:T1 FTName:T60 TName:T60 Description:T60 "
        "Remark:T60 Unit:T20 Model:T30 Import:T30 Vat:L Price:C DisPrice:T30 Cost:C Sale:C "
        "Note:T60 L T60 T60 L T60 L T60 L L L L L L L L T60 L L L L RecDate:L"));
}

std::vector<Column> PtaPriceColumns(const QString& version) {
    if (isP66(version))
        return columns(QStringLiteral("AltID:L AltNum:L BrandID:L Genuine:T30 Location:T30 "
                                      "AltNO:T50 APrice:C ASale:C L L"));
    return columns(QStringLiteral("AltID:L AltNum:L BrandID:L Flag:L AltNO:T50 PartCode:T50 "
                                  "Genuine:T30 APrice:C ASale:C L L"));
}

void CreatePtaBrandTables(ado::Connection& cn, const QString& version, int brandId) {
    const QString sfx = PtaSuffix(version, brandId);
    const QString part = QStringLiteral("Pta_") + sfx;
    CreateTable(cn, part, PtaPartColumns(version));
    for (const char* c : { "FPartNO", "FEName", "FTName" })
        cn.Execute(QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2)").arg(part, QLatin1String(c)));
    // the part and model keys are primary keys in a store: a key handed out twice is refused
    UniqueKey(cn, part, QStringLiteral("PartID"));
    CreateTable(cn, QStringLiteral("Pta_Alt_") + sfx, PtaPriceColumns(version));
    CreatePtaGroupTables(cn, sfx);
    if (HasTable(cn, QStringLiteral("Pta_ModelID"))) return;
    std::vector<Column> model = columns(QStringLiteral(
        "RecID:L BrandID:L ModelID:L BrandModel:T80 FModel:T40 Model:T30 Remark:T60 Active:L"));
    // not among the positional values: the store keeps them in step with the brand-and-model text
    const QString generated
        = QStringLiteral("Text COLLATE NOCASE GENERATED ALWAYS AS (%1) VIRTUAL");
    model.push_back({ QStringLiteral("BrandModelClean"),
        generated.arg(withoutControlsSql(QStringLiteral("BrandModel"))) });
    model.push_back({ QStringLiteral("FBModel"),
        generated.arg(squeezedSql(QStringLiteral("BrandModelClean"))) });
    CreateTable(cn, QStringLiteral("Pta_ModelID"), model);
    UniqueKey(cn, QStringLiteral("Pta_ModelID"), QStringLiteral("ModelID"));
    CreateTable(cn, QStringLiteral("Pta_BrandCar"),
        columns(QStringLiteral("PartID:L BrandID:L ModelID:L BrandCar:T50 Model:T30")));
    CreateTable(cn, QStringLiteral("Pta_Model"), columns(QStringLiteral("PartID:L ModelID:L")));
    CreateTable(cn, QStringLiteral("Pta_BarCode"),
        columns(QStringLiteral("PartID:L BrandID:L BarCode:T50")));
    CreateTable(cn, QStringLiteral("Pta_Doc"),
        columns(QStringLiteral("PartID:L EName:T40 TName:T60 Model:T30 DocNo:T20")));
    CreateTable(cn, QStringLiteral("DetailSaleRem"),
        columns(QStringLiteral("PartID:L Qty:L Discount:C Price:C")));
}

void AddPtaPart(ado::Connection& cn, const QString& version, int brandId, const PtaPart& p) {
    const QString sfx = PtaSuffix(version, brandId);
    const auto q = Quoted;
    const QString id = QString::number(p.partId);
    const QString b = QString::number(brandId);
    const QString price = rt::Currency::fromDouble(p.price).toText();
    const QString sale = rt::Currency::fromDouble(p.sale).toText();
    cn.Execute(
        QStringLiteral("Insert Into Pta_%1 (UpRec, PartID, BrandID, PartNO, FPartNO, "
                       "ENameID, FEName, EName, TNameID, FTName, TName, Model, "
                       "Description, Import, DisPrice, Price, Sale) Values( %2 )")
            .arg(sfx,
                QStringList { QString::number(p.upRec), id, b, q(p.partNo),
                    q(mduValue::MakeMatchKey(p.partNo)), QString::number(p.eNameId),
                    q(mduValue::MakeMatchKey(p.eName)), q(p.eName), QString::number(p.tNameId),
                    q(mduValue::MakeMatchKey(p.tName)), q(p.tName), q(p.model), q(p.description),
                    q(p.import), q(p.disPrice), price, sale }
                    .join(QStringLiteral(", "))));
    cn.Execute(QStringLiteral("Insert Into Pta_Alt_%1 (AltID, BrandID, AltNO, APrice, ASale) "
                              "Values( %2, %3, %4, %5, %6 )")
                   .arg(sfx, id, b, q(p.partNo), price, sale));
    cn.Execute(QStringLiteral("Insert Into Pta_Doc (PartID, EName, TName, Model) Values( %1, %2, "
                              "%3, %4 )")
                   .arg(id, q(p.eName), q(p.tName), q(p.model)));
}

void CreatePtaStore(const QString& path, const QString& version, int brandId,
    const std::vector<PtaPart>& parts, const QString& password) {
    StoreSetup setup;
    setup.version = version;
    setup.password = password;
    setup.ptaBrands
        = { { brandId, QStringLiteral("VURE") }, { brandId + 1, QStringLiteral("OTHER") } };
    int lastPart = 0, lastEName = 0, lastTName = 0;
    for (const auto& p : parts) {
        lastPart = std::max(lastPart, p.partId);
        lastEName = std::max(lastEName, p.eNameId);
        lastTName = std::max(lastTName, p.tNameId);
    }
    setup.counters = { { QStringLiteral("PartID"), lastPart },
        { QStringLiteral("ENameID"), lastEName }, { QStringLiteral("TNameID"), lastTName } };
    CreateStore(path, setup, [&](ado::Connection& cn) {
        CreatePtaBrandTables(cn, version, brandId);
        for (const auto& p : parts)
            AddPtaPart(cn, version, brandId, p);
    });
}

} // namespace storekit
