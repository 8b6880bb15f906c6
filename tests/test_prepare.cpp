// The build of the numbered price-list tables from raw sheets: normalisation, brand rules, the
// work table, duplicate removal and the split, on stand-in price-list files.
#include "common/mduValue.h"
#include "prepare/operations.h"
#include "prepare/phases.h"
#include "storekit/prepare_tables.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>
#include <ostream>

using rt::Value;
using storekit::MakePriceRow;
using storekit::MakeRawRow;
using storekit::RawRow;

namespace {

// A price-list file with numbered tables and raw sheets, and a form whose cnPriceList is open.
struct PrepareFiles : testenv::RunFiles {
    FormFixture fx;
    frmKordane& f = fx.form;

    PrepareFiles(const storekit::PriceTables& tables, const storekit::RawSheets& sheets,
        const QString& brand = QStringLiteral("VURE")) {
        storekit::CreatePriceList(priceList, tables);
        storekit::AddRawSheets(priceList, sheets);
        fx.useDesktopStore(priceList, store);
        f.mBrandName = brand;
        f.SetUpPriceListConnection();
    }
    QStringList rows(const QString& sql) { return testenv::QueryRows(f.cnPriceList(), sql); }
    void addWorkRows(const std::vector<PriceRow>& rows) {
        for (const PriceRow& r : rows)
            storekit::InsertPriceRow(f.cnPriceList(), QStringLiteral("PriceList"), r);
    }
};

storekit::PriceTables emptyTables(int count) {
    storekit::PriceTables t;
    for (int n = 1; n <= count; ++n)
        t.push_back({ n, {} });
    return t;
}

PriceRow workRow(const QString& kind, const QString& partNo, double price) {
    return MakePriceRow(kind, partNo, QStringLiteral("E"), QString(), price, price);
}

} // namespace

TEST(BuildPriceList, NormalisationRewritesTheRawSheetInPlace) {
    struct Case {
        const char* what;
        RawRow row; // ID is the case's position + 1
        QString after; // Kind|PartNO|AKind_1|Model_1|Model_2|Price|Sale, "" when deleted
    };
    auto row
        = [](Value kind, Value partNo, Value aKind, Value m1, Value m2, Value price, Value sale) {
              return RawRow { { QStringLiteral("Kind"), kind },
                  { QStringLiteral("PartNO"), partNo }, { QStringLiteral("AKind_1"), aKind },
                  { QStringLiteral("Model_1"), m1 }, { QStringLiteral("Model_2"), m2 },
                  { QStringLiteral("Price"), price }, { QStringLiteral("Sale"), sale } };
          };
    const Value null;
    const Case cases[] = {
        { "kinds as amounts", row("0.00", "P1", "1.00", "A", "B", 10, 5), "0|P1|1|A|B|10|5" },
        { "kind 1.00", row("1.00", "P2", "0.00", "-", "xxxx", 10, 5), "1|P2|0|||10|5" },
        { "Null kinds and models", row(null, "P3", null, null, null, 10, 5), "|P3||||10|5" },
        { "other amounts stay", row("2.00", "P4", "1.0", "xxxxx", "--", 10, 5),
            "2.00|P4|1.0|xxxxx|--|10|5" },
        { "Null prices", row("1", "P5", "", "A", "", null, null), "1|P5||A||0|0" },
        { "Null part number", row("1", null, "", "A", "", 10, 5), "" },
        { "empty part number", row("1", "", "", "A", "", 10, 5), "" },
    };
    std::vector<RawRow> rows;
    QStringList expected;
    for (const Case& c : cases) {
        rows.push_back(c.row);
        if (!c.after.isEmpty()) expected << c.after;
    }
    PrepareFiles run(emptyTables(1), { { 1, rows } });

    for (const QString& statement : prepare::NormalisingStatements(1))
        run.f.Execute(run.f.cnPriceList(), statement);

    EXPECT_EQ(run.rows(QStringLiteral("Select Kind, PartNO, AKind_1, Model_1, Model_2, Price, "
                                      "Sale From PriceNew_1 Order By ID")),
        expected);
    // every other column read by the build has lost its Nulls too
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceNew_1 Where AltNO_5 Is Null Or "
                                      "EName Is Null Or Model_12 Is Null Or Import Is Null Or "
                                      "DisPrice Is Null Or Description Is Null")),
        QStringList());
}

