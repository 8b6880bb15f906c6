// A later supplier list merged into the first raw sheet, and its prices carried into the
// numbered tables.
#include "prepare/later.h"
#include "support/prepare_later_fixture.h"

#include <gtest/gtest.h>

using namespace preptest;
using Cells = storekit::RawRow;

namespace {

const QString kPrices = QStringLiteral("Kind, PartNO, EName, Price, DisPrice, Sale, Description");

Cells NewListRow(const rt::Value& kind, const QString& partNo, double price, const QString& dis,
    double sale, const QString& eName = {}) {
    return { { QStringLiteral("Kind"), kind }, { QStringLiteral("PartNO"), partNo },
        { QStringLiteral("EName"), eName }, { QStringLiteral("Price"), price },
        { QStringLiteral("DisPrice"), dis }, { QStringLiteral("Sale"), sale } };
}

struct MergeFiles : PrepFiles {
    MergeFiles() {
        sheet(QStringLiteral("PriceNew_1"),
            { NewListRow("1", QStringLiteral("A-1"), 100, QStringLiteral("d0"), 90,
                  QStringLiteral("old A")),
                NewListRow("1", QStringLiteral("B-2"), 50, QStringLiteral("d0"), 45,
                    QStringLiteral("keep B")),
                NewListRow("2", QStringLiteral("B-2"), 50, QStringLiteral("d0"), 45,
                    QStringLiteral("other kind")),
                NewListRow("", QStringLiteral("C-3"), 10, QStringLiteral("d0"), 10),
                NewListRow("3", QStringLiteral("C-3"), 10, QStringLiteral("d0"), 10),
                NewListRow("9", QStringLiteral("Z-9"), 1, QStringLiteral("d0"), 1) });
        storekit::CreateSupplierTable(cn, QStringLiteral("PriceList_New"), true);
    }
};

TEST(MergeNewPriceList, UpdatesKnownPartsCopiesNewOnesAndLeavesTheRest) {
    MergeFiles t;
    Cells newPart = NewListRow(
        "4", QStringLiteral("N-4"), 30, QStringLiteral("dN"), 25, QStringLiteral("brand new"));
    newPart.push_back({ QStringLiteral("Description"), QStringLiteral("desc") });
    newPart.push_back({ QStringLiteral("TName"), QStringLiteral("ใหม่") });
    Cells second = NewListRow(
        "4", QStringLiteral("N-4"), 30, QStringLiteral("dN"), 25, QStringLiteral("second"));
    second.push_back({ QStringLiteral("Description"), rt::Value() });
    t.insert(QStringLiteral("PriceList_New"),
        { NewListRow("1", QStringLiteral("A-1"), 100, QStringLiteral("dX"), 90,
              QStringLiteral("new A")), // same prices: nothing written
            NewListRow("1", QStringLiteral("B-2"), 60, QStringLiteral("dB"), 55),
            NewListRow(" ", QStringLiteral("C-3"), 20, QStringLiteral("dC"), 20), // every kind
            newPart, second, // the first record copies both, the second finds its prices
            NewListRow(rt::Value(), QStringLiteral(""), 5, QStringLiteral("x"), 5),
            NewListRow("6", QStringLiteral("O'NEIL"), 7, QStringLiteral("d'7"), 7) });

    prepare::MergeNewPriceList(t.form());

    const Rows expected {
        { "1", "A-1", "old A", "100", "d0", "90", "<Null>" },
        { "1", "B-2", "keep B", "60", "dB", "55", "<Null>" },
        { "2", "B-2", "other kind", "50", "d0", "45", "<Null>" },
        { "", "C-3", "", "20", "dC", "20", "<Null>" },
        { "3", "C-3", "", "20", "dC", "20", "<Null>" },
        { "9", "Z-9", "", "1", "d0", "1", "<Null>" },
        { "4", "N-4", "brand new", "30", "dN", "25", "desc" },
        { "4", "N-4", "second", "30", "dN", "25", "" },
        { "6", "O'NEIL", "", "7", "d'7", "7", "" },
    };
    EXPECT_EQ(t.rows(kPrices, QStringLiteral("From PriceNew_1 Order By ID")), expected);
    // The later list lost its Nulls in the columns read, and nothing else.
    EXPECT_TRUE(t.rows(QStringLiteral("PartNO"),
                     QStringLiteral("From PriceList_New Where Kind Is Null Or Description Is Null "
                                    "Or Model_12 Is Null Or Price Is Null"))
                    .empty());
    EXPECT_EQ(
        t.rows(QStringLiteral("PartNO"), QStringLiteral("From PriceList_New Where PartNew Is Null"))
            .size(),
        7u);
    EXPECT_EQ(t.f.w.text(win::Box::txtQTY).toStdString(), "กำลังแก้ไขราคา  (0)  100 %");
    EXPECT_EQ(
        t.parts().mid(0, 2), (QStringList { QStringLiteral("    "), QStringLiteral("1-A-1    ") }));
    EXPECT_EQ(t.qty().first().toStdString(), "กำลังดึงข้อมูลมาแก้  (6)  14 %");
}

TEST(MergeNewPriceList, StatementsOfACopyAndAnUpdate) {
    MergeFiles t;
    t.insert(QStringLiteral("PriceList_New"),
        { NewListRow("", QStringLiteral("B-2"), 60, QStringLiteral("dB"), 55),
            NewListRow("7", QStringLiteral("N-7"), 7.5, QStringLiteral(""), 7) });
    Trace trace;
    prepare::MergeNewPriceList(t.form());
    const QStringList tail = trace.statements.mid(31 + 1); // Null fixes and the load
    EXPECT_EQ(Std(tail),
        Std({ QStringLiteral("Select PartNO From PriceNew_1 Where PartNO = 'B-2' And Price = 60 "
                             "And Sale = 55"),
            QStringLiteral("Select PartNO From PriceNew_1 Where PartNO = 'B-2'"),
            QStringLiteral("Update PriceNew_1 Set Price = 60, DisPrice = 'dB', Sale = 55 Where "
                           "PartNO = 'B-2'"),
            QStringLiteral("Select PartNO From PriceNew_1 Where PartNO = 'B-2' And Price = 60 "
                           "And Sale = 55"),
            QStringLiteral("Select PartNO From PriceNew_1 Where Kind = '7' And PartNO = 'N-7' And "
                           "Price = 7.5 And Sale = 7"),
            QStringLiteral("Select PartNO From PriceNew_1 Where Kind = '7' And PartNO = 'N-7'"),
            QStringLiteral("Insert Into PriceNew_1 (Kind, PartNO, AKind_1, AltNO_1, AKind_2, "
                           "AltNO_2, AKind_3, AltNO_3, AKind_4, AltNO_4, AKind_5, AltNO_5, EName, "
                           "TName, Model_1, Model_2, Model_3, Model_4, Model_5, Model_6, Model_7, "
                           "Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, "
                           "Price, Disprice, Sale) Select Kind, PartNO, AKind_1, AltNO_1, "
                           "AKind_2, AltNO_2, AKind_3, AltNO_3, AKind_4, AltNO_4, AKind_5, "
                           "AltNO_5, EName, TName, Model_1, Model_2, Model_3, Model_4, Model_5, "
                           "Model_6, Model_7, Model_8, Model_9, Model_10, Model_11, Model_12, "
                           "Description, Import, Price, Disprice, Sale From PriceList_New Where "
                           "Kind = '7' And PartNO = 'N-7'"),
            QStringLiteral("Select PartNO From PriceNew_1 Where Kind = '7' And PartNO = 'N-7' And "
                           "Price = 7.5 And Sale = 7") }));
    EXPECT_EQ(trace.statements.first().toStdString(),
        "Update PriceList_New Set Kind = '' Where Kind Is Null");
    EXPECT_EQ(
        trace.statements[30].toStdString(), "Update PriceList_New Set Sale = 0 Where Sale Is Null");
}

// A copy that brings in a row at other prices than the record's: the second round updates the
// copied row and reads it back, and the list goes on to its end.
TEST(MergeNewPriceList, SecondRoundUpdatesWhatTheCopyBroughtIn) {
    struct Case {
        const char* what;
        std::vector<Cells> later;
        Rows merged; // PriceNew_1 Where PartNO = 'X'
    };
    const Case cases[] = {
        { "a blank before the number: the copy takes the row without it",
            { NewListRow("5", QStringLiteral(" X"), 10, QStringLiteral("d10"), 10,
                  QStringLiteral("spaced")),
                NewListRow("5", QStringLiteral("X"), 20, QStringLiteral("d20"), 20,
                    QStringLiteral("plain")) },
            { { "5", "X", "plain", "20", "d20", "20", "" } } },
        { "a price with more than four decimals",
            { NewListRow("5", QStringLiteral("X"), 10.123456, QStringLiteral("dF"), 10.123456,
                QStringLiteral("fine")) },
            { { "5", "X", "fine", "10.1235", "dF", "10.1235", "" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MergeFiles t;
        t.insert(QStringLiteral("PriceList_New"), c.later);
        t.insert(QStringLiteral("PriceList_New"),
            { NewListRow("1", QStringLiteral("N-8"), 60, QStringLiteral("dN"), 55) });

        EXPECT_NO_THROW(prepare::MergeNewPriceList(t.form()));

        EXPECT_EQ(t.rows(kPrices, QStringLiteral("From PriceNew_1 Where PartNO = 'X' Order By ID")),
            c.merged);
        // the record after it was merged too
        EXPECT_EQ(
            t.rows(kPrices, QStringLiteral("From PriceNew_1 Where PartNO = 'N-8' Order By ID")),
            (Rows { { "1", "N-8", "", "60", "dN", "55", "" } }));
    }
}

// A part number of blanks only is looked for as an empty number, which the copy cannot bring
// in: two rounds of write and read-back, then the operation ends with the part named.
TEST(MergeNewPriceList, EndsOnAPartItCannotBringIn) {
    MergeFiles t;
    t.insert(QStringLiteral("PriceList_New"),
        { NewListRow("1", QStringLiteral("   "), 5, QStringLiteral(""), 5),
            NewListRow("1", QStringLiteral("B-2"), 60, QStringLiteral("dB"), 55) });
    Trace trace;
    try {
        prepare::MergeNewPriceList(t.form());
        FAIL() << "no error";
    } catch (const rt::RunError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("PriceNew_1"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("part '   ' (kind '1')"))) << e.what();
    }
    EXPECT_EQ(trace.startingWith(QStringLiteral("Insert Into PriceNew_1")).size(), 2);
    EXPECT_EQ(trace.statements.last().toStdString(),
        "Select PartNO From PriceNew_1 Where Kind = '1' And PartNO = '' And Price = 5 And Sale = "
        "5");
    // what ran before stays; nothing after it ran
    EXPECT_EQ(t.rows(kPrices, QStringLiteral("From PriceNew_1 Where PartNO = 'B-2' Order By ID")),
        (Rows { { "1", "B-2", "keep B", "50", "d0", "45", "<Null>" },
            { "2", "B-2", "other kind", "50", "d0", "45", "<Null>" } }));
}

TEST(MergeNewPriceList, MissingLaterListIsNamed) {
    PrepFiles t;
    t.sheet(QStringLiteral("PriceNew_1"));
    EXPECT_THROW(
        {
            try {
                prepare::MergeNewPriceList(t.form());
            } catch (const rt::RunError& e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("PriceList_New"))) << e.what();
                throw;
            }
        },
        rt::RunError);
}

struct SplitFiles : PrepFiles {
    SplitFiles() {
        counts(QStringLiteral("PriceList"), { 2, 1 });
        const auto cols = storekit::PriceRowTableColumns();
        storekit::CreateTable(cn, QStringLiteral("PriceList_1"), cols);
        storekit::CreateTable(cn, QStringLiteral("PriceList_2"), cols);
        using storekit::MakePriceRow;
        storekit::InsertPriceRow(cn, QStringLiteral("PriceList_1"),
            MakePriceRow(QStringLiteral("1"), QStringLiteral("A-1"), {}, {}, 10, 10));
        storekit::InsertPriceRow(cn, QStringLiteral("PriceList_1"),
            MakePriceRow(QStringLiteral("2"), QStringLiteral("B 2"), {}, {}, 20, 20));
        storekit::InsertPriceRow(cn, QStringLiteral("PriceList_2"),
            MakePriceRow(QStringLiteral("1"), QStringLiteral("A-1"), {}, {}, 10, 10));
        storekit::InsertPriceRow(cn, QStringLiteral("PriceList_2"),
            MakePriceRow(QStringLiteral("3"), QStringLiteral("C/3"), {}, {}, 30, 30));
        storekit::CreateSupplierTable(cn, QStringLiteral("PriceList_New"), true);
    }
    void later(const QString& kind, const QString& partNo, const QString& fPartNew, double price,
        const QString& model1 = {}, const rt::Value& eName = QString()) {
        Cells c { { QStringLiteral("Kind"), kind }, { QStringLiteral("PartNO"), partNo },
            { QStringLiteral("PartNew"), partNo }, { QStringLiteral("FPartNew"), fPartNew },
            { QStringLiteral("EName"), eName }, { QStringLiteral("TName"), QStringLiteral("T") },
            { QStringLiteral("Model_1"), model1 }, { QStringLiteral("Description"), QString() },
            { QStringLiteral("Import"), QString() }, { QStringLiteral("Price"), price },
            { QStringLiteral("DisPrice"), QStringLiteral("d") },
            { QStringLiteral("Sale"), price } };
        for (int k = 1; k <= 5; ++k) {
            c.push_back({ QStringLiteral("AKind_%1").arg(k), QString() });
            c.push_back({ QStringLiteral("AltNO_%1").arg(k), QString() });
        }
        for (int k = 2; k <= 12; ++k)
            c.push_back({ QStringLiteral("Model_%1").arg(k), QString() });
        insert(QStringLiteral("PriceList_New"), { c });
    }
    Rows table(int n) {
        return rows(QStringLiteral("Kind, PartNO, FPartNew, Price, DisPrice, Sale"),
            QStringLiteral("From PriceList_%1 Order By rowid").arg(n));
    }
};

TEST(ApplyNewPricesToSplitLists, FirstTableHoldingThePartGetsThePricesNewPartsGoLast) {
    SplitFiles t;
    t.later(
        QStringLiteral("1"), QStringLiteral("A-1"), QStringLiteral("A1"), 11, QStringLiteral("M1"));
    t.later(QStringLiteral(" "), QStringLiteral("C/3"), QStringLiteral(" C3 "), 33); // every kind
    t.later(QStringLiteral("5"), QStringLiteral("B 2 "), QStringLiteral("B2"), 22); // other kind
    t.later(QStringLiteral("7"), QStringLiteral("N-7"), QStringLiteral("N7"), 70);
    t.later(QStringLiteral("7"), QStringLiteral("N7"), QStringLiteral("N7"), 71); // finds N-7
    t.later(QStringLiteral("8"), QString(), QStringLiteral("E"), 1); // no part number

    prepare::ApplyNewPricesToSplitLists(t.form());

    EXPECT_EQ(t.table(1),
        (Rows { { "1", "A-1", "A1", "11", "d", "11" }, { "2", "B 2", "B2", "20", "", "20" } }));
    EXPECT_EQ(t.table(2),
        (Rows { { "1", "A-1", "A1", "10", "", "10" }, { "3", "C/3", "C3", "33", "d", "33" },
            { "5", "B 2 ", "B2", "22", "d", "22" }, { "7", "N-7", "N7", "71", "d", "71" } }));
    EXPECT_EQ(t.parts().first().toStdString(), "8-  T  ");
    EXPECT_EQ(t.parts()[1].toStdString(), "1-A-1  T  M1");
    EXPECT_EQ(t.f.w.text(win::Box::txtQTY).toStdString(), "กำลังแก้ไขราคา  (0)  100 %");
}

TEST(ApplyNewPricesToSplitLists, ANullInTheLaterListEndsItBeforeAnyWrite) {
    SplitFiles t;
    t.later(QStringLiteral("1"), QStringLiteral("A-1"), QStringLiteral("A1"), 11);
    t.later(QStringLiteral("9"), QStringLiteral("X-9"), QStringLiteral("X9"), 9, {}, rt::Value());
    try {
        prepare::ApplyNewPricesToSplitLists(t.form());
        FAIL() << "no error";
    } catch (const rt::RunError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("EName")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("PriceList_New")));
    }
    EXPECT_EQ(t.table(1)[0], (std::vector<std::string> { "1", "A-1", "A1", "10", "", "10" }));
}

