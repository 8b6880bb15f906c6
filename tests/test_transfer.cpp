// Whole runs through the UpDate handler with a fake window: a price list of two numbered
// tables against a classic store of each version that holds some of the parts.
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>

using storekit::MakePriceRow;

namespace {

struct Rows {
    // every row of a query as "a|b|c" texts, in order
    static QStringList of(const QString& path, const QString& sql,
        const QString& password = QStringLiteral("KWZ730258")) {
        return testenv::QueryRows(path, sql, {}, password);
    }
};

struct RunCase {
    const char* version;
    bool sqlServer;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << testenv::ParamName(c.version, c.sqlServer);
}

class TransferRun : public ::testing::TestWithParam<RunCase> { };

TEST_P(TransferRun, UpdatesInsertsAndGroups) {
    const RunCase c = GetParam();
    const QString dir = testenv::TempDir();
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    const QString list = dir + QStringLiteral("/PriceList_VURE.mdb");
    storekit::ClassicPart known;
    known.partId = 1;
    known.kind = QStringLiteral("0");
    known.partNo = QStringLiteral("15601-87703");
    known.eName = QStringLiteral("OIL FILTER");
    known.tName = QStringLiteral("ไส้กรอง");
    known.price = 180;
    known.sale = 150;
    storekit::CreateClassicStore(store, QString::fromLatin1(c.version), 12, { known },
        c.sqlServer ? QString() : QStringLiteral("KWZ730258"));
    if (c.sqlServer) { // the stand-in of the server has no file password
        ado::Connection cn;
        storekit::OpenFile(cn, store);
        cn.Execute(QStringLiteral("CREATE TABLE StandInPassword (Pwd TEXT)"));
        cn.Execute(QStringLiteral("INSERT INTO StandInPassword VALUES ('KWZ730258')"));
    }
    storekit::CreatePriceList(list,
        { { 3,
              { MakePriceRow(QStringLiteral("0"), QStringLiteral("15601-87703"),
                    QStringLiteral("OIL FILTER NEW"), QString::fromUtf8("ไส้กรองน้ำมัน"), 195, 160, {},
                    QStringLiteral("HILUX")),
                  MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"), QStringLiteral("BELT'S"),
                      QString::fromUtf8("เข็มขัด"), 450, 0, { QString(), QStringLiteral("N-2") },
                      QStringLiteral("VIGO")) } },
            { 1,
                { MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"), QString(),
                    20, 15) } } },
        QStringLiteral("PLN394"));

    FormFixture fx;
    if (c.sqlServer)
        fx.useSqlServerStore(list, store);
    else
        fx.useDesktopStore(list, store);
    fx.form.cmdUpDate_Click();

    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_TRUE(fx.window.upDateEnabled);
    EXPECT_EQ(fx.window.pointer, win::Arrow);

    EXPECT_EQ(Rows::of(store,
                  QStringLiteral(
                      "Select PartID, Kind, PartNO, EName, TName, Model, Price, Sale, PartCode "
                      "From Pta12 Order By PartID")),
        (QStringList { QStringLiteral("1|0|15601-87703|OIL FILTER NEW|ไส้กรองน้ำมัน|HILUX|195|160|"),
            QStringLiteral("2||N-3|CAP|CAP||20|15|N-3"),
            QStringLiteral("3|1|N-1|BELT'S|เข็มขัด|VIGO|450|450|1-N-1"),
            QStringLiteral("4||N-2|BELT'S|เข็มขัด|VIGO|450|450|N-2") }))
        << c.version;
    EXPECT_EQ(Rows::of(store,
                  QStringLiteral("Select AltID, AKind, AltNO, APrice From Alt12 Order By AltID")),
        (QStringList { QStringLiteral("0|||0"), QStringLiteral("1|0|15601-87703|195"),
            QStringLiteral("2||N-3|20"), QStringLiteral("3|1|N-1|450"),
            QStringLiteral("4||N-2|450") }));
    EXPECT_EQ(
        Rows::of(store, QStringLiteral("Select PartID, AltID From AltG12 Order By PartID, AltID")),
        (QStringList { QStringLiteral("2|0"), QStringLiteral("3|4"), QStringLiteral("4|0"),
            QStringLiteral("4|3") }));
    EXPECT_EQ(Rows::of(store, QStringLiteral("Select NameID, LastID From LastID")),
        QStringList { QStringLiteral("Pta12|4") });
    EXPECT_TRUE(Rows::of(store, QStringLiteral("Select PartNO From PriceList")).isEmpty());
    EXPECT_EQ(fx.window.text(win::Box::txtQTY), QStringLiteral("กำลังตรวจสอบข้อมูล  VURE  100 %"));
    EXPECT_TRUE(fx.window.qtyHistory.contains(QStringLiteral("กำลังเปลี่ยนราคา  VURE_3  (1)  50 %")));
    EXPECT_TRUE(fx.window.qtyHistory.contains(QStringLiteral("กำลังเปลี่ยนราคา  VURE_1  (0)  100 %")));
    EXPECT_EQ(fx.window.grid().TextMatrix(1, 3), QString());
}