TEST(BuildPriceList, NormalisingStatementsWordForWord) {
    // the number of a statement (from 1) and its text; a kind compared with an amount ends in
    // a blank, the other statements do not
    const std::pair<int, const char*> cases[] = {
        { 1, "Update PriceNew_7 Set Kind = '' Where Kind Is Null" },
        { 2, "Update PriceNew_7 Set Kind = '0' Where Kind = '0.00' " },
        { 3, "Update PriceNew_7 Set Kind = '1' Where Kind = '1.00' " },
        { 4, "Update PriceNew_7 Set PartNO = '' Where PartNO Is Null" },
        { 5, "Update PriceNew_7 Set AKind_1 = '' Where AKind_1 Is Null" },
        { 6, "Update PriceNew_7 Set AKind_1 = '0' Where AKind_1 = '0.00' " },
        { 7, "Update PriceNew_7 Set AKind_1 = '1' Where AKind_1 = '1.00' " },
        { 8, "Update PriceNew_7 Set AltNO_1 = '' Where AltNO_1 Is Null" },
        { 9, "Update PriceNew_7 Set AKind_2 = '' Where AKind_2 Is Null" },
        { 23, "Update PriceNew_7 Set AKind_5 = '1' Where AKind_5 = '1.00' " },
        { 24, "Update PriceNew_7 Set AltNO_5 = '' Where AltNO_5 Is Null" },
        { 25, "Update PriceNew_7 Set EName = '' Where EName Is Null" },
        { 26, "Update PriceNew_7 Set TName = '' Where TName Is Null" },
        { 27, "Update PriceNew_7 Set Model_1 = '' Where Model_1 Is Null" },
        { 38, "Update PriceNew_7 Set Model_12 = '' Where Model_12 Is Null" },
        { 39, "Update PriceNew_7 Set Description = '' Where Description Is Null" },
        { 40, "Update PriceNew_7 Set Import = '' Where Import Is Null" },
        { 41, "Update PriceNew_7 Set Price = 0 Where Price Is Null" },
        { 42, "Update PriceNew_7 Set DisPrice = '' Where DisPrice Is Null" },
        { 43, "Update PriceNew_7 Set Sale = 0 Where Sale Is Null" },
        { 44, "Delete From PriceNew_7 Where PartNO = ''" },
        { 45, "Update PriceNew_7 Set Model_1 = '' Where Model_1 = '-'" },
        { 56, "Update PriceNew_7 Set Model_12 = '' Where Model_12 = '-'" },
        { 57, "Update PriceNew_7 Set Model_1 = '' Where Model_1 = 'xxxx'" },
        { 68, "Update PriceNew_7 Set Model_12 = '' Where Model_12 = 'xxxx'" },
    };
    const QStringList statements = prepare::NormalisingStatements(7);
    ASSERT_EQ(statements.size(), 68);
    for (const auto& [no, text] : cases)
        EXPECT_EQ(statements.at(no - 1), QString::fromLatin1(text)) << no;
}

