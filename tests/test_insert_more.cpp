// New-part insertion for the classic versions from "V.34" to "P.48 (Bar)": the exact part rows
// of each version, drains through the version dispatch, whole runs through the UpDate handler,
// and what bad input gets.
#include "app/frmKordane.h"
#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/staged_parts.h"

#include <gtest/gtest.h>

using storekit::MakePriceRow;

namespace {

constexpr int kBrand = 12;

// A classic store with brand 12 (its part table built for tableVersion, its System text
// version) and a form whose settings point at it.
class Store {
public:
    Store(const QString& version, const std::vector<storekit::ClassicPart>& parts = {},
        bool odbc = false, QString tableVersion = {}) {
        if (tableVersion.isEmpty()) tableVersion = version;
        storekit::CreateClassicStore(path, tableVersion, kBrand, parts);
        storekit::OpenFile(cn, path);
        cn.Execute(QStringLiteral("Update System Set Ver = ") + storekit::Quoted(version));
        fx.useStore(list, path, kBrand, version, odbc);
    }

    void stage(const Staged& s) { StageRow(cn, kBrand, s); }
    QStringList rows(const QString& columns, const QString& rest) {
        return QueryRows(cn, columns, rest);
    }
    QStringList groups() { return rows("PartID, AltID", "AltG12 Order By PartID, AltID"); }
    QStringList queue() { return rows("Kind, PartNO", "PriceList Order By PartNO, Kind"); }
    QStringList counter() { return rows("LastID", "LastID Where NameID = 'Pta12'"); }

    // The insertion dispatch, as run control calls it after a price-list table.
    void insert(int16_t n = 1) { fx.form.InsertNewParts(n); }

