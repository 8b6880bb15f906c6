// Whole runs through the UpDate handler against Pta_ stores of both versions: update, staging,
// insertion, the residue of a part listed twice at two prices, pass 2 and the grid.
#include "support/lines.h"
#include "test_pta_fixture.h"

using namespace ptatest;
using storekit::MakePriceRow;

namespace {

struct RunCase {
    const char* version;
    bool odbc; // the store on the SQL server
};

std::string CaseName(const RunCase& c) {
    return std::string(QLatin1String(c.version) == QLatin1String("P.66 (Bar)") ? "P66" : "P68")
        + (c.odbc ? "Odbc" : "");
}

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << CaseName(c);
}

class PtaRun : public ::testing::TestWithParam<RunCase> { };

TEST_P(PtaRun, UpdatesInsertsAndListsWhatStillDiffers) {
    const QString version = QLatin1String(GetParam().version);
    const bool p68 = version == QLatin1String("P.68 (Bar)");
    storekit::PtaPart known = Part(1, "15601-87703-0", "OIL FILTER");
    known.tName = "ไส้กรอง";
    known.price = 180;
    known.sale = 150;
    PtaStore s(version, 7, { known }, QStringLiteral("KWZ730258"), GetParam().odbc);
    // N-3 stands in two tables at two prices: whichever comes last stays different
    storekit::CreatePriceList(s.priceList,
        { { 3,
              { MakePriceRow(
                    "0", "15601-87703", "OIL FILTER NEW", "ไส้กรองน้ำมัน", 195, 160, {}, "HILUX"),
                  MakePriceRow("1", "N-1", "BELT'S", "เข็มขัด", 450, 0, { QString(), "N-2" }, "VIGO"),
                  MakePriceRow("", "N-3", "CAP", "", 25) } },
            { 1, { MakePriceRow("", "N-3", "CAP", "", 20, 15) } } },
        QStringLiteral("PLN394"));
    s.fx.form.cmdUpDate_Click();

    ASSERT_EQ(s.fx.window.messages.size(), 1u);
    EXPECT_EQ(s.fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_TRUE(s.fx.window.upDateEnabled);

    EXPECT_LINES(s.rows(s.T("Select PartID, PartNO, FPartNO, EName, TName, Price, Sale From "
                            "Pta_%1 Order By PartID")),
        QStringList({ "1|15601-87703-0|15601877030|OIL FILTER NEW|ไส้กรองน้ำมัน|195|160",
            "2|N3|N3|CAP|CAP|20|15", "3|N1-1|N11|BELT S|เข็มขัด|450|450",
            "4|N2|N2|BELT S|เข็มขัด|450|450" }));
    EXPECT_LINES(s.rows(s.T("Select AltID, APrice, ASale From Pta_Alt_%1 Order By AltID")),
        QStringList({ "1|195|160", "2|20|15", "3|450|450", "4|450|450" }));
    EXPECT_LINES(s.rows(s.T("Select PartID, AltID From Pta_AltG_%1 Order By PartID, AltID")),
        QStringList({ "2|0", "3|4", "4|0", "4|3" }));
    EXPECT_LINES(s.rows("Select PartID, BarCode From Pta_BarCode Order By PartID"),
        p68 ? QStringList({ "2|N3", "3|N1-1", "4|N2" }) : QStringList());
    // the update links the parts it finds in both versions; only "P.68 (Bar)" links new parts
    EXPECT_LINES(s.rows("Select PartID, ModelID, Model From Pta_BrandCar Order By PartID"),
        QStringList({ "1|1|HILUX", "2|0|" })
            + (p68 ? QStringList({ "3|2|VIGO", "4|2|VIGO" }) : QStringList()));
    EXPECT_LINES(s.rows("Select PartNO From PriceList"), QStringList());

    // pass 2 put back the first table's price; the grid lists the second table's
    const win::GridModel& grid = s.fx.window.grid();
    EXPECT_LINES((QStringList { grid.TextMatrix(1, 3), grid.TextMatrix(1, 6), grid.TextMatrix(1, 7),
                     grid.TextMatrix(2, 3) }),
        QStringList({ "N-3", "20", "25", "" }));

    // a second run finds every part and model again; in "P.66 (Bar)" the update now links the
    // parts the first run inserted
    const QString models = "Select ModelID, FBModel From Pta_ModelID Order By ModelID";
    const QString parts = s.T("Select PartID, FPartNO From Pta_%1 Order By PartID");
    const QStringList modelsBefore = s.rows(models), partsBefore = s.rows(parts);
    EXPECT_LINES(modelsBefore,
        p68 ? QStringList({ "1|VUREHILUX", "2|VUREVIGO" }) : QStringList { "1|VUREHILUX" });
    s.fx.form.cmdUpDate_Click();
    ASSERT_EQ(s.fx.window.messages.size(), 2u);
    EXPECT_EQ(s.fx.window.messages[1].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_LINES(s.rows(models), QStringList({ "1|VUREHILUX", "2|VUREVIGO" }));
    EXPECT_LINES(s.rows(parts), partsBefore);
    EXPECT_LINES(s.rows("Select PartID, ModelID From Pta_BrandCar Order By PartID"),
        QStringList({ "1|1", "2|0", "3|2", "4|2" }));
}

INSTANTIATE_TEST_SUITE_P(Versions, PtaRun,
    ::testing::Values(RunCase { "P.66 (Bar)", false }, RunCase { "P.68 (Bar)", false },
        RunCase { "P.66 (Bar)", true }, RunCase { "P.68 (Bar)", true }),
    [](const auto& info) { return CaseName(info.param); });

} // namespace
