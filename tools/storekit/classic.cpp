// Classic-schema layouts as data: one list of columns per layout family.
#include "classic.h"
#include "layouts_more.h"
#include "part_columns.h"

#include "platform/runtime/text.h"

namespace storekit {

using namespace cols;

namespace {

// The 39-column part table that the engine's layout fills ("V.31" and its siblings).
std::vector<Column> engineLayout(bool extraFlag) {
    std::vector<Column> prices { C("Price"), C("Cost"), C("Sale"), C("Price2"), B("Active"),
        B("Locked") };
    if (extraFlag) prices.push_back(B("Hidden"));
    return Join({ Head(), prices, Tail() });
}

} // namespace

std::vector<Column> ClassicPartColumns(const QString& version) {
    const QString v = rt::Trim(version);
    static const QStringList engineVersions { QStringLiteral("V.31"), QStringLiteral("V.32"),
        QStringLiteral("V.41"), QStringLiteral("V.51"), QStringLiteral("V.61"),
        QStringLiteral("P.42"), QStringLiteral("Ver 3.1 SQL") };
    if (engineVersions.contains(v)) return engineLayout(false);
    if (v == QLatin1String("V.33")) return engineLayout(true);
    for (auto more : { &PartColumnsV34ToV46, &PartColumnsP43ToP48, &PartColumnsP49ToP65 })
        if (auto cols = more(v)) return *cols;
    throw rt::RunError(QStringLiteral("no part-table layout for version ") + v);
}

std::vector<Column> ClassicAltColumns(const QString& version) {
    if (rt::Trim(version) == QLatin1String("P.49 (Bar)"))
        return { L("AltID"), L("AltNum"), T("AKind", 1), T("AltNO", 40), C("APrice"),
            C("APrice2") };
    return { L("AltID"), T("AKind", 1), T("AltNO", 40), C("APrice") };
}

void CreateClassicBrandTables(ado::Connection& cn, const QString& version, int brandId) {
    const QString b = QString::number(brandId);
    CreateTable(cn, QStringLiteral("Pta") + b, ClassicPartColumns(version));
    cn.Execute(QStringLiteral("CREATE INDEX Pta%1_PartNO ON Pta%1 (PartNO)").arg(b));
    // the part key is the table's primary key in a store: a key handed out twice is refused
    UniqueKey(cn, QStringLiteral("Pta") + b, QStringLiteral("PartID"));
    cn.Execute(QStringLiteral("CREATE INDEX Pta%1_FPartNO ON Pta%1 (FPartNO)").arg(b));
    CreateTable(cn, QStringLiteral("Alt") + b, ClassicAltColumns(version));
    cn.Execute(QStringLiteral("CREATE INDEX Alt%1_AltID ON Alt%1 (AltID)").arg(b));
    const bool six = ClassicAltColumns(version).size() == 6;
    cn.Execute(
        QStringLiteral("Insert Into Alt%1 Values( %2 )")
            .arg(b, six ? QStringLiteral("0, 0, '', '', 0, 0") : QStringLiteral("0, '', '', 0")));
    CreateTable(cn, QStringLiteral("AltG") + b, { L("ID"), L("PartID"), L("AltID") });
    cn.Execute(QStringLiteral("CREATE INDEX AltG%1_PartID ON AltG%1 (PartID)").arg(b));
    cn.Execute(QStringLiteral("CREATE INDEX AltG%1_AltID ON AltG%1 (AltID)").arg(b));
    CreateTable(cn, QStringLiteral("FacD") + b, { L("ID"), L("PartID"), L("FacID") });
    cn.Execute(QStringLiteral("CREATE INDEX FacD%1_PartID ON FacD%1 (PartID)").arg(b));
    if (!HasTable(cn, QStringLiteral("Fac"))) {
        CreateTable(cn, QStringLiteral("Fac"), { L("FacID"), T("FacName", 60) });
        CreateTable(cn, QStringLiteral("AltGX"), { L("PartID") });
        CreateTable(cn, QStringLiteral("MovementStock"),
            { L("PartID"), L("BrandID"), T("EName", 40), T("TName", 60), T("Model", 30),
                L("Qty") });
        CreateTable(cn, QStringLiteral("SPG"),
            { L("BrandID"), L("PartID"), T("EName", 40), T("TName", 60), T("Model", 30),
                C("Price") });
        CreateTable(cn, QStringLiteral("Price"),
            { L("PartID"), L("BrandID"), T("TName", 60), T("Model", 30) });
        CreateTable(cn, QStringLiteral("Sale"),
            { L("PartID"), L("BrandID"), T("TName", 60), T("Model", 30) });
        // the stores key these by part, as the update's statements do
        for (const char* t : { "MovementStock", "SPG", "Price", "Sale" })
            cn.Execute(
                QStringLiteral("CREATE INDEX %1_PartID ON %1 (PartID)").arg(QLatin1String(t)));
    }
}

void AddClassicPart(
    ado::Connection& cn, const QString& version, int brandId, const ClassicPart& p) {
    const QString b = QString::number(brandId);
    const auto q = Quoted;
    QString squeezed = p.partNo;
    squeezed.remove(QLatin1Char(' ')).remove(QLatin1Char('/')).remove(QLatin1Char('-'));
    const QString price = rt::Currency::fromDouble(p.price).toText();
    const QString sale = rt::Currency::fromDouble(p.sale).toText();
    // "P.45 (Bar)" keeps its prices in Price1 and Sale1
    bool price1 = false;
    for (const auto& c : ClassicPartColumns(version))
        price1 = price1 || c.name == QLatin1String("Price1");
    QStringList cols { QStringLiteral("UpRec"), QStringLiteral("PartID"), QStringLiteral("Kind"),
        QStringLiteral("FPartNO"), QStringLiteral("PartNO"), QStringLiteral("lAtNO"),
        QStringLiteral("EName"), QStringLiteral("TName"), QStringLiteral("Model"),
        QStringLiteral("Description"), QStringLiteral("Import"),
        price1 ? QStringLiteral("Price1") : QStringLiteral("Price"),
        price1 ? QStringLiteral("Sale1") : QStringLiteral("Sale"), QStringLiteral("BrandID") };
    QStringList vals { QString::number(p.upRec), QString::number(p.partId), q(p.kind), q(squeezed),
        q(p.partNo), q(p.lAtNo), q(p.eName), q(p.tName), q(p.model), q(p.description), q(p.import),
        price, sale, b };
    cols << QStringLiteral("DisPrice");
    vals << q(p.disPrice);
    // only the columns the version's layout has
    QStringList layout;
    for (const auto& c : ClassicPartColumns(version))
        layout << c.name;
    for (qsizetype i = cols.size() - 1; i >= 0; --i)
        if (!layout.contains(cols[i])) {
            cols.removeAt(i);
            vals.removeAt(i);
        }
    cn.Execute(QStringLiteral("Insert Into Pta%1 (%2) Values( %3 )")
                   .arg(b, cols.join(QStringLiteral(", ")), vals.join(QStringLiteral(", "))));
    const bool six = ClassicAltColumns(version).size() == 6;
    cn.Execute(six ? QStringLiteral("Insert Into Alt%1 Values( %2, 0, %3, %4, %5, 0 )")
                         .arg(b, QString::number(p.partId), q(p.kind), q(p.partNo), price)
                   : QStringLiteral("Insert Into Alt%1 Values( %2, %3, %4, %5 )")
                         .arg(b, QString::number(p.partId), q(p.kind), q(p.partNo), price));
    if (!p.withSideRows) return;
    const QString id = QString::number(p.partId);
    cn.Execute(QStringLiteral("Insert Into MovementStock Values( %1, %2, %3, %4, %5, 0 )")
                   .arg(id, b, q(p.eName), q(p.tName), q(p.model)));
    cn.Execute(QStringLiteral("Insert Into SPG Values( %1, %2, %3, %4, %5, %6 )")
                   .arg(b, id, q(p.eName), q(p.tName), q(p.model), price));
    cn.Execute(QStringLiteral("Insert Into Price Values( %1, %2, %3, %4 )")
                   .arg(id, b, q(p.tName), q(p.model)));
    cn.Execute(QStringLiteral("Insert Into Sale Values( %1, %2, %3, %4 )")
                   .arg(id, b, q(p.tName), q(p.model)));
}

void CreateClassicStore(const QString& path, const QString& version, int brandId,
    const std::vector<ClassicPart>& parts, const QString& password) {
    StoreSetup setup;
    setup.version = version;
    setup.password = password;
    setup.brands
        = { { brandId, QStringLiteral("VURE") }, { brandId + 1, QStringLiteral("OTHER") } };
    int last = 0;
    for (const auto& p : parts)
        last = std::max(last, p.partId);
    setup.counters = { { QStringLiteral("Pta%1").arg(brandId), last } };
    CreateStore(path, setup, [&](ado::Connection& cn) {
        CreateClassicBrandTables(cn, version, brandId);
        for (const auto& p : parts)
            AddClassicPart(cn, version, brandId, p);
    });
}

} // namespace storekit
