// A key counter that hands out a key already in use (its row deleted, or set back): the store
// refuses the row, the run ends with the failure message, the part in hand's transaction is
// undone with its counter changes, and no stored part's row is shared or changed.
#include "storekit/classic.h"
#include "support/lines.h"
#include "test_pta_fixture.h"

using storekit::MakePriceRow;

namespace {

struct CounterCase {
    const char* name;
    const char* change; // run on the store before UpDate
    QStringList counters; // LastID afterwards, by NameID
    bool odbc = false;
};

TEST(ReusedKeys, ClassicStoreRefusesAPartKeyInUse) {
    const CounterCase cases[] = {
        { "counter row deleted", "Delete From LastID", {} },
        { "counter set back", "Update LastID Set LastID = 0", { "Pta12|0" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testenv::RunFiles files;
        const QString pwd = QStringLiteral("KWZ730258");
        storekit::ClassicPart known;
        known.partId = 1;
        known.kind = QStringLiteral("0");
        known.partNo = QStringLiteral("K-1");
        known.eName = QStringLiteral("KNOWN");
        known.price = 100;
        storekit::CreateClassicStore(files.store, QStringLiteral("V.31"), 12, { known }, pwd);
        storekit::CreatePriceList(files.priceList,
            { { 1,
                { MakePriceRow(QStringLiteral("0"), QStringLiteral("K-1"), QStringLiteral("KNOWN"),
                      QString(), 100),
                    MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"), QString(),
                        20, 15, { QStringLiteral("N-4") }) } } },
            QStringLiteral("PLN394"));
        auto rows = [&](const char* sql) {
            return testenv::QueryRows(files.store, QLatin1String(sql), {}, pwd);
        };
        {
            ado::Connection cn;
            storekit::OpenFile(cn, files.store, pwd);
            cn.Execute(QLatin1String(c.change));
        }
        FormFixture fx;
        fx.useDesktopStore(files.priceList, files.store);
        fx.form.cmdUpDate_Click();

        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
        EXPECT_LINES(rows("Select PartID, PartNO, EName, Price From Pta12"),
            QStringList { "1|K-1|KNOWN|100" });
        EXPECT_LINES(rows("Select AltID, AltNO, APrice From Alt12 Where AltID > 0"),
            QStringList { "1|K-1|100" });
        EXPECT_LINES(rows("Select PartID, AltID From AltG12"), QStringList());
        EXPECT_LINES(rows("Select NameID, LastID From LastID"), c.counters);
        EXPECT_LINES(
            rows("Select PartNO From PriceList Order By PartNO"), QStringList({ "N-3", "N-4" }));
    }
}

TEST(ReusedKeys, PtaStoreRefusesAPartOrModelKeyInUse) {
    const CounterCase cases[] = {
        { "part counter deleted", "Delete From LastID Where NameID = 'PartID'",
            { "ENameID|1", "ModelID|1", "TNameID|1" } },
        { "part counter set back", "Update LastID Set LastID = 0 Where NameID = 'PartID'",
            { "ENameID|1", "ModelID|1", "PartID|0", "TNameID|1" } },
        { "model counter deleted", "Delete From LastID Where NameID = 'ModelID'",
            { "ENameID|1", "PartID|1", "TNameID|1" } },
        { "part counter deleted, SQL server", "Delete From LastID Where NameID = 'PartID'",
            { "ENameID|1", "ModelID|1", "TNameID|1" }, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storekit::PtaPart known = ptatest::Part(1, "K-1-0", "KNOWN");
        known.tName = "เดิม";
        known.eNameId = known.tNameId = 1;
        known.price = 100;
        ptatest::PtaStore s(QStringLiteral("P.68 (Bar)"), 7, { known }, {}, c.odbc);
        s.cn.Execute(QStringLiteral("Insert Into Pta_ModelID (RecID, BrandID, ModelID, "
                                    "BrandModel, FModel, Model, Remark, Active) Values( 0, 7, 1, "
                                    "'VUREHILUX', 'HILUX', 'HILUX', '', 0 )"));
        s.cn.Execute(QStringLiteral("Insert Into LastID Values( 'ModelID', 1 )"));
        s.cn.Execute(QLatin1String(c.change));
        storekit::CreatePriceList(s.priceList,
            { { 1,
                { MakePriceRow("0", "K-1", "KNOWN", "เดิม", 100, 0, {}, "HILUX"),
                    MakePriceRow("", "N-3", "CAP", "ฝา", 20, 15, {}, "VIGO") } } },
            QStringLiteral("PLN394"));
        s.fx.form.cmdUpDate_Click();

        ASSERT_EQ(s.fx.window.messages.size(), 1u);
        EXPECT_EQ(s.fx.window.messages[0].text, kFailedMessage);
        EXPECT_LINES(s.rows(s.T("Select PartID, PartNO, EName, Price From Pta_%1")),
            QStringList { "1|K-1-0|KNOWN|100" });
        EXPECT_LINES(s.rows(s.T("Select AltID, AltNO, APrice From Pta_Alt_%1")),
            QStringList { "1|K-1-0|100" });
        EXPECT_LINES(s.rows("Select PartID From Pta_BarCode"), QStringList());
        EXPECT_LINES(
            s.rows("Select ModelID, BrandModel From Pta_ModelID"), QStringList { "1|VUREHILUX" });
        EXPECT_LINES(s.rows("Select PartID, ModelID From Pta_BrandCar Order By PartID"),
            QStringList { "1|1" });
        EXPECT_LINES(s.rows("Select NameID, LastID From LastID Order By NameID"), c.counters);
        EXPECT_LINES(s.rows("Select PartNO From PriceList"), QStringList { "N-3" });
    }
}

} // namespace