    QString dir = testenv::TempDir();
    QString path = dir + QStringLiteral("/Velandor.accdb");
    QString list = dir + QStringLiteral("/PriceList_VURE.mdb");
    FormFixture fx;
    ado::Connection cn;
};

// The run date of the V.46 rows: 10 December 2026 is 10/12/2569 in the Buddhist era.
class FixedClock {
public:
    FixedClock() {
        rt::SetClock([] { return QDate(2026, 12, 10); });
    }
    ~FixedClock() { rt::SetClock({}); }
};

// The statements of the part and code rows (the group's left out), as the store receives them.
QStringList PartStatements(const testenv::Trace& trace) {
    return testenv::StartingWith(trace.statements,
        { "Select PartID From Pta12 ", "Insert Into Pta12 ", "Insert Into Alt12 ",
            "Delete From PriceList ", "Delete From Alt12 " });
}

// ---- The part rows of each version, statement for statement ----------------------------

struct GoldenCase {
    const char* version;
    bool squeezed; // parts are found by FPartNO
    QString mainRow, replacementRow;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.version;
}

std::vector<GoldenCase> GoldenCases() {
    // the Thai sort key, then the Thai name
    const QString names = QStringLiteral("'O''RING', 'หแวนลูกสูบ', 'แหวนลูกสูบ'");
    const QString mainHead = "0, 41, 'A', '', 'P-1 2', 'B', 'N/5', '', " + names
        + ", 'DESC', 'M1, M3', '', 'JP', '', ";
    const QString altHead
        = "0, 42, 'B', '', 'N/5', '', '', '', " + names + ", '', 'M1, M3', '', '', '', ";
    const QString mainTail = "'', 0, 0, 0, 0, 0, 12, 0, 0, 'A-P-1 2', 0, 0, 0, 0, 0, 0, 0";
    const QString altTail = "'', 0, 0, 0, 0, 0, 12, 0, 0, 'B-N/5', 0, 0, 0, 0, 0, 0, 0";
    auto same = [&](const char* version, const char* prices) {
        return GoldenCase { version, false, mainHead + prices + mainTail,
            altHead + prices + altTail };
    };
    const char* v43 = "125.5, 0, 100, 0, 0, 0, 0, True, False, ";
    const char* p46 = "125.5, '5%', 100, '', 0, 0, 0, True, False, ";
    return {
        { "V.34", false, mainHead + "125.5, 0, 100, 0, 0, 0, 0, 1, 1, " + mainTail,
            altHead + "125.5, 0, 100, 0, 0, 0, 0, 0, 1, " + altTail },
        same("V.42", "125.5, 0, 100, 0, 0, 0, True, False, "),
        same("V.43", v43),
        { "V.45", false,
            "0, 41, 'A', '', 'P-1 2', 'B', 'N/5', '', " + names
                + ", '', 'M1, M3', 'DESC', '', 'JP', '', 125.5, 0, 100, 0, True, False, "
                + mainTail,
            "0, 42, 'B', '', 'N/5', '', '', '', " + names
                + ", '', 'M1, M3', '', '', '', '', 125.5, 0, 100, 0, True, False, " + altTail },
        { "V.46 (Bar)", false,
            mainHead + "125.5, 0, 100, 0, True, False, '', " + mainTail + ", 25691210",
            altHead + "125.5, 0, 100, 0, True, False, '', " + altTail + ", 25691210" },
        same("P.43", "125.5, 0, 0, 0, 100, 0, 0, 0, True, False, "),
        same("P.44 (Bar)", v43),
        { "P.45 (Bar)", true,
            "0, 41, 'A', 'P12', 'P-1 2', 'B', 'N/5', '', 'P-1 2', " + names
                + ", 'DESC', 'M1, M3', '', 'JP', 125.5, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, '', '', "
                  "'', "
                + mainTail,
            "0, 42, 'B', 'N5', 'N/5', '', '', '', 'N/5', " + names
                + ", '', 'M1, M3', '', '', 125.5, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, '', '', '', "
                + altTail },
        same("P.46 (Bar)", p46),
        same("P.47001 (Bar)", p46),
        same("P.62 (Bar)", p46),
        same("D.47 (Bar)", p46),
        { "P.48 (Bar)", true,
            "0, 41, 'A', 'P12', 'P-1 2', 'P-1 2', 'B', 'N/5', '', " + names
                + ", 'DESC', 'M1, M3', '', 'JP', '', " + p46 + mainTail,
            "0, 42, 'B', 'N5', 'N/5', 'N/5', '', '', '', " + names + ", '', 'M1, M3', '', '', '', "
                + p46 + altTail },
    };
}

class PartRowStatements : public ::testing::TestWithParam<GoldenCase> { };

// One staged part with two replacement numbers, a new one and one the store has.
TEST_P(PartRowStatements, MainAndReplacementRow) {
    const GoldenCase& c = GetParam();
    FixedClock clock;
    Store store(QLatin1String(c.version), { StoredPart(40, "C", "S 3") });
    store.stage({ .kind = "A",
        .partNo = "P-1 2",
        .alts = { { "B", "N/5" }, { "C", "S 3" } },
        .eName = "O'RING",
        .tName = QStringLiteral("แหวนลูกสูบ"),
        .models = { "M1", "", " M3 " },
        .description = "DESC",
        .import = "JP",
        .price = "125.5",
        .disPrice = "' 5% '",
        .sale = "100" });
    testenv::Trace trace;
    store.insert();

    auto lookup = [&](const char* kind, const char* number, const char* squeezed) {
        QString where = QStringLiteral("Select PartID From Pta12 Where ");
        if (!c.squeezed || QLatin1String(kind) == QLatin1String("A"))
            where += QStringLiteral("Kind = '%1' And ").arg(QLatin1String(kind));
        return where
            + (c.squeezed ? QStringLiteral("FPartNO = '%1'").arg(QLatin1String(squeezed))
                          : QStringLiteral("PartNO = '%1'").arg(QLatin1String(number)));
    };
    EXPECT_LINES(PartStatements(trace),
        QStringList({ lookup("A", "P-1 2", "P12"), "Insert Into Pta12 Values( " + c.mainRow + " )",
            "Insert Into Alt12 Values( 41, 'A', 'P-1 2', 125.5 )", lookup("B", "N/5", "N5"),
            "Insert Into Pta12 Values( " + c.replacementRow + " )",
            "Insert Into Alt12 Values( 42, 'B', 'N/5', 125.5 )", lookup("C", "S 3", "S3"),
            "Delete From PriceList Where BrandID = 12 And Kind = 'A' And PartNO = 'P-1 2'",
            "Delete From Alt12 Where AltID = 0", "Insert Into Alt12 Values( 0, '', '', 0 )" }));
    // the store's part table takes the rows as they are
    EXPECT_LINES(store.rows("PartID, Kind, PartNO", "Pta12 Order By PartID"),
        QStringList({ "40|C|S 3", "41|A|P-1 2", "42|B|N/5" }));
    EXPECT_LINES(
        store.groups(), QStringList({ "40|41", "40|42", "41|40", "41|42", "42|40", "42|41" }));
}

INSTANTIATE_TEST_SUITE_P(Versions, PartRowStatements, ::testing::ValuesIn(GoldenCases()),
    [](const auto& info) { return testenv::ParamName(info.param.version); });

// ---- Drains through the dispatch: keys, groups, placeholder rows, squeezed lookups -------

struct VersionCase {
    const char* version;
    bool squeezed;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << testenv::ParamName(c.version);
}

class Drain : public ::testing::TestWithParam<VersionCase> { };

TEST_P(Drain, KeysGroupsAndPlaceholderRows) {
    const VersionCase& c = GetParam();
    FixedClock clock;
    Store store(QLatin1String(c.version), { StoredPart(40, "C", "S 3") });
    // "S/3" and "S-3" squeeze to the stored part's "S3"
    store.stage({ .kind = "A", .partNo = "P-1", .alts = { { "X", "S/3" } }, .eName = "RING" });
    store.stage({ .kind = "", .partNo = "S-3", .eName = "BOLT" });
    store.insert(4);

    if (c.squeezed) {
        EXPECT_LINES(store.rows("PartID, Kind, PartNO, FPartNO, EName", "Pta12 Order By PartID"),
            QStringList({ "40|C|S 3|S3|OLD", "41|A|P-1|P1|RING" }));
        // the stored part met again as a staged part keeps its group and gets its lone row
        EXPECT_LINES(store.groups(), QStringList({ "40|0", "40|41", "41|40" }));
        EXPECT_LINES(store.counter(), QStringList { "41" });
    } else {
        EXPECT_LINES(store.rows("PartID, Kind, PartNO, FPartNO, EName", "Pta12 Order By PartID"),
            QStringList(
                { "40|C|S 3|S3|OLD", "41|A|P-1||RING", "42|X|S/3||RING", "43||S-3||BOLT" }));
        EXPECT_LINES(store.groups(), QStringList({ "41|42", "42|41", "43|0" }));
        EXPECT_LINES(store.counter(), QStringList { "43" });
    }
    EXPECT_LINES(store.rows("AltID, AKind, AltNO", "Alt12 Where AltID = 0"), QStringList { "0||" });
    EXPECT_LINES(store.queue(), QStringList());
    EXPECT_LINES(store.fx.window.qtyHistory,
        QStringList({ "กำลังเพิ่มข้อมูลใหม่  VURE_4  (1)  50 %", "กำลังเพิ่มข้อมูลใหม่  VURE_4  (0)  100 %" }));
    EXPECT_FALSE(store.fx.form.cnStore().inTransaction());
}

const VersionCase kVersions[] = { { "V.34", false }, { "V.42", false }, { "V.43", false },
    { "V.45", false }, { "V.46 (Bar)", false }, { "P.43", false }, { "P.44 (Bar)", false },
    { "P.45 (Bar)", true }, { "P.46 (Bar)", false }, { "P.47001 (Bar)", false },
    { "P.62 (Bar)", false }, { "D.47 (Bar)", false }, { "P.48 (Bar)", true } };

INSTANTIATE_TEST_SUITE_P(Versions, Drain, ::testing::ValuesIn(kVersions),
    [](const auto& info) { return testenv::ParamName(info.param.version); });

TEST(DrainP48, FirstSlotTakesANegativeKey) {
    struct Case {
        const char* version;
        QStringList parts, codes;
    };
    const Case cases[] = {
        { "P.48 (Bar)", { "-3|B|N-1" }, { "-3|B|N-1" } },
        { "P.46 (Bar)", {}, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        Store store(QLatin1String(c.version));
        // the counter below -1: the staged part gets -4, slot 1 -3 and slot 2 -2
        store.cn.Execute("Update LastID Set LastID = -5 Where NameID = 'Pta12'");
        store.stage({ .kind = "A",
            .partNo = "P-1",
            .alts = { { "B", "N-1" }, { "C", "N-2" } },
            .eName = "X" });
        store.insert();
        EXPECT_LINES(store.rows("PartID, Kind, PartNO", "Pta12"), c.parts);
        EXPECT_LINES(store.rows("AltID, AKind, AltNO", "Alt12 Where AltID <> 0"), c.codes);
        EXPECT_LINES(store.queue(), QStringList());
    }
}

// Prices that differ by the smallest amount a currency holds still differ; the flag is the
// staged part's in its main row and in the rows of its replacement parts.
TEST(DrainV34, PriceDiffersFlag) {
    struct Case {
        const char* price;
        const char* sale;
        QStringList rows; // PartID, main-row flag, price-differs flag
    };
    const Case cases[] = {
        { "100", "100", { "1|1|0", "2|0|0" } },
        { "100.0001", "100", { "1|1|1", "2|0|1" } },
        { "100", "100.0001", { "1|1|1", "2|0|1" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.price) + " " + c.sale);
        Store store(QStringLiteral("V.34"));
        store.stage({ .kind = "A",
            .partNo = "P-1",
            .alts = { { "B", "N-1" } },
            .eName = "X",
            .price = QLatin1String(c.price),
            .sale = QLatin1String(c.sale) });
        store.insert();
        EXPECT_LINES(store.rows("PartID, MainPart, PriceDiffers", "Pta12 Order By PartID"), c.rows);
    }
}

// The run date is taken once the store is open again, not before the reconnection.
TEST(DrainV46, RunDateOfTheReopenedStore) {
    Store store(QStringLiteral("V.46 (Bar)"));
    frmKordane& form = store.fx.form;
    ASSERT_NE(form.cnStore().State(), 1);
    struct RestoreClock {
        ~RestoreClock() { rt::SetClock({}); }
    } restore;
    rt::SetClock(
        [&form] { return form.cnStore().State() == 1 ? QDate(2026, 12, 10) : QDate(2026, 12, 9); });
    store.stage({ .kind = "A", .partNo = "P-1", .eName = "X" });
    store.insert();
    EXPECT_LINES(store.rows("PartID, RecDate", "Pta12"), QStringList { "1|25691210" });
}

// ---- Whole runs through the UpDate handler ----------------------------------------------

struct RunCase {
    const char* version;
    bool odbc;
    const char* extraColumns; // the version's own columns, checked beside the common ones
    QStringList extras; // their values in the four part rows
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << testenv::ParamName(c.version, c.odbc);
}

class HandlerRun : public ::testing::TestWithParam<RunCase> { };

TEST_P(HandlerRun, UpdatesInsertsAndGroups) {
    const RunCase& c = GetParam();
    FixedClock clock;
    storekit::ClassicPart known = StoredPart(1, "0", "15601-87703");
    known.eName = QStringLiteral("OIL FILTER");
    known.price = 180;
    known.sale = 150;
    known.withSideRows = true;
    Store store(QLatin1String(c.version), { known }, c.odbc);
    PriceRow oil = MakePriceRow(QStringLiteral("0"), QStringLiteral("15601-87703"),
        QStringLiteral("OIL FILTER NEW"), QStringLiteral("ไส้กรองน้ำมัน"), 195, 160, {},
        QStringLiteral("HILUX"));
    oil.DisPrice = QStringLiteral("5%");
    PriceRow belt = MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"),
        QStringLiteral("BELT'S"), QStringLiteral("เข็มขัด"), 450, 0,
        { QString(), QStringLiteral("N-2") }, QStringLiteral("VIGO"));
    belt.DisPrice = QStringLiteral("10% ");
    storekit::CreatePriceList(store.list,
        { { 3, { oil, belt } },
            { 1,
                { MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"), QString(),
                    20, 15) } } },
        QStringLiteral("PLN394"));

