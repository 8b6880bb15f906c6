// The sample store and price list.
#include "sample.h"

#include "classic.h"
#include "prepare_tables.h"

#include <QDir>

namespace storekit {

namespace {

ClassicPart storePart(int id, const char* kind, const char* partNo, const char* eName,
    const QString& tName, double price, double sale) {
    ClassicPart p;
    p.partId = id;
    p.kind = QLatin1String(kind);
    p.partNo = QLatin1String(partNo);
    p.eName = QLatin1String(eName);
    p.tName = tName;
    p.price = price;
    p.sale = sale;
    return p;
}

void writeSampleFiles(const QString& store, const QString& priceList) {
    CreateClassicStore(store, QStringLiteral("V.31"), 12,
        { storePart(
              1, "0", "15601-87703", "OIL FILTER", QStringLiteral("ไส้กรองน้ำมันเครื่อง"), 180, 150),
            storePart(2, "0", "90915-YZZE1", "FILTER ELEMENT", QStringLiteral("กรองน้ำมัน"), 220, 0),
            storePart(3, "1", "04465-0K240", "BRAKE PAD", QStringLiteral("ผ้าเบรกหน้า"), 1200, 0),
            storePart(
                4, "", "48815-0K020", "STABILIZER BUSH", QStringLiteral("ยางกันโคลง"), 85, 0) },
        kSampleStorePassword);
    const PriceTables tables {
        { 1,
            { MakePriceRow(QStringLiteral("0"), QStringLiteral("15601-87703"),
                  QStringLiteral("OIL FILTER"), QStringLiteral("ไส้กรองน้ำมันเครื่อง"), 195, 160, {},
                  QStringLiteral("HILUX")),
                MakePriceRow(QString(), QStringLiteral("04465-0K240"), QStringLiteral("BRAKE PAD"),
                    QStringLiteral("ผ้าเบรกหน้า"), 1250, 0, {}, QStringLiteral("VIGO")),
                MakePriceRow(QStringLiteral("0"), QStringLiteral("17801-0C010"),
                    QStringLiteral("AIR FILTER"), QStringLiteral("ไส้กรองอากาศ"), 450, 0,
                    { QStringLiteral("17801-0C020") }, QStringLiteral("VIGO")),
                MakePriceRow(QString(), QStringLiteral("48815-0K020"),
                    QStringLiteral("STABILIZER BUSH"), QStringLiteral("ยางกันโคลง"), 90, 0, {},
                    QStringLiteral("FORTUNER")) } },
        { 2,
            { MakePriceRow(QStringLiteral("1"), QStringLiteral("04465-0K240"),
                  QStringLiteral("BRAKE PAD"), QStringLiteral("ผ้าเบรกหน้า"), 1290, 0, {},
                  QStringLiteral("VIGO")),
                MakePriceRow(QString(), QStringLiteral("48815-0K020"),
                    QStringLiteral("STABILIZER BUSH"), QStringLiteral("ยางกันโคลง"), 95, 0, {},
                    QStringLiteral("FORTUNER")),
                MakePriceRow(QString(), QStringLiteral("90915-YZZE1"),
                    QStringLiteral("FILTER ELEMENT"), QStringLiteral("กรองน้ำมัน"), 230, 210) } }
    };
    CreatePriceList(priceList, tables, kSamplePriceListPassword);
    // the supplier's sheets that kordane-prepare BuildPriceList turns into PriceList_<n>
    RawRow oil = MakeRawRow(QStringLiteral("0.00"), QStringLiteral("15601-87703"),
        QStringLiteral("OIL FILTER"), 199, 0, QStringLiteral("ไส้กรองน้ำมันเครื่อง"));
    oil.push_back({ QStringLiteral("Model_1"), QStringLiteral("HILUX") });
    RawRow air = MakeRawRow(QStringLiteral("0"), QStringLiteral("17801-0C010"),
        QStringLiteral("AIR FILTER"), 460, 0, QStringLiteral("ไส้กรองอากาศ"));
    air.push_back({ QStringLiteral("AltNO_1"), QStringLiteral("17801-0C020") });
    AddRawSheets(priceList,
        { { 1,
              { oil,
                  MakeRawRow(QStringLiteral("0"), QStringLiteral("15601 87703"),
                      QStringLiteral("OIL FILTER"), 150, 0) } },
            { 2,
                { air,
                    MakeRawRow(QString(), QStringLiteral("90915-YZZE1"),
                        QStringLiteral("FILTER ELEMENT"), 235, 215,
                        QStringLiteral("กรองน้ำมัน")) } } },
        kSamplePriceListPassword);
}

} // namespace

QString WriteSample(const QString& folder, bool replace) {
    const QString dir = QDir(folder).filePath(QStringLiteral("E:/DataVelandor"));
    WriteFiles(
        { dir + QStringLiteral("/Velandor.accdb"), dir + QStringLiteral("/PriceList_VURE.mdb") },
        replace, [](const QStringList& staged) { writeSampleFiles(staged[0], staged[1]); });
    return dir;
}

} // namespace storekit
