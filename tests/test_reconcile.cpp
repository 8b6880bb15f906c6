// The residue check (PriceListAll after pass 1) and the difference listing in the grid.
#include "app/members.h"
#include "storekit/classic.h"
#include "storekit/price_check.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>
#include <ostream>

using storekit::ClassicPart;
using storekit::MakePriceRow;
using storekit::PricedPart;

namespace {

const QString kV31 = QStringLiteral("V.31");

struct CheckFiles : testenv::RunFiles {
    FormFixture fx;
    frmKordane& f = fx.form;

    void open(const QString& version, int brandId) {
        fx.useStore(priceList, store, brandId, version);
        f.SetUpPriceListConnection();
        f.OpenStoreConnection();
    }
    // One column of PriceListAll in stored order.
    QStringList recorded(const QString& column = QStringLiteral("PartNO")) {
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select ") + column + QStringLiteral(" From PriceListAll"),
            f.cnPriceList());
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << rs.Field(column).toText();
        rs.Close();
        return out;
    }
    QStringList gridRow(int r) {
        QStringList cells;
        for (int c = 1; c <= 7; ++c)
            cells << f.w.grid().TextMatrix(r, c);
        return cells;
    }
};

using testenv::Trace;

TEST(CollectPriceListAll, RecordsWhatTheStoreLacksOrPricesDifferently) {
    struct Case {
        const char* what;
        QString listKind, partNo;
        double price, sale;
        bool recorded;
        QString storeKind = QStringLiteral("1"); // empty: the store lacks the part
    };
    const Case cases[] = {
        { "missing part", "1", "M-1", 50, 0, true, "" },
        { "missing part, sale only", "1", "M-2", 0, 120, true, "" },
        { "missing part, nothing priced", "1", "M-3", 0, 0, false, "" },
        { "apostrophe in the number", "1", "M'4", 50, 0, true, "" },
        { "sale differs, same price", "1", "S-1", 100, 95, true },
        { "sale zero, same price", "1", "S-2", 100, 0, false },
        { "equal", "1", "S-3", 100, 90, false },
        { "price differs", "1", "S-4", 110, 90, true },
        { "price differs, list price zero", "1", "S-5", 0, 95, false },
        { "store has another kind", "2", "S-6", 100, 90, true },
        { "blank kind matches any kind", "", "S-7", 100, 90, false },
    };
    CheckFiles run;
    std::vector<ClassicPart> parts;
    std::vector<PriceRow> rows;
    QStringList expected;
    int id = 0;
    for (const Case& c : cases) {
        if (!c.storeKind.isEmpty()) {
            ClassicPart p;
            p.partId = ++id;
            p.kind = c.storeKind;
            p.partNo = c.partNo;
            p.price = 100;
            p.sale = 90;
            parts.push_back(p);
        }
        rows.push_back(
            MakePriceRow(c.listKind, c.partNo, QStringLiteral("PART"), {}, c.price, c.sale));
        if (c.recorded) expected << c.partNo;
    }
    storekit::CreateClassicStore(run.store, kV31, 12, parts);
    storekit::CreatePriceList(run.priceList, { { 1, rows } });
    run.open(kV31, 12);

    reconcile::CollectPriceListAll(run.f);

    QStringList got = run.recorded();
    got.sort();
    expected.sort();
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(run.f.rsList.isOpen() || run.f.rsLookup.isOpen() || run.f.rsCheck.isOpen());
}