    store.fx.form.cmdUpDate_Click();

    ASSERT_EQ(store.fx.window.messages.size(), 1u);
    EXPECT_EQ(store.fx.window.messages[0].text.toStdString(), "เสร็จแล้วจ้า");
    // "P.45 (Bar)" keeps its prices in Price1 and Sale1
    const QString prices = QLatin1String(c.version) == QLatin1String("P.45 (Bar)")
        ? QStringLiteral("Price1, Sale1")
        : QStringLiteral("Price, Sale");
    QStringList parts
        = store.rows("PartID, Kind, PartNO, EName, TName, Model, " + prices + ", PartCode",
            "Pta12 Order By PartID");
    if (*c.extraColumns) {
        const QStringList extras
            = store.rows(QLatin1String(c.extraColumns), "Pta12 Order By PartID");
        for (int i = 0; i < parts.size() && i < extras.size(); ++i)
            parts[i] += QLatin1Char('|') + extras[i];
    }
    QStringList expected { "1|0|15601-87703|OIL FILTER NEW|ไส้กรองน้ำมัน|HILUX|195|160|",
        "2||N-3|CAP|CAP||20|15|N-3", "3|1|N-1|BELT'S|เข็มขัด|VIGO|450|450|1-N-1",
        "4||N-2|BELT'S|เข็มขัด|VIGO|450|450|N-2" };
    for (int i = 0; i < c.extras.size(); ++i)
        expected[i] += QLatin1Char('|') + c.extras[i];
    EXPECT_LINES(parts, expected);
    EXPECT_LINES(store.rows("AltID, AKind, AltNO, APrice", "Alt12 Order By AltID"),
        QStringList({ "0|||0", "1|0|15601-87703|195", "2||N-3|20", "3|1|N-1|450", "4||N-2|450" }));
    EXPECT_LINES(store.groups(), QStringList({ "2|0", "3|4", "4|0", "4|3" }));
    EXPECT_LINES(store.counter(), QStringList { "4" });
    EXPECT_LINES(store.queue(), QStringList());
}