TEST(ApplyNewPricesToSplitLists, EmptyCountTableReadsNothingElse) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceList"), {});
    Trace trace;
    prepare::ApplyNewPricesToSplitLists(t.form()); // PriceList_New does not even exist
    EXPECT_EQ(Std(trace.statements),
        Std({ QStringLiteral("Select Count From PriceList_Count Order By Count") }));
}

// A count that is Null or outside the 16-bit range names the list it stands in.
TEST(NumberLists, BadCountNamesItsTable) {
    using Op = void (*)(frmKordane&);
    struct Case {
        Op op;
        const char* family;
        const char* count;
        const char* error;
    };
    const Case cases[] = {
        { prepare::FixFordPartNumbers, "PriceNew", "Null", "Invalid use of Null" },
        { prepare::MergeLastFordPriceList, "PriceLast", "40000", "Overflow" },
        { prepare::FixKindCodes, "PriceList", "Null", "Invalid use of Null" },
        { prepare::ApplyNewPricesToSplitLists, "PriceList", "-40000", "Overflow" },
    };
    for (const Case& c : cases) {
        PrepFiles t;
        const QString family = QLatin1String(c.family);
        t.counts(family, { 1 });
        t.exec(QStringLiteral("Insert Into %1_Count Values( %2 )")
                   .arg(family, QLatin1String(c.count)));
        try {
            c.op(t.form());
            ADD_FAILURE() << c.family << ": no error";
        } catch (const rt::RunError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.error))) << e.what();
            EXPECT_TRUE(e.message().startsWith(family + QStringLiteral("_Count"))) << e.what();
        }
    }
}

} // namespace
