// The fixed clean-ups of the raw sheets and the HONDA part numbers.
#include "prepare/later.h"
#include "support/prepare_later_fixture.h"

#include <gtest/gtest.h>

using namespace preptest;
using Cells = storekit::RawRow;

namespace {

TEST(FixKindCodes, CutsKindsToOneCharacterOnTheSheetsOfPriceListCount) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceList"), { 2, 1 });
    t.sheet(QStringLiteral("PriceNew_1"),
        { Row({ { "Kind", "0.00" }, { "AKind_1", "1.00" }, { "AKind_2", "10" }, { "PartNO", "P1" },
              { "TName", "T1" }, { "Model_1", "M1" }, { "Model_2", "M2" } }),
            Row({ { "Kind", " 1" }, { "PartNO", "P2" }, { "TName", "T2" } }) });
    t.sheet(QStringLiteral("PriceNew_2"));

    prepare::FixKindCodes(t.form());

    EXPECT_EQ(t.rows(QStringLiteral("Kind, AKind_1, AKind_2, AKind_3, Model_3, Description"),
                  QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "0", "1", "1", "", "", "<Null>" }, { " ", "", "", "", "", "<Null>" } }));
    EXPECT_EQ(Std(t.qty()),
        Std({ QStringLiteral("กำลังแก้ Kind  VURE_1  (1)  50 %"),
            QStringLiteral("กำลังแก้ Kind  VURE_1  (0)  100 %") }));
    EXPECT_EQ(
        Std(t.parts()), Std({ QStringLiteral("0-P1  T1  M1, M2"), QStringLiteral("P2  T2  ") }));
}

TEST(FixedCleanUps, EachRepairsOnlyItsOwnValues) {
    using Op = void (*)(frmKordane&);
    struct Case {
        Op op;
        const char* column;
        rt::Value before;
        const char* after;
    };
    const Case cases[] = {
        { prepare::ClearUnknownThaiNames, "TName", "????", "" },
        { prepare::ClearUnknownThaiNames, "TName", "???", "???" },
        { prepare::ClearUnknownThaiNames, "TName", "????x", "????x" },
        { prepare::ClearDotModels, "Model_1", ".", "" },
        { prepare::ClearDotModels, "Model_12", ".", "" },
        { prepare::ClearDotModels, "Model_3", "..", ".." },
        { prepare::ClearLatinThaiNames, "TName", "Apple", "" },
        { prepare::ClearLatinThaiNames, "TName", "2018 kit", "" },
        { prepare::ClearLatinThaiNames, "TName", "2019 kit", "2019 kit" },
        { prepare::ClearLatinThaiNames, "TName", "Quartz", "Quartz" },
        { prepare::ClearLatinThaiNames, "TName", "Xenon", "Xenon" },
        { prepare::ClearLatinThaiNames, "TName", "Zinc", "Zinc" },
        { prepare::ClearLatinThaiNames, "TName", "ไฟหน้า", "ไฟหน้า" },
        { prepare::NormaliseKindValues, "AKind_1", rt::Value(), "0" },
        { prepare::NormaliseKindValues, "Kind", "0.00", "0" },
        { prepare::NormaliseKindValues, "AKind_5", "1.00", "1" },
        { prepare::NormaliseKindValues, "Kind", "0.0", "0.0" },
        { prepare::NormaliseKindValues, "AKind_2", "1.000", "1.000" },
    };
    for (const Case& c : cases) {
        PrepFiles t;
        const QString column = QLatin1String(c.column);
        t.sheet(QStringLiteral("PriceNew_1"),
            { Cells { { QStringLiteral("PartNO"), QStringLiteral("P") }, { column, c.before } } });
        c.op(t.form());
        EXPECT_EQ(t.rows(column, QStringLiteral("From PriceNew_1")), (Rows { { c.after } }))
            << c.column << " was '" << c.before.textOrEmpty().toStdString() << "'";
    }
}

TEST(FixEnglishNames, ClearsMisreadThaiAndCopiesEveryEnglishNameToTheThaiName) {
    PrepFiles t;
    t.sheet(QStringLiteral("PriceNew_1"),
        { Row({ { "EName", "เธญเธ" }, { "TName", "keep?" } }), Row({ { "EName", "Engine" } }),
            Row({ { "EName", " เธ" } }), Row({ { "TName", "x" } }), Row({ { "EName", "   " } }),
            Row({ { "ID", -1 }, { "EName", "เธX" } }) });

    prepare::FixEnglishNames(t.form());

    EXPECT_EQ(
        t.rows(QStringLiteral("ID, EName, TName"), QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "-1", "เธX", "เธX" }, { "1", "", "" }, { "2", "Engine", "Engine" },
            { "3", " เธ", " เธ" }, { "4", "", "" }, { "5", "   ", "   " } }));
    EXPECT_EQ(t.qty().first().toStdString(), "กำลังดึงข้อมูลมาแก้ไข (4)  20 %");
    EXPECT_EQ(t.parts().first().toStdString(), "-1 - เธX");
    EXPECT_EQ(t.qty().last().toStdString(), "กำลังแก้ไข (2)  60 %");
}