const QStringList kNoExtras {};
const QStringList kDisPrice { "5%", "", "10%", "10%" };
const QStringList kRunDate { "", "25691210", "25691210", "25691210" };

INSTANTIATE_TEST_SUITE_P(Versions, HandlerRun,
    ::testing::Values(
        RunCase { "V.34", false, "MainPart, PriceDiffers", { "|", "1|1", "1|0", "0|0" } },
        RunCase { "V.42", false, "", kNoExtras }, RunCase { "V.42", true, "", kNoExtras },
        RunCase { "V.43", false, "", kNoExtras }, RunCase { "V.45", false, "", kNoExtras },
        RunCase { "V.46 (Bar)", false, "RecDate", kRunDate },
        RunCase { "P.43", false, "", kNoExtras }, RunCase { "P.44 (Bar)", false, "", kNoExtras },
        RunCase { "P.46 (Bar)", false, "DisPrice", kDisPrice },
        RunCase { "P.46 (Bar)", true, "DisPrice", kDisPrice },
        RunCase { "P.47001 (Bar)", false, "DisPrice", kDisPrice },
        RunCase { "P.62 (Bar)", false, "DisPrice", kDisPrice },
        RunCase { "D.47 (Bar)", false, "DisPrice", kDisPrice },
        RunCase { "P.45 (Bar)", false, "FPartNO", { "1560187703", "N3", "N1", "N2" } },
        RunCase { "P.48 (Bar)", false, "FPartNO, DisPrice",
            { "1560187703|5%", "N3|", "N1|10%", "N2|10%" } }),
    [](const auto& info) { return testenv::ParamName(info.param.version, info.param.odbc); });