TEST(BuildPriceList, BrandRulesForPartAndReplacementNumbers) {
    struct Case {
        const char* brand;
        QString raw, partNo, partNew, fPartNew;
    };
    const Case cases[] = {
        { "BENZ", " A 1 23* ", "A 1 23", "1 23", "123" }, { "BENZ", "ABC", "ABC", "", "" },
        { "FORD", "PQ-12/RS 3", "PQ12RS3", "PQ12RS3", "PQ12RS3" },
        { "FORD", "AB*C", "AB*C", "AB*C", "AB*C" }, // squeezed as it stands, not cleaned
        { "NISSAN", "PQ123RS456", "PQ123-RS456", "PQ123-RS456", "PQ123RS456" },
        { "TOYOTA", "PQ12 3RS4567890", "PQ123-RS456 7890", "PQ123-RS456 7890", "PQ123RS4567890" },
        { "UD", "12345", "12345", "12345", "12345" },
        { "UD_VOLVO", "PQ123RS456", "VPQ123-RS456", "VPQ123-RS456", "VPQ123RS456" },
        { "UD_VOLVO", " ", "", "", "" }, { "VURE", " AB-12/3 ", "AB-12/3", "AB-12/3", "AB123" },
        { "VURE", "X,Y'Z-", "X Y Z", "X Y Z", "XYZ" }, { "ISUZU", "8-97*", "8-97", "8-97", "897" },
        { "benz", "A 1", "A 1", "A 1", "A1" }, // brand names compare exactly
    };
    for (const Case& c : cases) {
        const QString brand = QString::fromLatin1(c.brand);
        SCOPED_TRACE((brand + QStringLiteral(" ") + c.raw).toStdString());
        const QString partNo = prepare::BrandPartNumber(brand, Value(c.raw));
        const QString partNew = prepare::BrandPartNew(brand, partNo);
        EXPECT_EQ(partNo, c.partNo);
        EXPECT_EQ(partNew, c.partNew);
        EXPECT_EQ(mduValue::SqueezeText(partNew), c.fPartNew);
    }
}

TEST(BuildPriceList, BuildsWorkRowsByTheBrandsRule) {
    struct Case {
        const char* brand;
        QString partNo, altNo, built; // built: PartNO|PartNew|FPartNew|AltNO_2
        QString abc; // the same of the number ABC; empty: left out
    };
    const Case cases[] = {
        { "BENZ", "A 1 23", "B 4-5", "A 1 23|1 23|123|B 4-5", "" },
        { "FORD", "PQ-12/RS 3", "X-1 2", "PQ12RS3|PQ12RS3|PQ12RS3|X12", "ABC|ABC|ABC|" },
        { "UD_VOLVO", "PQ123RS456", "AB12345", "VPQ123-RS456|VPQ123-RS456|VPQ123RS456|VAB123-45",
            "VABC|VABC|VABC|" },
        { "VURE", " AB-12/3* ", " X-1 ", "AB-12/3|AB-12/3|AB123|X-1", "ABC|ABC|ABC|" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.brand);
        RawRow row = MakeRawRow(QStringLiteral("1.00"), c.partNo, QStringLiteral("PISTON"), 300, 0);
        row.push_back({ QStringLiteral("AltNO_2"), c.altNo });
        // a BENZ number without a digit is left out, but still shown
        RawRow noDigit = MakeRawRow(QString(), QStringLiteral("ABC"), QStringLiteral("X"), 10, 10);
        PrepareFiles run(emptyTables(1), { { 1, { row, noDigit } } }, QString::fromLatin1(c.brand));

        prepare::BuildPriceList(run.f);

        QStringList expected { QStringLiteral("1|") + c.built + QStringLiteral("|300|300") };
        if (!c.abc.isEmpty()) expected << QStringLiteral("|") + c.abc + QStringLiteral("|10|10");
        EXPECT_EQ(run.rows(QStringLiteral("Select Kind, PartNO, PartNew, FPartNew, AltNO_2, "
                                          "Price, Sale From PriceList_1 Order By Kind Desc")),
            expected);
        EXPECT_EQ(run.fx.window.partHistory.at(1).right(7), QStringLiteral("ABC    "));
    }
}

