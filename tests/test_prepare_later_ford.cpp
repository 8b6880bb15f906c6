// FORD lists: squeezed part numbers in the raw sheets, and the PriceLast lists merged into the
// first raw sheet.
#include "prepare/later.h"
#include "support/prepare_later_fixture.h"

#include <gtest/gtest.h>

using namespace preptest;
using Cells = storekit::RawRow;

namespace {

Cells Numbers(
    const rt::Value& partNo, const rt::Value& alt1 = QString(), const rt::Value& alt2 = QString()) {
    return { { QStringLiteral("Kind"), QStringLiteral("K") }, { QStringLiteral("PartNO"), partNo },
        { QStringLiteral("AltNO_1"), alt1 }, { QStringLiteral("AltNO_2"), alt2 },
        { QStringLiteral("EName"), QStringLiteral("a - b / c") } };
}

TEST(FixFordPartNumbers, SqueezesPartAndReplacementNumbersOfEverySheet) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceNew"), { 3, 1 });
    t.sheet(QStringLiteral("PriceNew_1"),
        { Numbers(QStringLiteral(" 12 34/56-7 "), QStringLiteral(" 9-8 "), QStringLiteral("   ")),
            Numbers(rt::Value(), rt::Value(), QStringLiteral("A/B")) });
    t.sheet(QStringLiteral("PriceNew_3"),
        { Numbers(QStringLiteral("D")), Numbers(QStringLiteral("C")), Numbers(QStringLiteral("B")),
            Numbers(QStringLiteral("A")) });

    prepare::FixFordPartNumbers(t.form());

    const QString columns
        = QStringLiteral("Kind, PartNO, AltNO_1, AltNO_2, AltNO_3, AltNO_4, AltNO_5, EName");
    EXPECT_EQ(t.rows(columns, QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "K", "1234567", "98", "", "", "", "", "a - b / c" },
            { "K", "", "", "AB", "", "", "", "a - b / c" } }));
    const QString label = QStringLiteral("กำลังแก้ไข PartNO (FORD)");
    EXPECT_EQ(Std(t.qty()),
        Std({ label, label + QStringLiteral("  (1)  50 %"), label + QStringLiteral("  (0)  100 %"),
            label + QStringLiteral("  (3)  25 %"), label + QStringLiteral("  (2)  50 %"),
            label + QStringLiteral("  (1)  75 %"), label + QStringLiteral("  (0)  100 %") }));
    EXPECT_EQ(Std(t.parts().mid(0, 3)),
        Std({ QString(), QStringLiteral(" 12 34/56-7 "), QStringLiteral("A") }));
}

TEST(FixFordPartNumbers, EmptyCountTableTouchesNoSheet) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceNew"), {});
    Trace trace;
    prepare::FixFordPartNumbers(t.form());
    EXPECT_EQ(trace.statements.size(), 1);
    EXPECT_EQ(Std(t.qty()), Std({ QStringLiteral("กำลังแก้ไข PartNO (FORD)") }));
}

Cells Last(const rt::Value& partNo, std::initializer_list<std::pair<const char*, rt::Value>> more) {
    Cells c { { QStringLiteral("PartNO"), partNo } };
    const Cells rest = Row(more);
    c.insert(c.end(), rest.begin(), rest.end());
    return c;
}