struct HondaFiles : PrepFiles {
    HondaFiles() {
        storekit::CreateLookupStore(store, QStringLiteral("P.45 (Bar)"), 7,
            { { "1", " 12345-XYZ-00 ", QStringLiteral("12345XYZ00"), {} },
                { "1", rt::Value(), QStringLiteral("NULLNO"), {} },
                { "1", "DUP-1a", QStringLiteral("DUP1"), {} },
                { "2", "DUP-1b", QStringLiteral("DUP1"), {} } });
        counts(QStringLiteral("PriceNew"), { 1, 2 });
        sheet(QStringLiteral("PriceNew_1"),
            { Row({ { "PartNO", "12345-XYZ 00" } }),
                Row({ { "PartNO", " UNKNOWN 1 " }, { "PartNew", "" } }),
                Row({ { "PartNO", "KEEP" }, { "PartNew", "given" }, { "FPartNO", "old" } }),
                Row({ { "PartNO", "NULL-NO" } }), Row({ { "PartNO", "DUP 1" } }) });
        sheet(QStringLiteral("PriceNew_2"), { Row({ { "PartNO", "A" }, { "PartNew", "a" } }) });
    }
};

TEST(FixHondaPartNumbers, TakesTheStoreSpellingOrFallsBackToThePartNumber) {
    HondaFiles t;
    frmKordane& f = t.form();
    f.OpenStoreConnection();
    f.mBrandID = 7;
    f.mStoreVersion = QStringLiteral("P.45 (Bar)");

    prepare::FixHondaPartNumbers(f);

    EXPECT_EQ(t.rows(QStringLiteral("PartNO, PartNew, FPartNO, Description, Price"),
                  QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "12345-XYZ 00", "12345-XYZ-00", "12345XYZ00", "<Null>", "0" },
            { " UNKNOWN 1 ", " UNKNOWN 1 ", "UNKNOWN1", "<Null>", "0" },
            { "KEEP", "given", "old", "<Null>", "0" },
            { "NULL-NO", "<Null>", "NULLNO", "<Null>", "0" },
            { "DUP 1", "DUP-1a", "DUP1", "<Null>", "0" } }));
    EXPECT_EQ(t.rows(QStringLiteral("PartNew, FPartNO"), QStringLiteral("From PriceNew_2")),
        (Rows { { "a", "" } }));
    const QString label = QStringLiteral("กำลังแก้ไข PartNO (HONDA)");
    EXPECT_EQ(Std(t.qty()),
        Std({ label, label + QStringLiteral("  (3)  25 %"), label + QStringLiteral("  (2)  50 %"),
            label + QStringLiteral("  (1)  75 %"), label + QStringLiteral("  (0)  100 %") }));
    EXPECT_EQ(Std(t.parts()),
        Std({ QStringLiteral(" UNKNOWN 1 "), QStringLiteral("12345-XYZ 00"),
            QStringLiteral("DUP 1"), QStringLiteral("NULL-NO") }));
}