TEST(BuildPriceList, CleansCutsAndPricesEachRow) {
    const QString e41 = QString(41, QLatin1Char('E'));
    const QString t61 = QString(61, QLatin1Char('T'));
    const QString m31 = QString(31, QLatin1Char('M'));
    const QString d75 = QString(75, QLatin1Char('D'));
    RawRow wide { { QStringLiteral("Kind"), QStringLiteral(" 1 ") },
        { QStringLiteral("PartNO"), QStringLiteral("W-1") }, { QStringLiteral("EName"), e41 },
        { QStringLiteral("TName"), t61 }, { QStringLiteral("Model_1"), m31 },
        { QStringLiteral("Model_2"), QString(30, QLatin1Char('N')) },
        { QStringLiteral("Description"), d75 },
        { QStringLiteral("Import"), QString(25, QLatin1Char('I')) },
        { QStringLiteral("DisPrice"), QStringLiteral(" 5%* ") }, { QStringLiteral("Price"), 250 },
        { QStringLiteral("Sale"), 0 } };
    const std::vector<RawRow> rows {
        wide,
        MakeRawRow(QString(), QStringLiteral("Z-0"), QStringLiteral("FREE"), 0, 0),
        MakeRawRow(
            QStringLiteral("2"), QStringLiteral("S-1"), QStringLiteral("O'RING"), Value(12.5), 11),
        MakeRawRow(QString(), QStringLiteral("-/ "), QStringLiteral("NOTHING"), 5, 5),
    };
    PrepareFiles run(emptyTables(1), { { 1, rows } });

    prepare::BuildPriceList(run.f);

    EXPECT_EQ(run.rows(QStringLiteral("Select Kind, PartNO, EName, TName, Model_1, Model_2, "
                                      "Description, Import, DisPrice, Price, Sale From "
                                      "PriceList_1 Order By PartNO")),
        (QStringList {
            QStringLiteral("2|S-1|O RING||||||") + QStringLiteral("|12.5|11"),
            QStringLiteral("1|W-1|") + e41.left(40) + QLatin1Char('|') + t61.left(60)
                + QLatin1Char('|') + m31.left(30) + QLatin1Char('|') + QString(30, QLatin1Char('N'))
                + QLatin1Char('|') + d75.left(60) + QLatin1Char('|') + QString(20, QLatin1Char('I'))
                + QStringLiteral("|5%|250|250"),
            QStringLiteral("|Z-0|FREE|||||||0|0"),
        }));
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList")), QStringList());
    // one progress line per sheet row, the left-out row included
    const QStringList qty = run.fx.window.qtyHistory.filter(QStringLiteral("FPartNew"));
    EXPECT_EQ(qty,
        (QStringList { QStringLiteral("กำลังสร้าง FPartNew  VURE_1  (3)  25 %"),
            QStringLiteral("กำลังสร้าง FPartNew  VURE_1  (2)  50 %"),
            QStringLiteral("กำลังสร้าง FPartNew  VURE_1  (1)  75 %"),
            QStringLiteral("กำลังสร้าง FPartNew  VURE_1  (0)  100 %") }));
    EXPECT_EQ(run.fx.window.partHistory.first(),
        QStringLiteral("1-W-1  ") + t61.left(60) + QStringLiteral("  ") + m31.left(30));
}

TEST(BuildPriceList, OpeningEmptiesListedTablesAndReadsSheetsInOrder) {
    const PriceRow stale = workRow(QStringLiteral("1"), QStringLiteral("OLD"), 1);
    // table 2 is not listed: its rows stay and the split adds to them
    storekit::PriceTables tables { { 1, { stale } } };
    PrepareFiles run(tables,
        { { 2, { MakeRawRow(QStringLiteral("1"), QStringLiteral("B"), QStringLiteral("X"), 2) } },
            { 1,
                { MakeRawRow(
                    QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("X"), 1) } } });
    run.addWorkRows({ workRow(QStringLiteral("1"), QStringLiteral("LEFTOVER"), 1) });
    storekit::CreateTable(
        run.f.cnPriceList(), QStringLiteral("PriceList_2"), storekit::PriceRowTableColumns());
    storekit::InsertPriceRow(run.f.cnPriceList(), QStringLiteral("PriceList_2"), stale);

    prepare::BuildPriceList(run.f);

    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_1 Order By PartNO")),
        (QStringList { QStringLiteral("A"), QStringLiteral("B") }));
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_2")),
        QStringList { QStringLiteral("OLD") });
    // sheet 1 before sheet 2
    const QStringList qty = run.fx.window.qtyHistory.filter(QStringLiteral("FPartNew"));
    ASSERT_EQ(qty.size(), 2);
    EXPECT_TRUE(qty[0].contains(QStringLiteral("VURE_1")));
    EXPECT_TRUE(qty[1].contains(QStringLiteral("VURE_2")));
    EXPECT_EQ(run.fx.window.qtyHistory.first(), QStringLiteral("กำลังหา PartNO ซ้ำ"));
}