TEST(CollectPriceListAll, KeepsTheListValuesTrimmedInWalkOrderAndStartsEmpty) {
    CheckFiles run;
    PriceRow full = MakePriceRow(QStringLiteral("1"), QStringLiteral("X-1"),
        QStringLiteral("  OIL FILTER "), QStringLiteral("กรอง"), 125.5, 110,
        { QStringLiteral("X-2"), QStringLiteral("X-3") }, QStringLiteral("D-MAX"));
    full.PartNew = QStringLiteral("X 1");
    full.AKind[0] = QStringLiteral("2");
    full.Model[11] = QStringLiteral("MU-X");
    full.Description = QStringLiteral("desc");
    full.Import = QStringLiteral("JP");
    full.DisPrice = QStringLiteral("10%");
    const PriceRow other = MakePriceRow({}, QStringLiteral("Y-1"), QStringLiteral("BELT"), {}, 80);
    storekit::CreateClassicStore(run.store, kV31, 12);
    // listed out of order: the walk takes table 2 before table 5
    storekit::CreatePriceList(run.priceList, { { 5, { full } }, { 2, { full, other } } });
    {
        ado::Connection cn;
        storekit::OpenFile(cn, run.priceList);
        storekit::InsertPriceRow(cn, QStringLiteral("PriceListAll"), other);
    }
    run.open(kV31, 12);
    Trace trace;

    reconcile::CollectPriceListAll(run.f);

    EXPECT_EQ(run.recorded(), (QStringList { "X-1", "Y-1", "X-1" }));
    EXPECT_EQ(run.recorded(QStringLiteral("EName")),
        (QStringList { "OIL FILTER", "BELT", "OIL FILTER" }));
    const QString inserted
        = trace.startingWith(QStringLiteral("Insert Into PriceListAll")).value(0);
    EXPECT_EQ(inserted,
        QStringLiteral("Insert Into PriceListAll Values( '1', 'X-1', 'X 1', 'X1', '2', 'X-2', '', "
                       "'X-3', '', '', '', '', '', '', 'OIL FILTER', 'กรอง', 'D-MAX', '', '', '', "
                       "'', '', '', '', '', '', '', 'MU-X', 'desc', 'JP', 125.5, '10%', 110 )"));
    EXPECT_EQ(trace.startingWith(QStringLiteral("Select PartNO From PriceListAll Where")),
        (QStringList { "Select PartNO From PriceListAll Where Kind = '1' And PartNO = 'X-1'",
            "Select PartNO From PriceListAll Where PartNO = 'Y-1'",
            "Select PartNO From PriceListAll Where Kind = '1' And PartNO = 'X-1'" }));
}

TEST(CollectPriceListAll, NoListedTableEmptiesTheTableAndKeepsTheNumbers) {
    CheckFiles run;
    storekit::CreateClassicStore(run.store, kV31, 12);
    storekit::CreatePriceList(run.priceList, {});
    {
        ado::Connection cn;
        storekit::OpenFile(cn, run.priceList);
        storekit::InsertPriceRow(
            cn, QStringLiteral("PriceListAll"), MakePriceRow({}, QStringLiteral("OLD"), {}, {}, 1));
    }
    run.open(kV31, 12);
    run.f.mPriceListNos = { 4, 0 };
    run.f.mPriceListNoCount = 1;

    reconcile::CollectPriceListAll(run.f);

    EXPECT_TRUE(run.recorded().isEmpty());
    EXPECT_EQ(run.f.mPriceListNos, (std::vector<int16_t> { 4, 0 }));
    EXPECT_EQ(run.f.mPriceListNoCount, 1);
    EXPECT_EQ(run.fx.window.qtyHistory,
        (QStringList { "กำลังครวจสอบข้อมูล  VURE", "กำลังตรวจสอบข้อมูล  VURE  100 %" }));
}

TEST(CollectPriceListAll, LooksUpByTheKeyAndAmountsOfTheStoreVersion) {
    struct Case {
        QString version;
        int brandId;
        QString table, kind, partNo, storeKey;
        QString lookup;
    };
    const Case cases[] = {
        { "V.31", 12, "Pta12", "1", "A-1", "A1",
            "Select Price, Sale From Pta12 Where Kind = '1' And PartNO = 'A-1'" },
        { "V.31", 12, "Pta12", "", "A-1", "A1",
            "Select Price, Sale From Pta12 Where PartNO = 'A-1'" },
        { "P.45 (Bar)", 12, "Pta12", "1", "1-2/3", "123",
            "Select Price1, Sale1 From Pta12 Where Kind = '1' And FPartNO = '123'" },
        { "P.48 (Bar)", 12, "Pta12", "", "1-2/3", "123",
            "Select Price, Sale From Pta12 Where FPartNO = '123'" },
        { "P.65 (Bar)", 12, "Pta12", "1", "1 2", "12",
            "Select Price, Sale From Pta12 Where Kind = '1' And FPartNO = '12'" },
        { "P.66 (Bar)", 7, "Pta_07", "1", "1-2", "121",
            "Select Price, Sale From Pta_07 Where FPartNO = '121'" },
        { "P.68 (Bar)", 7, "Pta_007", "1", "1-2", "121",
            "Select Price, Sale From Pta_007 Where FPartNO = '121'" },
        { "P.68 (Bar)", 7, "Pta_007", "", "1/2*", "12",
            "Select Price, Sale From Pta_007 Where FPartNO = '12'" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lookup.toStdString());
        CheckFiles run;
        // the store holds the list's amounts only in the columns its version reads
        const bool p45 = c.version == QLatin1String("P.45 (Bar)");
        PricedPart part { c.kind.isEmpty() ? QStringLiteral("9") : c.kind, c.partNo, c.storeKey };
        (p45 ? part.price1 : part.price) = 100;
        (p45 ? part.sale1 : part.sale) = 90;
        (p45 ? part.price : part.price1) = 5;
        storekit::CreatePricedStore(run.store, c.version, c.brandId, c.table, { part });
        storekit::CreatePriceList(
            run.priceList, { { 1, { MakePriceRow(c.kind, c.partNo, {}, {}, 100, 90) } } });
        run.open(c.version, c.brandId);
        Trace trace;

        reconcile::CollectPriceListAll(run.f);

        EXPECT_EQ(trace.startingWith(QStringLiteral("Select Price")), QStringList { c.lookup });
        EXPECT_TRUE(run.recorded().isEmpty());
    }
}