INSTANTIATE_TEST_SUITE_P(Versions, TransferRun,
    ::testing::Values(RunCase { "V.31", false }, RunCase { "V.32", false },
        RunCase { "V.41", false }, RunCase { "V.51", false }, RunCase { "V.61", false },
        RunCase { "P.42", false }, RunCase { "Ver 3.1 SQL", true }, RunCase { "V.33", false },
        RunCase { "V.33", true }),
    [](const auto& info) { return testenv::ParamName(info.param.version, info.param.sqlServer); });

} // namespace

namespace {

struct SmallRun : testenv::RunFiles {
    FormFixture fx;
    SmallRun() {
        storekit::ClassicPart known;
        known.partId = 1;
        known.kind = QStringLiteral("0");
        known.partNo = QStringLiteral("K-1");
        known.tName = QStringLiteral("เดิม");
        known.price = 100;
        storekit::CreateClassicStore(
            store, QStringLiteral("V.31"), 12, { known }, QStringLiteral("KWZ730258"));
        storekit::CreatePriceList(priceList,
            { { 1,
                  { MakePriceRow(QStringLiteral("0"), QStringLiteral("K-1"),
                        QStringLiteral("KNOWN"), QString::fromUtf8("เดิม"), 100),
                      MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"),
                          QString::fromUtf8("ฝา"), 20, 15, {}, QStringLiteral("VIGO")) } },
                { 2,
                    { MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"),
                        QStringLiteral("BELT"), QString(), 450, 0, { QStringLiteral("N-2") }) } } },
            QStringLiteral("PLN394"));
        fx.useDesktopStore(priceList, store);
    }
    void exec(const QString& sql) {
        ado::Connection cn;
        storekit::OpenFile(cn, store, QStringLiteral("KWZ730258"));
        cn.Execute(sql);
    }
    // Presses UpDate; the one message the run ends with.
    QString press() {
        fx.form.cmdUpDate_Click();
        EXPECT_EQ(fx.window.messages.size(), 1u);
        return fx.window.messages.empty() ? QString() : fx.window.messages.back().text;
    }
};

TEST(TransferFailure, FaultInTheMiddleKeepsCommittedPartsAndRollsBackThePartInHand) {
    SmallRun run;
    // the replacement part of the second table's row is refused by the store
    run.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Pta12 WHEN NEW.PartNO = 'N-2' "
                            "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_EQ(run.press(), QStringLiteral("ไม่สามรถบันทึกได้"));
    EXPECT_FALSE(run.fx.window.upDateEnabled);
    EXPECT_EQ(run.fx.window.pointer, win::ArrowHourglass);
    EXPECT_EQ(
        Rows::of(run.store, QStringLiteral("Select PartID, PartNO From Pta12 Order By PartID")),
        (QStringList { QStringLiteral("1|K-1"), QStringLiteral("2|N-3") }));
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select NameID, LastID From LastID")),
        QStringList { QStringLiteral("Pta12|2") });
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartNO From PriceList Order By PartNO")),
        (QStringList { QStringLiteral("N-1"), QStringLiteral("N-2") }));
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartID, AltID From AltG12")),
        QStringList { QStringLiteral("2|0") });
}