TEST(BuildPriceList, NoRawSheetStillEmptiesTheTables) {
    PrepareFiles run({ { 1, { workRow(QStringLiteral("1"), QStringLiteral("OLD"), 1) } } }, {});
    run.addWorkRows({ workRow(QStringLiteral("1"), QStringLiteral("LEFTOVER"), 1) });

    prepare::BuildPriceList(run.f);

    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_1")), QStringList());
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList")), QStringList());
}

TEST(BuildPriceList, StatementsAfterTheNormalisationWordForWord) {
    PrepareFiles run(emptyTables(1),
        { { 1,
            { MakeRawRow(QStringLiteral("1.00"), QStringLiteral("A-1"), QStringLiteral("E"), 10),
                MakeRawRow(QStringLiteral("1"), QStringLiteral("A 1"), QStringLiteral("E"), 5, 5),
                MakeRawRow(QString(), QStringLiteral("B-2"), QStringLiteral("E"), 7, 7) } } });
    QStringList statements;
    ado::SetTraceHook([&](const QString& s) {
        if (!s.startsWith(QLatin1String("Update PriceNew_"))) statements << s;
    });
    prepare::BuildPriceList(run.f);
    ado::SetTraceHook(nullptr);

    // kind, PartNO (also PartNew), FPartNew, ten empty replacement values, EName "E", the rest
    // empty, and the amount as Price and Sale
    auto insert = [](const char* table, const char* kind, const char* partNo, const char* fPartNew,
                      const char* price) {
        QString v = QStringLiteral("'%1', '%2', '%2', '%3'").arg(kind, partNo, fPartNew);
        for (int k = 0; k < 10; ++k)
            v += QStringLiteral(", ''");
        v += QStringLiteral(", 'E'");
        for (int k = 0; k < 15; ++k) // TName, 12 models, Description, Import
            v += QStringLiteral(", ''");
        v += QStringLiteral(", %1, '', %1").arg(price);
        return QStringLiteral("Insert Into %1 Values( %2 )").arg(table, v);
    };
    const QStringList expected {
        QStringLiteral("Delete From PriceList"),
        QStringLiteral("Select Count From PriceList_Count Order By Count"),
        QStringLiteral("Delete From PriceList_1"),
        QStringLiteral("Select Count From PriceNew_Count Order By Count"),
        QStringLiteral("Delete From PriceNew_1 Where PartNO = ''"),
        QStringLiteral("Select Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, "
                       "AKind_4, AltNO_4, AKind_5, AltNO_5, EName, TName, Model_1, Model_2, "
                       "Model_3, Model_4, Model_5, Model_6, Model_7, Model_8, Model_9, Model_10, "
                       "Model_11, Model_12, Description, Import, Price, DisPrice, Sale From "
                       "PriceNew_1"),
        insert("PriceList", "1", "A-1", "A1", "10"),
        QStringLiteral("Select PartNO From PriceList Where Kind = '1' And PartNO = 'A-1'"),
        insert("PriceList", "1", "A 1", "A1", "5"),
        QStringLiteral("Select PartNO From PriceList Where Kind = '1' And PartNO = 'A 1'"),
        insert("PriceList", "", "B-2", "B2", "7"),
        QStringLiteral("Select PartNO From PriceList Where PartNO = 'B-2'"),
        QStringLiteral("Select Distinct Kind, FPartNew From PriceList Order By FPartNew"),
        QStringLiteral("Select Kind, FPartNew, Price From PriceList Where Kind = '1' And FPartNew "
                       "= 'A1' Order By Price Desc"),
        QStringLiteral("Delete From PriceList Where Kind = '1' And FPartNew = 'A1' And Price = 5"),
        QStringLiteral("Select Kind, FPartNew, Price From PriceList Where FPartNew = 'B2' Order By "
                       "Price Desc"),
        QStringLiteral("Select Kind, PartNO, PartNew, FPartNew, AKind_1, AltNO_1, AKind_2, "
                       "AltNO_2, AKind_3, AltNO_3, AKind_4, AltNO_4, AKind_5, AltNO_5, EName, "
                       "TName, Model_1, Model_2, Model_3, Model_4, Model_5, Model_6, Model_7, "
                       "Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, "
                       "Price, DisPrice, Sale From PriceList Order By PartNO"),
        insert("PriceList_1", "1", "A-1", "A1", "10"),
        QStringLiteral("Select PartNO From PriceList_1 Where Kind = '1' And PartNO = 'A-1'"),
        QStringLiteral("Delete From PriceList Where Kind = '1' And PartNO = 'A-1'"),
        insert("PriceList_1", "", "B-2", "B2", "7"),
        QStringLiteral("Select PartNO From PriceList_1 Where PartNO = 'B-2'"),
        QStringLiteral("Delete From PriceList Where PartNO = 'B-2'"),
    };
    EXPECT_EQ(statements, expected);
}