TEST(CollectPriceListAll, BrandKeyTooLargeForThePtaSuffixEndsTheRun) {
    for (auto [version, brandId] : { std::pair { "P.66 (Bar)", 100 }, { "P.68 (Bar)", 1000 } }) {
        CheckFiles run;
        storekit::CreatePricedStore(
            run.store, QLatin1String(version), brandId, QStringLiteral("Pta_"), {});
        storekit::CreatePriceList(
            run.priceList, { { 1, { MakePriceRow({}, QStringLiteral("A"), {}, {}, 1) } } });
        run.open(QLatin1String(version), brandId);
        Trace trace;

        EXPECT_THROW(reconcile::CollectPriceListAll(run.f), rt::RunError);
        EXPECT_TRUE(trace.statements.filter(QStringLiteral("Pta_")).isEmpty());
    }
}

TEST(ReportPriceDiffs, ListsEachKindOfRowInTheClassicStore) {
    CheckFiles run;
    auto part = [](int id, const char* kind, const char* no) {
        ClassicPart p;
        p.partId = id;
        p.kind = QLatin1String(kind);
        p.partNo = QLatin1String(no);
        p.price = 100;
        p.sale = 90;
        return p;
    };
    storekit::CreateClassicStore(run.store, kV31, 12,
        { part(1, "1", "P-1"), part(2, "1", "S-1"), part(3, "", "E-1"), part(4, "2", "K-1") });
    PriceRow priceRow = MakePriceRow(QStringLiteral("1"), QStringLiteral("P-1"),
        QStringLiteral("PUMP"), QStringLiteral("ปั๊ม"), 120, 95, {}, QStringLiteral("D-MAX"));
    priceRow.Model[3] = QStringLiteral("MU-X");
    storekit::CreatePriceList(run.priceList,
        { { 1,
            { MakePriceRow({}, QStringLiteral("E-1"), {}, QStringLiteral("เท่า"), 100, 90),
                MakePriceRow({}, QStringLiteral("K-1"), {}, QStringLiteral("ก"), 130, 0),
                MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"), {}, QStringLiteral("ใหม่"),
                    50, 0, {}, QStringLiteral("D-MAX")),
                MakePriceRow({}, QStringLiteral("N-2"), QStringLiteral("BELT"), {}, 0, 120),
                priceRow,
                MakePriceRow(QStringLiteral("1"), QStringLiteral("S-1"), {}, QStringLiteral("ขาย"),
                    100, 85.5),
                MakePriceRow({}, QStringLiteral("Z-1"), {}, {}, 0, 0) } } });
    run.open(kV31, 12);
    run.f.cnStore().Close(); // the listing opens the store itself

    reconcile::ReportPriceDiffs(run.f);

    const std::vector<QStringList> expected {
        { "1", "", "K-1", "ก", "", "100", "130" },
        { "2", "New", "1 - N-1", "ใหม่", "D-MAX", "", "50" },
        { "3", "New", "N-2", "", "", "", "0" },
        { "4", "", "1-P-1", "ปั๊ม", "D-MAX, MU-X", "100", "120" },
        { "5", "", "1-S-1", "ขาย", "", "90", "85.5" },
        { "", "", "", "", "", "", "" },
    };
    for (size_t r = 0; r < expected.size(); ++r)
        EXPECT_EQ(run.gridRow(int(r) + 1), expected[r]) << "grid row " << r + 1;
    EXPECT_EQ(run.f.w.grid().Rows(), 30);
    EXPECT_EQ(run.f.w.grid().TextMatrix(0, 2), QStringLiteral("     สินค้าใหม่"));
    EXPECT_EQ(run.f.cnStore().State(), 1);
    EXPECT_FALSE(run.f.rsList.isOpen() || run.f.rsLookup.isOpen());
    EXPECT_TRUE(run.recorded().isEmpty()); // PriceListAll is never written here
}

