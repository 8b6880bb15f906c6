// storekit command: makes the sample store and price list the window opens on.
//   storekit sample <folder>   writes <folder>/E:/DataVelandor/Velandor.accdb and
//   PriceList_VURE.mdb,
//                              where the window's start-up paths point when started from <folder>.
#include "classic.h"
#include "prepare_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args[1] != QLatin1String("sample")) {
        std::fprintf(stderr, "usage: storekit sample <folder>\n");
        return 2;
    }
    try {
        const QString dir = QDir(args[2]).filePath(QStringLiteral("E:/DataVelandor"));
        QDir().mkpath(dir);
        std::vector<storekit::ClassicPart> parts;
        storekit::ClassicPart a;
        a.partId = 1;
        a.kind = QStringLiteral("0");
        a.partNo = QStringLiteral("15601-87703");
        a.eName = QStringLiteral("OIL FILTER");
        a.tName = QStringLiteral("ไส้กรองน้ำมันเครื่อง");
        a.price = 180;
        a.sale = 150;
        parts.push_back(a);
        storekit::ClassicPart b = a;
        b.partId = 2;
        b.partNo = QStringLiteral("90915-YZZE1");
        b.eName = QStringLiteral("FILTER ELEMENT");
        b.tName = QStringLiteral("กรองน้ำมัน");
        b.price = 220;
        b.sale = 0;
        parts.push_back(b);
        storekit::CreateClassicStore(dir + QStringLiteral("/Velandor.accdb"),
            QStringLiteral("V.31"), 12, parts, QStringLiteral("KWZ730258"));
        using storekit::MakePriceRow;
        storekit::PriceTables tables {
            { 1,
                { MakePriceRow(QStringLiteral("0"), QStringLiteral("15601-87703"),
                      QStringLiteral("OIL FILTER"), QString::fromUtf8("ไส้กรองน้ำมันเครื่อง"), 195, 160,
                      {}, QStringLiteral("HILUX")),
                    MakePriceRow(QStringLiteral("0"), QStringLiteral("17801-0C010"),
                        QStringLiteral("AIR FILTER"), QString::fromUtf8("ไส้กรองอากาศ"), 450, 0,
                        { QStringLiteral("17801-0C020") }, QStringLiteral("VIGO")) } },
            { 2,
                { MakePriceRow(QString(), QStringLiteral("90915-YZZE1"),
                    QStringLiteral("FILTER ELEMENT"), QString::fromUtf8("กรองน้ำมัน"), 230, 210) } }
        };
        storekit::CreatePriceList(
            dir + QStringLiteral("/PriceList_VURE.mdb"), tables, QStringLiteral("PLN394"));
        // the supplier's sheets that kordane-prepare BuildPriceList turns into PriceList_<n>
        using storekit::MakeRawRow;
        storekit::RawRow oil = MakeRawRow(QStringLiteral("0.00"), QStringLiteral("15601-87703"),
            QStringLiteral("OIL FILTER"), 199, 0, QString::fromUtf8("ไส้กรองน้ำมันเครื่อง"));
        oil.push_back({ QStringLiteral("Model_1"), QStringLiteral("HILUX") });
        storekit::RawRow air = MakeRawRow(QStringLiteral("0"), QStringLiteral("17801-0C010"),
            QStringLiteral("AIR FILTER"), 460, 0, QString::fromUtf8("ไส้กรองอากาศ"));
        air.push_back({ QStringLiteral("AltNO_1"), QStringLiteral("17801-0C020") });
        storekit::AddRawSheets(dir + QStringLiteral("/PriceList_VURE.mdb"),
            { { 1,
                  { oil,
                      MakeRawRow(QStringLiteral("0"), QStringLiteral("15601 87703"),
                          QStringLiteral("OIL FILTER"), 150, 0) } },
                { 2,
                    { air,
                        MakeRawRow(QString(), QStringLiteral("90915-YZZE1"),
                            QStringLiteral("FILTER ELEMENT"), 235, 215,
                            QString::fromUtf8("กรองน้ำมัน")) } } },
            QStringLiteral("PLN394"));
        std::printf("sample written to %s\n", qPrintable(dir));
    } catch (const rt::RunError& e) {
        std::fprintf(stderr, "storekit: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