TEST(BuildPriceList, UnlistedTablesAndEmptySheets) {
    struct Case {
        const char* what;
        bool listed; // PriceList_Count lists table 1
        storekit::RawSheets sheets;
        QStringList table1; // PartNO of PriceList_1 afterwards, ordered
        QStringList sheetsShown; // the sheet tags of the build's progress lines
    };
    auto raw = [](const char* partNo) {
        return MakeRawRow(
            QStringLiteral("1"), QString::fromLatin1(partNo), QStringLiteral("X"), 1, 1);
    };
    const Case cases[] = {
        { "no numbered table listed: the old rows stay and the build still runs", false,
            { { 1, { raw("A") } } }, { "A", "OLD" }, { "VURE_1" } },
        { "a sheet without rows shows no progress", true, { { 1, {} }, { 2, { raw("B") } } },
            { "B" }, { "VURE_2" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PrepareFiles run(
            { { 1, { workRow(QStringLiteral("1"), QStringLiteral("OLD"), 1) } } }, c.sheets);
        if (!c.listed)
            run.f.Execute(run.f.cnPriceList(), QStringLiteral("Delete From PriceList_Count"));

        prepare::BuildPriceList(run.f);

        EXPECT_EQ(
            run.rows(QStringLiteral("Select PartNO From PriceList_1 Order By PartNO")), c.table1);
        QStringList shown;
        for (const QString& t : run.fx.window.qtyHistory.filter(QStringLiteral("FPartNew")))
            shown << t.section(QStringLiteral("  "), 1, 1);
        shown.removeDuplicates();
        EXPECT_EQ(shown, c.sheetsShown);
    }
}

TEST(BuildPriceList, BadNumberInAListStopsBeforeTheTablesItLists) {
    struct Case {
        const char* list;
        const char* bad;
        QStringList table1; // PartNO of PriceList_1 afterwards
    };
    const Case cases[] = {
        { "PriceNew_Count", "Null", {} },
        { "PriceNew_Count", "'x'", {} },
        { "PriceNew_Count", "40000", {} },
        { "PriceList_Count", "Null", { "OLD" } },
        { "PriceList_Count", "-32769", { "OLD" } },
    };
    for (const Case& c : cases) {
        const QString list = QString::fromLatin1(c.list);
        SCOPED_TRACE((list + QLatin1Char(' ') + QString::fromLatin1(c.bad)).toStdString());
        PrepareFiles run({ { 1, { workRow(QStringLiteral("1"), QStringLiteral("OLD"), 1) } } },
            { { 1, { MakeRawRow(QString(), QStringLiteral("A"), QStringLiteral("X"), 1) } } });
        run.f.Execute(run.f.cnPriceList(),
            QStringLiteral("Insert Into %1 Values( %2 )").arg(list, QString::fromLatin1(c.bad)));
        run.f.Execute(run.f.cnPriceList(), QStringLiteral("Update PriceNew_1 Set Kind = Null"));

        try {
            prepare::BuildPriceList(run.f);
            ADD_FAILURE() << "no error";
        } catch (const rt::RunError& e) {
            EXPECT_TRUE(e.message().startsWith(list + QStringLiteral(": "))) << e.what();
        }

        EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_1")), c.table1);
        // no sheet was touched
        EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceNew_1 Where Kind Is Null")),
            QStringList { QStringLiteral("A") });
        EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList")), QStringList());
    }
}

TEST(RemoveDuplicates, KeepsTheTopPriceOfEachKindAndNumber) {
    struct Case {
        const char* what;
        std::vector<PriceRow> rows;
        QStringList kept; // Kind|PartNO|Price, ordered by PartNO
    };
    auto r = [](const char* kind, const char* partNo, double price) {
        return workRow(QString::fromLatin1(kind), QString::fromLatin1(partNo), price);
    };
    const Case cases[] = {
        { "one row", { r("1", "A-1", 50) }, { "1|A-1|50" } },
        { "ties stay",
            { r("1", "B-1", 120), r("1", "B 1", 90), r("1", "B/1", 120), r("1", "B1", 90) },
            { "1|B-1|120", "1|B/1|120" } },
        { "a blank kind gathers every kind",
            { r("", "C-1", 100), r("1", "C 1", 80), r("1", "C1", 60) }, { "|C-1|100" } },
        { "kind 1 listed before the blank one",
            { r("1", "D-1", 80), r("", "D 1", 100), r("1", "D1", 60) }, { "|D 1|100" } },
        { "two kinds", { r("1", "E-1", 80), r("2", "E1", 60) }, { "1|E-1|80", "2|E1|60" } },
        { "amounts with fractions", { r("1", "F-1", 10.25), r("1", "F1", 10.5) }, { "1|F1|10.5" } },
    };
    std::vector<PriceRow> rows;
    QStringList kept;
    for (const Case& c : cases) {
        rows.insert(rows.end(), c.rows.begin(), c.rows.end());
        kept << c.kept;
    }
    PrepareFiles run(emptyTables(1), {});
    run.addWorkRows(rows);
    // a blank FPartNew is never thinned
    PriceRow blank1 = r("1", "", 5), blank2 = r("1", "", 9);
    run.addWorkRows({ blank1, blank2 });

    prepare::RemoveDuplicates(run.f);

    kept << QStringLiteral("1||5") << QStringLiteral("1||9");
    kept.sort();
    QStringList got = run.rows(QStringLiteral("Select Kind, PartNO, Price From PriceList"));
    got.sort();
    EXPECT_EQ(got, kept);
}

TEST(RemoveDuplicates, ProgressCountsTheKeys) {
    PrepareFiles run(emptyTables(1), {});
    run.addWorkRows({ workRow(QStringLiteral("1"), QStringLiteral("A"), 1),
        workRow(QString(), QStringLiteral("B"), 1) });

    prepare::RemoveDuplicates(run.f);

    EXPECT_EQ(run.fx.window.qtyHistory,
        (QStringList { QStringLiteral("กำลังหา PartNO ซ้ำ  VURE  (1)  50 %"),
            QStringLiteral("กำลังหา PartNO ซ้ำ  VURE  (0)  100 %") }));
    EXPECT_EQ(
        run.fx.window.partHistory, (QStringList { QStringLiteral("1-A"), QStringLiteral("B") }));
}

TEST(SplitWorkTable, TableOfEachPosition) {
    const std::pair<int32_t, int16_t> cases[]
        = { { 0, 1 }, { 9999, 1 }, { 10000, 2 }, { 19999, 2 }, { 20000, 3 }, { 489999, 49 },
              { 490000, 50 }, { 499999, 50 }, { 500000, 51 }, { 510000, 51 }, { INT32_MAX, 51 } };
    for (const auto& [l, w] : cases)
        EXPECT_EQ(prepare::SplitTableNumber(l), w) << l;
    // the chunk of one that the tests inject
    const std::pair<int32_t, int16_t> ofOne[]
        = { { 0, 1 }, { 49, 50 }, { 50, 51 }, { INT32_MAX, 51 } };
    for (const auto& [l, w] : ofOne)
        EXPECT_EQ(prepare::SplitTableNumber(l, 1), w) << l;
}

TEST(SplitWorkTable, FillsEachTableUpToItsChunkAndTheLastWithoutLimit) {
    PrepareFiles run(emptyTables(51), {});
    std::vector<PriceRow> rows;
    for (int i = 0; i < 55; ++i)
        rows.push_back(
            workRow(QStringLiteral("1"), QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')), i));
    run.addWorkRows(rows);

    prepare::SplitWorkTable(run.f, 1);

    for (int n = 1; n <= 50; ++n)
        EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_%1").arg(n)),
            QStringList { QStringLiteral("P%1").arg(n - 1, 3, 10, QLatin1Char('0')) });
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_51 Order By PartNO")),
        (QStringList { "P050", "P051", "P052", "P053", "P054" }));
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList")), QStringList());
}

TEST(SplitWorkTable, MovesRowsInPartOrderWithKindsAndBlanks) {
    PrepareFiles run(emptyTables(3), {});
    PriceRow padded = workRow(QStringLiteral("1"), QStringLiteral("A-1"), 10);
    padded.EName = QStringLiteral(" SPACED ");
    run.addWorkRows({ workRow(QStringLiteral("2"), QStringLiteral("K-1"), 3),
        workRow(QStringLiteral("1"), QStringLiteral("K-1"), 4),
        workRow(QString(), QStringLiteral("B-1"), 5),
        workRow(QStringLiteral("1"), QStringLiteral("B-1"), 6), padded,
        workRow(QStringLiteral("1"), QStringLiteral("C-1"), 7),
        workRow(QStringLiteral("1"), QStringLiteral("D'1"), 8) });

    prepare::SplitWorkTable(run.f, 3);

    QStringList all;
    for (int n = 1; n <= 3; ++n)
        for (const QString& r :
            run.rows(QStringLiteral("Select Kind, PartNO, EName, Price From PriceList_%1").arg(n)))
            all << QString::number(n) + QLatin1Char(':') + r;
    all.sort();
    EXPECT_EQ(all,
        (QStringList { "1:1|A-1| SPACED |10", "1:1|B-1|E|6", "1:|B-1|E|5", "2:1|C-1|E|7",
            "2:1|D'1|E|8", "2:2|K-1|E|3", "3:1|K-1|E|4" }));
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList")), QStringList());
    EXPECT_EQ(run.fx.window.qtyHistory.first(), QStringLiteral("กำลังแยกรายการสินค้า  (6)  14 %"));
    EXPECT_EQ(run.fx.window.qtyHistory.last(), QStringLiteral("กำลังแยกรายการสินค้า  (0)  100 %"));
}

TEST(ClearSplitPriceLists, EmptiesListedTablesInAscendingOrder) {
    PrepareFiles run({ { 3, { workRow("1", "C", 1) } }, { 1, { workRow("1", "A", 1) } },
                         { 2, { workRow("1", "B", 1) } } },
        {});
    auto clearSeeingDeletes = [&run] {
        QStringList deletes;
        ado::SetTraceHook([&](const QString& s) {
            if (s.startsWith(QLatin1String("Delete"))) deletes << s;
        });
        prepare::ClearSplitPriceLists(run.f);
        ado::SetTraceHook(nullptr);
        return deletes;
    };

    EXPECT_EQ(clearSeeingDeletes(),
        (QStringList {
            "Delete From PriceList_1", "Delete From PriceList_2", "Delete From PriceList_3" }));
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(
            run.rows(QStringLiteral("Select PartNO From PriceList_%1").arg(n)), QStringList());

    // an empty list touches no table, though the form still holds the numbers read before
    run.f.Execute(run.f.cnPriceList(), QStringLiteral("Delete From PriceList_Count"));
    storekit::InsertPriceRow(
        run.f.cnPriceList(), QStringLiteral("PriceList_1"), workRow("1", "A", 1));
    EXPECT_EQ(clearSeeingDeletes(), QStringList());
    EXPECT_EQ(run.rows(QStringLiteral("Select PartNO From PriceList_1")), QStringList { "A" });
}
