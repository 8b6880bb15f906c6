// New-part insertion into Pta_ stores: the rows of both versions (barcodes and model links for
// "P.68 (Bar)" only), name keys, suffixes of two and three digits, and what a failure leaves.
#include "common/mduDate.h"
#include "pta/pta.h"
#include "test_pta_fixture.h"

using namespace ptatest;

namespace {

using Member = void (*)(frmKordane&, int16_t&);

struct InsertCase {
    const char* name;
    const char* version;
    Member member;
    bool p68;
};

void PrintTo(const InsertCase& c, std::ostream* os) {
    *os << c.name;
}

// The statements of the group rebuild (the queue Pta_AltGX is not among them).
const QStringList kGroupMarks { QStringLiteral("Pta_AltG_") };

class PtaInsert : public ::testing::TestWithParam<InsertCase> {
protected:
    PtaStore& store(int brand, const std::vector<storekit::PtaPart>& parts = {}) {
        s_ = std::make_unique<PtaStore>(QLatin1String(GetParam().version), brand, parts);
        return *s_;
    }
    void run(int16_t n = 2) { GetParam().member(s_->fx.form, n); }
    bool p68() const { return GetParam().p68; }
    std::unique_ptr<PtaStore> s_;
};

TEST_P(PtaInsert, StagedPartAndNewReplacementGetTheirRows) {
    PtaStore& s = store(7);
    s.stage({ .kind = "0",
        .partNo = "S1234-56789",
        .alts = { { "0", "S1234-56790" } },
        .eName = "OIL FILTER",
        .models = { "RX9J 4X2" },
        .description = "DESC",
        .import = "JP",
        .price = "120.5",
        .disPrice = "'10%'",
        .sale = "100" });
    testenv::FoldedTrace trace(kGroupMarks);
    run();

    const QString date = QString::number(mduDate::RunDate());
    const QString own = s.T("Pta_%1");
    // the part row and price row of key k under its part key
    auto rows = [&](int k, const QString& key, const QString& match) {
        const QString id = QString::number(k);
        if (!p68())
            return QStringList { "Insert Into " + own + " Values( 1, 0, 0, 0, 0, 7, 0, 0, 0, 0, "
                    + id + ", 0, 1, 1, 1, 'แท้เบิกห้าง', '', '', '" + match + "', '" + key
                    + "', 'O', 'OILFILTER', 'OIL FILTER', 'O', 'OILFILTER', 'OIL FILTER', '', "
                      "'VURE', '', '', 120.5, '10%', 100, '', '', '', 0, 0, 0, 0, 0, '', 0, 0, "
                      "0, 0, "
                    + date + " )",
                s.T("Insert Into Pta_Alt_%1 Values( ") + id + ", 0, 7, 'แท้เบิกห้าง', '', '" + key
                    + "', 120.5, 100, 0, 0 )" };
        return QStringList { "Insert Into Pta_BarCode Values( " + id + ", 7, '" + key + "' )",
            "Insert Into " + own + " Values( 0, 0, 0, 0, 0, 0, 1, 0, 0, 7, 0, 0, 0, " + id
                + ", 0, 1, 1, 0, 'VURE', 'แท้', '', '" + key + "', '" + match + "', '" + key
                + "', 'O', 'OILFILTER', 'OIL FILTER', 'O', 'OILFILTER', 'OIL FILTER', 'DESC', "
                  "'', '', 'RX9J 4X2', 'JP', 1, 120.5, '10%', 0, 100, '', 0, '', '', 0, '', 0, "
                  "'', 0, 0, 0, 0, 0, 0, 0, 0, '', 0, 0, 0, 0, "
                + date + " )",
            s.T("Insert Into Pta_Alt_%1 Values( ") + id + ", 0, 7, 0, '" + key + "', '" + key
                + "', 'แท้', 120.5, 100, 0, 0 )" };
    };
    const QString staged
        = "Select Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, AKind_4, "
          "AltNO_4, AKind_5, AltNO_5, EName, TName, Model_1, Model_2, Model_3, Model_4, Model_5, "
          "Model_6, Model_7, Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, "
          "Price, DisPrice, Sale From PriceList Where BrandID = 7";
    const QString queue = staged + " Order By PartNO";
    const QString modelLookup
        = "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VURERX9J4X2' ";
    QStringList expected { "Select Count(PartNO) As Rec_Count From PriceList Where BrandID = 7",
        queue, staged + " And Kind = '0' And PartNO = 'S1234-56789'",
        "Select PartID From " + own + " Where FPartNO = 'S1234567890'", "<key>",
        "Select ENameID From " + own + " Where FEName = 'OILFILTER' ", "<key>",
        "Select TNameID From " + own + " Where FTName = 'OILFILTER' ", "<key>" };
    expected << rows(1, "S123456789-0", "S1234567890");
    if (p68())
        expected << modelLookup << "<key>"
                 << "Insert Into Pta_ModelID Values( 0, 7, 1, 'VURERX9J 4X2', 'RX9J4X2', 'RX9J "
                    "4X2', '', 0 )"
                 << "Insert Into Pta_BrandCar Values( 1, 7, 1, 'VURE', 'RX9J 4X2' )";
    expected << "Select PartID From " + own + " Where FPartNO = 'S1234567900'"
             << "<key>";
    expected << rows(2, "S123456790-0", "S1234567900");
    if (p68())
        expected << modelLookup
                 << "Select PartID From Pta_BrandCar Where PartID = 2 And BrandID = 7 And "
                    "ModelID = 1"
                 << "Insert Into Pta_BrandCar Values( 2, 7, 1, 'VURE', 'RX9J 4X2' )";
    expected << "<group>"
             << "Delete From PriceList Where BrandID = 7 And Kind = '0' And PartNO = 'S1234-56789'"
             << queue;
    EXPECT_LINES(trace.lines, expected);

    EXPECT_LINES(s.rows(s.T("Select PartID, AltID From Pta_AltG_%1 Order By PartID")),
        QStringList({ "1|2", "2|1" }));
    EXPECT_LINES(s.rows("Select PartID From Pta_BrandCar Order By PartID"),
        p68() ? QStringList({ "1", "2" }) : QStringList());
    EXPECT_LINES(s.rows("Select NameID, LastID From LastID Order By NameID"),
        QStringList(
            { "ENameID|1", p68() ? "ModelID|1" : "PartID|2", p68() ? "PartID|2" : "TNameID|1" })
            + (p68() ? QStringList { "TNameID|1" } : QStringList()));
    EXPECT_LINES(s.fx.window.qtyHistory, QStringList { "กำลังเพิ่มข้อมูลใหม่  VURE_2  (0)  100 %" });
    EXPECT_LINES(s.fx.window.partHistory, QStringList { "S123456789-0 - OIL FILTER   RX9J 4X2" });
    EXPECT_FALSE(s.fx.form.cnStore().inTransaction());
}

TEST_P(PtaInsert, NameKeysAreSharedAndPartsTheStoreHasAreNotWritten) {
    storekit::PtaPart belt = Part(5, "P1-A", "BELT");
    belt.eNameId = 9;
    PtaStore& s = store(42, { belt });
    // the staged part is known; its new replacement takes the names of the row in hand; a slot
    // with a kind but no number names no part
    s.stage({ .kind = "A",
        .partNo = "P1",
        .alts = { { "B", "P2" }, { "C", "" } },
        .eName = "BELT",
        .tName = "สายพาน" });
    s.stage({ .kind = "", .partNo = "P3", .eName = "BELT", .description = "O'RING", .price = "8" });
    run();

    EXPECT_LINES(s.rows(s.T("Select PartID, PartNO, FPartNO, ENameID, ChrEName, FEName, EName, "
                            "TNameID, ChrTName, FTName, TName, Price From Pta_%1 Order By PartID")),
        QStringList({ "5|P1-A|P1A|9|NULL|BELT|BELT|0|NULL|||0",
            "6|P2-B|P2B|9|B|BELT|BELT|1|ส|สายพาน|สายพาน|0",
            "7|P3|P3|9|B|BELT|BELT|2|B|BELT|BELT|8" }));
    EXPECT_LINES(s.rows(s.T("Select PartID, AltID From Pta_AltG_%1 Order By PartID")),
        QStringList({ "5|6", "6|5", "7|0" }));
    EXPECT_LINES(s.rows(s.T("Select AltID, BrandID, APrice From Pta_Alt_%1 Order By AltID")),
        QStringList({ "5|42|0", "6|42|0", "7|42|8" }));
    EXPECT_LINES(s.rows("Select PartID, BarCode From Pta_BarCode Order By PartID"),
        p68() ? QStringList({ "6|P2-B", "7|P3" }) : QStringList());
    // no models named: the new parts of "P.68 (Bar)" get the placeholder links
    EXPECT_LINES(s.rows("Select PartID, ModelID From Pta_Model Order By PartID"),
        p68() ? QStringList({ "6|0", "7|0" }) : QStringList());
    EXPECT_LINES(s.rows("Select PartNO From PriceList"), QStringList());
    // a quote in a text pasted as it stands is doubled, not fatal
    EXPECT_LINES(s.rows(s.T("Select Description From Pta_%1 Where PartID = 7")),
        QStringList { p68() ? "O'RING" : "" });
}

TEST_P(PtaInsert, FailureInOnePartKeepsThePartsCommittedBefore) {
    PtaStore& s = store(42);
    s.cn.Execute(s.T("CREATE TRIGGER refuse BEFORE INSERT ON Pta_%1 WHEN NEW.FPartNO = 'P3A' "
                     "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    for (const char* number : { "P1", "P2", "P3" })
        s.stage({ .kind = "A", .partNo = number, .eName = "X", .models = { "M" } });
    EXPECT_THROW(run(), rt::RunError);
    // what the UpDate handler does with the transaction in hand
    s.fx.form.cnStore().RollbackTrans();

    EXPECT_LINES(s.rows(s.T("Select PartID, PartNO From Pta_%1 Order By PartID")),
        QStringList({ "1|P1-A", "2|P2-A" }));
    EXPECT_LINES(
        s.rows(s.T("Select AltID From Pta_Alt_%1 Order By AltID")), QStringList({ "1", "2" }));
    EXPECT_LINES(s.rows("Select PartID From Pta_BarCode Order By PartID"),
        p68() ? QStringList({ "1", "2" }) : QStringList());
    EXPECT_LINES(s.rows("Select PartID, ModelID From Pta_BrandCar Order By PartID"),
        p68() ? QStringList({ "1|1", "2|1" }) : QStringList());
    EXPECT_LINES(s.rows(s.T("Select PartID, AltID From Pta_AltG_%1 Order By PartID")),
        QStringList({ "1|0", "2|0" }));
    EXPECT_LINES(s.rows("Select Kind, PartNO From PriceList"), QStringList { "A|P3" });
    EXPECT_LINES(s.rows("Select LastID From LastID Where NameID = 'PartID'"), QStringList { "2" });
}

TEST_P(PtaInsert, KeyAllocationFailureLeavesALoneGroupRow) {
    PtaStore& s = store(7);
    s.cn.Execute("Drop Table LastID");
    s.stage({ .kind = "A", .partNo = "P1", .eName = "X" });
    run();
    EXPECT_LINES(s.rows(s.T("Select PartID From Pta_%1")), QStringList());
    EXPECT_LINES(s.rows(s.T("Select PartID, AltID From Pta_AltG_%1")), QStringList { "0|0" });
    EXPECT_LINES(s.rows("Select PartNO From PriceList"), QStringList());
}

TEST_P(PtaInsert, BrandKeyTooLargeEndsTheRunBeforeAnyStatement) {
    // the store holds the bare tables an empty suffix would name
    PtaStore& s = store(p68() ? 1000 : 100);
    ASSERT_EQ(s.sfx, QString());
    s.stage({ .kind = "A", .partNo = "P1", .eName = "X" });
    testenv::FoldedTrace trace(kGroupMarks);
    EXPECT_THROW(run(), rt::RunError);
    EXPECT_LINES(trace.lines, QStringList());
    EXPECT_LINES(s.rows("Select PartID From Pta_"), QStringList());
    EXPECT_LINES(s.rows("Select PartNO From PriceList"), QStringList { "P1" });
}

INSTANTIATE_TEST_SUITE_P(Versions, PtaInsert,
    ::testing::Values(InsertCase { "P66", "P.66 (Bar)", pta::InsertNewPartsP66, false },
        InsertCase { "P68", "P.68 (Bar)", pta::InsertNewPartsP68, true }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