// The set-wide statements of every operation on empty tables: their texts, trailing blanks
// included, their order and how many run.
TEST(LaterOperations, SetWideStatementsAsWritten) {
    using Op = void (*)(frmKordane&);
    struct Case {
        const char* name;
        Op op;
        int count;
        std::vector<std::pair<int, const char*>> at;
    };
    const Case cases[] = {
        { "MergeNewPriceList", prepare::MergeNewPriceList, 32,
            { { 0, "Update PriceList_New Set Kind = '' Where Kind Is Null" },
                { 27, "Update PriceList_New Set Import = '' Where Import Is Null" },
                { 29, "Update PriceList_New Set DisPrice = '' Where DisPrice Is Null" } } },
        { "FixFordPartNumbers", prepare::FixFordPartNumbers, 8,
            { { 1, "Update PriceNew_1 Set PartNO = '' Where PartNO Is Null" },
                { 7,
                    "Select PartNO, AltNO_1, AltNO_2, AltNO_3, AltNO_4, AltNO_5 From PriceNew_1 "
                    "Order By PartNO" } } },
        { "MergeLastFordPriceList", prepare::MergeLastFordPriceList, 46,
            { { 27, "Update PriceLast_1 Set Description = '' Where Description Is Null" },
                { 29, "Update PriceLast_1 Set Price = 0 Where Price Is Null" },
                { 32, "Delete From PriceLast_1 Where PartNO = ''" },
                { 33, "Update PriceLast_1 Set Model_1 = '' Where Model_1 = '-'" },
                { 44, "Update PriceLast_1 Set Model_12 = '' Where Model_12 = '-'" } } },
        { "NormaliseIsuzuKinds", prepare::NormaliseIsuzuKinds, 13,
            { { 1, "Update PriceNew_1 Set Kind = '0' Where Kind = '0.00' " },
                { 12, "Update PriceNew_1 Set AKind_5 = '1' Where AKind_5 = '1.00' " } } },
        { "DropShortIsuzuPartNumbers", prepare::DropShortIsuzuPartNumbers, 27,
            { { 1, "Update PriceNew_1 Set PartNO = '' Where PartNO Is Null " },
                { 3, "Update PriceNew_1 Set AltNO_1 = '' Where AltNO_1 Is Null " },
                { 12, "Update PriceNew_1 Set AKind_5 = '' Where AKind_5 Is Null " },
                { 13, "Delete From PriceNew_1 Where PartNO = '' " },
                { 26,
                    "Select Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, "
                    "AKind_4, AltNO_4, AKind_5, AltNO_5 From PriceNew_1 Order By Kind, "
                    "PartNO" } } },
        { "FillIsuzuKinds", prepare::FillIsuzuKinds, 30,
            { { 3, "Update PriceNew_1 Set AKind_1 = '' Where AKind_1 Is Null" },
                { 13, "Update PriceNew_1 Set TName = '' Where TName Is Null" },
                { 26,
                    "Select Kind, PartNO, TName From PriceNew_1 Where Kind = '' Order By PartNO" },
                { 27, "Update PriceNew_1 Set Kind = 0 Where Kind = '' " },
                { 28,
                    "Select AKind_1, AltNO_1, TName From PriceNew_1 Where AKind_1 = '' Order By "
                    "PartNO" },
                { 29, "Update PriceNew_1 Set AKind_1 = 0 Where AKind_1 = '' " } } },
        { "SplitAlternateNumbers", prepare::SplitAlternateNumbers, 12,
            { { 1, "Update PriceNew_1 Set AKind_1 = '' " },
                { 10, "Update PriceNew_1 Set AltNO_5 = '' Where AltNO_5 Is Null" },
                { 11,
                    "Select ID, AltNO_1, AltNO_2, AltNO_3, AltNO_4, AltNO_5 From PriceNew_1 Where "
                    "AltNO_1 <> '' " } } },
        { "FixKindCodes", prepare::FixKindCodes, 22,
            { { 7, "Update PriceNew_1 Set PartNO = '' Where PartNO Is Null" },
                { 20, "Update PriceNew_1 Set Model_12 = '' Where Model_12 Is Null" } } },
        { "FixEnglishNames", prepare::FixEnglishNames, 3,
            { { 0, "Update PriceNew_1 Set EName = '' Where EName Is Null " },
                { 2, "Update PriceNew_1 Set TName = EName " } } },
        { "ClearUnknownThaiNames", prepare::ClearUnknownThaiNames, 1,
            { { 0, "Update PriceNew_1 Set TName = '' Where TName = '?\?\?\?' " } } },
        { "ClearDotModels", prepare::ClearDotModels, 12,
            { { 11, "Update PriceNew_1 Set Model_12 = '' Where Model_12 = '.' " } } },
        { "NormaliseKindValues", prepare::NormaliseKindValues, 18,
            { { 5, "Update PriceNew_1 Set AKind_5 = 0 Where AKind_5 Is Null " },
                { 6, "Update PriceNew_1 Set Kind = '0' Where Kind = '0.00' " } } },
        { "ClearLatinThaiNames", prepare::ClearLatinThaiNames, 24,
            { { 0, "Update PriceNew_1 Set TName = '' Where TName Like '2018%' " },
                { 23, "Update PriceNew_1 Set TName = '' Where TName Like 'Y%' " } } },
        { "FixHondaPartNumbers", prepare::FixHondaPartNumbers, 35,
            { { 2, "Update PriceNew_1 Set FPartNO = '' Where FPartNO Is Null" },
                { 3, "Update PriceNew_1 Set PartNew = '' Where PartNew Is Null" },
                { 29, "Update PriceNew_1 Set Import = '' Where Import Is Null" },
                { 32, "Update PriceNew_1 Set Sale = 0 Where Sale Is Null" },
                { 34, "Update PriceNew_1 Set PartNew = PartNO Where PartNew = '' " } } },
    };
    for (const Case& c : cases) {
        PrepFiles t;
        for (const char* family : { "PriceNew", "PriceList", "PriceLast" })
            t.counts(QLatin1String(family), { 1 });
        t.sheet(QStringLiteral("PriceNew_1"));
        storekit::CreateSupplierTable(t.cn, QStringLiteral("PriceLast_1"), false);
        storekit::CreateSupplierTable(t.cn, QStringLiteral("PriceList_New"), true);
        frmKordane& f = t.form();
        Trace trace;
        c.op(f);
        EXPECT_EQ(trace.statements.size(), c.count) << c.name;
        for (const auto& [i, text] : c.at) {
            ASSERT_LT(i, trace.statements.size()) << c.name;
            EXPECT_EQ(trace.statements[i].toStdString(), text) << c.name << " #" << i;
        }
    }
}

} // namespace