TEST(ReportPriceDiffs, MatchesThePtaKeyOfNumberAndKind) {
    CheckFiles run;
    storekit::CreatePricedStore(run.store, QStringLiteral("P.66 (Bar)"), 7,
        QStringLiteral("Pta_07"),
        { { "1", "1-2", "121", 100, 90 }, { "2", "3-4", "342", 100, 90 },
            { "", "5 6", "56", 10, 9 } });
    storekit::CreatePriceList(run.priceList,
        { { 1,
            { MakePriceRow(
                  QStringLiteral("1"), QStringLiteral("1-2"), {}, QStringLiteral("ก"), 100, 80),
                MakePriceRow(
                    QStringLiteral("3"), QStringLiteral("3-4"), {}, QStringLiteral("ข"), 100, 90),
                MakePriceRow({}, QStringLiteral("5 6"), {}, QStringLiteral("ค"), 12, 9) } } });
    run.open(QStringLiteral("P.66 (Bar)"), 7);

    reconcile::ReportPriceDiffs(run.f);

    EXPECT_EQ(run.gridRow(1), (QStringList { "1", "", "1-1-2", "ก", "", "90", "80" }));
    EXPECT_EQ(run.gridRow(2), (QStringList { "2", "New", "3 - 3-4", "ข", "", "", "100" }));
    EXPECT_EQ(run.gridRow(3), (QStringList { "3", "", "5 6", "ค", "", "10", "12" }));
}

TEST(ReportPriceDiffs, GrowsTheGridKeepingOneEmptyRowBelow) {
    struct Case {
        int listed, rows;
    };
    for (const Case c : { Case { 28, 30 }, Case { 29, 31 }, Case { 35, 37 } }) {
        CheckFiles run;
        std::vector<PriceRow> rows;
        for (int k = 1; k <= c.listed; ++k)
            rows.push_back(MakePriceRow(
                {}, QStringLiteral("N-%1").arg(k, 2, 10, QLatin1Char('0')), {}, {}, k));
        storekit::CreateClassicStore(run.store, kV31, 12);
        storekit::CreatePriceList(run.priceList, { { 1, rows } });
        run.open(kV31, 12);

        reconcile::ReportPriceDiffs(run.f);

        EXPECT_EQ(run.f.w.grid().Rows(), c.rows) << c.listed;
        EXPECT_EQ(run.gridRow(c.listed),
            (QStringList { QString::number(c.listed), "New",
                QStringLiteral("N-%1").arg(c.listed, 2, 10, QLatin1Char('0')), "", "", "",
                QString::number(c.listed) }));
    }
}

TEST(Reconcile, ProgressTextsOfBothOperations) {
    struct Case {
        const char* what;
        void (*operation)(frmKordane&);
        QString before; // the blanks before the rows-left count
    };
    const Case cases[] = {
        { "residue check", reconcile::CollectPriceListAll, " (" },
        { "difference listing", reconcile::ReportPriceDiffs, "  (" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CheckFiles run;
        storekit::CreateClassicStore(run.store, kV31, 12);
        storekit::CreatePriceList(run.priceList,
            { { 4,
                  { MakePriceRow(QStringLiteral("1"), QStringLiteral("A-1"),
                        QStringLiteral("FILTER"), QStringLiteral("กรอง"), 100, 0, {},
                        QStringLiteral("MU-X")),
                      MakePriceRow({}, QStringLiteral("B-2"), QStringLiteral("BELT"), {}, 0, 0),
                      MakePriceRow({}, QStringLiteral("C-3"), QStringLiteral("CAP"), {}, 5, 0) } },
                { 6, {} } });
        run.open(kV31, 12);

        c.operation(run.f);

        const QString row = QStringLiteral("กำลังตรวจสอบข้อมูล  VURE_4") + c.before;
        EXPECT_EQ(run.fx.window.qtyHistory,
            (QStringList { "กำลังครวจสอบข้อมูล  VURE", row + "2)  33 %", row + "1)  66 %",
                row + "0)  100 %", "กำลังตรวจสอบข้อมูล  VURE  100 %" }));
        EXPECT_EQ(run.fx.window.partHistory,
            (QStringList { "1-A-1 - กรอง   MU-X", "B-2 - BELT   ", "C-3 - CAP   " }));
    }
}

} // namespace