// ---- Bad input ---------------------------------------------------------------------------

// A part row that does not fit the store's part table: the part in hand rolls back, the run
// ends through the failure path, and the parts committed before stay whole.
TEST(InsertMoreFailure, RowThatDoesNotFitThePartTable) {
    struct Case {
        const char* name;
        const char* tableVersion; // the layout the part table was built with
        bool columnAddedMidRun; // a column added once the first part is in
        QStringList parts, codes, groups, counter, queue;
    };
    const Case cases[] = {
        { "table of another version", "V.42", false, {}, {}, {}, { "0" }, { "|N-3" } },
        { "column added after the first part", "V.34", true, { "1|N-3" }, { "1||N-3|20" },
            { "1|0" }, { "1" }, { "1|N-1", "|N-2" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store store(QStringLiteral("V.34"), {}, false, QLatin1String(c.tableVersion));
        storekit::CreatePriceList(store.list,
            { { 1,
                  { MakePriceRow(QString(), QStringLiteral("N-3"), QStringLiteral("CAP"), QString(),
                      20, 15) } },
                { 2,
                    { MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"),
                        QStringLiteral("BELT"), QString(), 450, 0, { QStringLiteral("N-2") }) } } },
            QStringLiteral("PLN394"));
        bool altered = false;
        store.fx.window.onDoEvents = [&] {
            // between two staged parts no transaction of the run is open
            if (!c.columnAddedMidRun || altered
                || !store.fx.window.qtyHistory.join(QLatin1Char('\n'))
                        .contains(QStringLiteral("กำลังเพิ่มข้อมูลใหม่")))
                return;
            store.cn.Execute("ALTER TABLE Pta12 ADD COLUMN Extra INTEGER");
            altered = true;
        };
        store.fx.form.cmdUpDate_Click();

        ASSERT_EQ(store.fx.window.messages.size(), 1u);
        EXPECT_EQ(store.fx.window.messages[0].text.toStdString(), "ไม่สามรถบันทึกได้");
        EXPECT_FALSE(store.fx.form.cnStore().inTransaction());
        EXPECT_LINES(store.rows("PartID, PartNO", "Pta12 Order By PartID"), c.parts);
        EXPECT_LINES(
            store.rows("AltID, AKind, AltNO, APrice", "Alt12 Where AltID <> 0 Order By AltID"),
            c.codes);
        EXPECT_LINES(store.groups(), c.groups);
        EXPECT_LINES(store.counter(), c.counter);
        EXPECT_LINES(store.queue(), c.queue);
    }
}

// A Null that the member reads ends the drain before the part's transaction; the discount text
// is read only by the members that write it.
TEST(InsertMoreFailure, NullInAStagedColumn) {
    struct Case {
        const char* version;
        const char* price;
        const char* disPrice;
        bool fails;
    };
    const Case cases[] = {
        { "P.46 (Bar)", "10", "Null", true },
        { "P.48 (Bar)", "10", "Null", true },
        { "V.42", "10", "Null", false },
        { "V.42", "Null", "''", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.price + " " + c.disPrice);
        Store store(QLatin1String(c.version));
        store.stage({ .kind = "A",
            .partNo = "P-1",
            .eName = "X",
            .price = QLatin1String(c.price),
            .disPrice = QLatin1String(c.disPrice) });
        if (c.fails) {
            EXPECT_THROW(store.insert(), rt::RunError);
            EXPECT_FALSE(store.fx.form.cnStore().inTransaction());
            EXPECT_FALSE(store.fx.form.rsList.isOpen());
            EXPECT_LINES(store.rows("PartID", "Pta12"), QStringList());
            EXPECT_LINES(store.queue(), QStringList { "A|P-1" });
        } else {
            store.insert();
            EXPECT_LINES(store.rows("PartID, PartNO", "Pta12"), QStringList { "1|P-1" });
            EXPECT_LINES(store.queue(), QStringList());
        }
    }
}

} // namespace