// A server session with NOCOUNT on reports no affected rows: the dequeue's guard must not take
// that for a row left in the queue. A dequeue known to remove nothing still stops the run.
TEST(TransferRowCounts, UnreportedCountsCompleteTheRunAKnownZeroStillStops) {
    {
        SmallRun run;
        testenv::WithheldRowCounts noCounts;
        EXPECT_EQ(run.press(), QStringLiteral("เสร็จแล้วจ้า"));
        EXPECT_EQ(
            Rows::of(run.store, QStringLiteral("Select PartID, PartNO From Pta12 Order By PartID")),
            (QStringList { QStringLiteral("1|K-1"), QStringLiteral("2|N-3"),
                QStringLiteral("3|N-1"), QStringLiteral("4|N-2") }));
        EXPECT_TRUE(Rows::of(run.store, QStringLiteral("Select PartNO From PriceList")).isEmpty());
    }
    SmallRun run;
    // the staged row is gone before its dequeue runs
    run.exec(QStringLiteral("CREATE TRIGGER gone AFTER INSERT ON Pta12 WHEN NEW.PartNO = 'N-3' "
                            "BEGIN DELETE FROM PriceList WHERE PartNO = 'N-3'; END"));
    EXPECT_EQ(run.press(), QStringLiteral("ไม่สามรถบันทึกได้"));
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartID, PartNO From Pta12")),
        QStringList { QStringLiteral("1|K-1") });
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartNO From PriceList")),
        QStringList { QStringLiteral("N-3") });
}

// With no count to go by, a dequeue that removes nothing shows in what the store still holds:
// the part in hand is undone and the run stops instead of inserting it again and again.
TEST(TransferRowCounts, UnreportedCountsAndADequeueThatRemovesNothingStopTheRun) {
    SmallRun run;
    // the store keeps the staged row through its own dequeue (the run makes the staging table)
    bool kept = false;
    ado::SetTraceHook([&](const QString& statement) {
        if (kept || !statement.startsWith(QLatin1String("Insert Into PriceList"))) return;
        kept = true;
        run.fx.form.cnStore().Execute(
            QStringLiteral("CREATE TRIGGER kept BEFORE DELETE ON PriceList WHEN OLD.PartNO = "
                           "'N-3' BEGIN SELECT RAISE(IGNORE); END"));
    });
    // bounds a run that would take the part again and again
    run.exec(QStringLiteral("CREATE TRIGGER again BEFORE INSERT ON AltG12 WHEN (SELECT Count(*) "
                            "FROM AltG12 WHERE PartID = NEW.PartID) >= 3 "
                            "BEGIN SELECT RAISE(ABORT, 'again'); END"));
    testenv::WithheldRowCounts noCounts;
    EXPECT_EQ(run.press(), QStringLiteral("ไม่สามรถบันทึกได้"));
    ado::SetTraceHook(nullptr);
    EXPECT_TRUE(kept);
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartID, PartNO From Pta12")),
        QStringList { QStringLiteral("1|K-1") });
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartNO From PriceList")),
        QStringList { QStringLiteral("N-3") });
}

TEST(TransferResidue, PartsLeftOutAreCollectedWalkedAgainAndListed) {
    SmallRun run;
    run.exec(QStringLiteral("Update LastID Set LastID = Null")); // no key can be allocated
    run.fx.form.cmdUpDate_Click();
    ASSERT_EQ(run.fx.window.messages.size(), 1u);
    EXPECT_EQ(run.fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    EXPECT_EQ(Rows::of(run.store, QStringLiteral("Select PartID From Pta12")),
        QStringList { QStringLiteral("1") });
    EXPECT_EQ(Rows::of(run.priceList,
                  QStringLiteral("Select Kind, PartNO From PriceListAll Order By PartNO"),
                  QStringLiteral("PLN394")),
        (QStringList { QStringLiteral("1|N-1"), QStringLiteral("|N-3") }));
    EXPECT_TRUE(
        run.fx.window.qtyHistory.contains(QStringLiteral("กำลังเปลี่ยนราคา  VURE_All  (0)  100 %")));
    const win::GridModel& g = run.fx.window.grid();
    auto row = [&](int r) {
        QStringList cells;
        for (int c = 1; c <= 7; ++c)
            cells << g.TextMatrix(r, c);
        return cells.join(QLatin1Char('|'));
    };
    EXPECT_EQ(row(1), QStringLiteral("1|New|N-3|ฝา|VIGO||20"));
    EXPECT_EQ(row(2), QStringLiteral("2|New|1 - N-1||||450"));
    EXPECT_EQ(row(3), QStringLiteral("||||||"));

    // a second run starts from a fresh grid: the same two rows, not four
    run.fx.form.cmdUpDate_Click();
    EXPECT_EQ(row(1), QStringLiteral("1|New|N-3|ฝา|VIGO||20"));
    EXPECT_EQ(row(3), QStringLiteral("||||||"));
    EXPECT_EQ(g.Rows(), 30);
}

} // namespace