struct FordFiles : PrepFiles {
    FordFiles() {
        counts(QStringLiteral("PriceLast"), { 2, 1 });
        sheet(QStringLiteral("PriceNew_1"),
            { Last(QStringLiteral("1234"),
                  { { "Kind", "1" }, { "AKind_1", "0" }, { "AltNO_1", "X" }, { "EName", "oldE" },
                      { "TName", "oldT" }, { "Model_1", "m1" }, { "Description", "D" },
                      { "Price", 5 }, { "DisPrice", "old" }, { "Sale", 5 } }),
                Last(QStringLiteral("1234"), { { "Kind", "2" } }) });
        storekit::CreateSupplierTable(cn, QStringLiteral("PriceLast_1"), false);
        storekit::CreateSupplierTable(cn, QStringLiteral("PriceLast_2"), false);
        insert(QStringLiteral("PriceLast_1"),
            { Last(QStringLiteral("12 34"),
                  { { "Kind", "9" }, { "EName", "" }, { "TName", "new*T'" }, { "Model_1", "-" },
                      { "Model_2", "mm2" }, { "AltNO_1", " 7-7 " }, { "DisPrice", "dis." },
                      { "Price", 0 } }),
                Last(rt::Value(), { { "EName", "dropped" } }),
                Last(QStringLiteral("N 1"),
                    { { "Kind", " 3 " }, { "EName", "E1" }, { "Import", "imp" }, { "Model_1", "a" },
                        { "Description", "not carried" }, { "Price", 10 }, { "Sale", 9 } }),
                Last(QStringLiteral("N-1"),
                    { { "Kind", "4" }, { "EName", "E2" }, { "Price", 11 }, { "Sale", 11 } }) });
        insert(QStringLiteral("PriceLast_2"),
            { Last(QStringLiteral("1234"), { { "EName", "E3" }, { "Price", 6 }, { "Sale", 6 } }) });
    }
};

TEST(MergeLastFordPriceList, CleansTheListsAndMergesThemOnTheSqueezedNumber) {
    FordFiles t;
    Trace trace;
    prepare::MergeLastFordPriceList(t.form());

    const QString columns = QStringLiteral("Kind, PartNO, AKind_1, AltNO_1, EName, TName, Import, "
                                           "Model_1, Model_2, Description, Price, DisPrice, Sale");
    EXPECT_EQ(t.rows(columns, QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows {
            { "1", "1234", "0", "77", "E3", "newT", "<Null>", "m1", "mm2", "D", "6", "dis", "6" },
            { "2", "1234", "<Null>", "77", "E3", "newT", "<Null>", "<Null>", "mm2", "<Null>", "6",
                "dis", "6" },
            { "3", "N1", "", "", "E2", "", "imp", "a", "", "<Null>", "11", "", "11" },
        }));
    // rows without a part number leave the list; models "-" are emptied there
    EXPECT_EQ(t.rows(QStringLiteral("PartNO, Model_1, Sale"),
                  QStringLiteral("From PriceLast_1 Order By PartNO")),
        (Rows { { "12 34", "", "0" }, { "N 1", "a", "9" }, { "N-1", "", "11" } }));

    QStringList inserts;
    for (const QString& s : trace.statements)
        if (s.startsWith(QLatin1String("Insert"))) inserts << s;
    ASSERT_EQ(inserts.size(), 1);
    EXPECT_TRUE(inserts[0].startsWith(
        QStringLiteral("Insert Into PriceNew_1 (Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, "
                       "AKind_3, AltNO_3, AKind_4, AltNO_4, AKind_5, AltNO_5, EName, TName, "
                       "Import, Model_1, Model_2, Model_3, Model_4, Model_5, Model_6, Model_7, "
                       "Model_8, Model_9, Model_10, Model_11, Model_12, Price, DisPrice, Sale) "
                       "Values( '3', 'N1', '', '', ")))
        << inserts[0].toStdString();
    EXPECT_TRUE(inserts[0].endsWith(QStringLiteral("'', 10, '', 9 )")));
    EXPECT_EQ(Std(t.qty().mid(0, 4)),
        Std({ QStringLiteral("กำลังรวมข้อมูล FORD (2)  33 %"),
            QStringLiteral("กำลังรวมข้อมูล FORD (1)  66 %"),
            QStringLiteral("กำลังรวมข้อมูล FORD (0)  100 %"),
            QStringLiteral("กำลังรวมข้อมูล FORD (0)  100 %") }));
    EXPECT_EQ(t.parts().first().toStdString(), "1234 - newT");
}

TEST(MergeLastFordPriceList, MissingListedTableIsNamedAfterEarlierOnesMerged) {
    FordFiles t;
    t.exec(QStringLiteral("Insert Into PriceLast_Count Values( 5 )"));
    try {
        prepare::MergeLastFordPriceList(t.form());
        FAIL() << "no error";
    } catch (const rt::RunError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("PriceLast_5"))) << e.what();
    }
    EXPECT_EQ(t.rows(QStringLiteral("EName"), QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "E3" }, { "E3" }, { "E2" } }));
}

} // namespace
