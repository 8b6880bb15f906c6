// ISUZU lists: decimal kinds, short part numbers, kinds from the store, comma lists of
// replacement numbers.
#include "prepare/later.h"
#include "support/prepare_later_fixture.h"

#include <array>
#include <gtest/gtest.h>

using namespace preptest;
using Cells = storekit::RawRow;

namespace {

const QString kKinds = QStringLiteral("Kind, AKind_1, AKind_2, AKind_5");

TEST(NormaliseIsuzuKinds, RewritesExactDecimalKindsOfEverySheet) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceNew"), { 2, 1 });
    const std::vector<Cells> rows { Row({ { "Kind", "0.00" }, { "AKind_1", "1.00" },
                                        { "AKind_2", "0.00 " }, { "AKind_5", "0.00" } }),
        Row({ { "Kind", "1.00" }, { "AKind_1", "2.00" }, { "AKind_2", "0.0" } }) };
    t.sheet(QStringLiteral("PriceNew_1"), rows);
    t.sheet(QStringLiteral("PriceNew_2"), rows);

    prepare::NormaliseIsuzuKinds(t.form());

    const Rows expected { { "0", "1", "0.00 ", "0" }, { "1", "2.00", "0.0", "<Null>" } };
    EXPECT_EQ(t.rows(kKinds, QStringLiteral("From PriceNew_1 Order By ID")), expected);
    EXPECT_EQ(t.rows(kKinds, QStringLiteral("From PriceNew_2 Order By ID")), expected);
    EXPECT_EQ(Std(t.qty()), Std({ QStringLiteral("กำลังแก้ไข Kind ของ ISUZU") }));
    EXPECT_EQ(Std(t.parts()), Std({ QString() }));
}

TEST(DropShortIsuzuPartNumbers, DeletesShortPartsAndClearsShortReplacements) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceNew"), { 1 });
    t.sheet(QStringLiteral("PriceNew_1"),
        { Row({ { "Kind", "1" }, { "PartNO", "1234567890" }, { "AKind_1", "1" },
              { "AltNO_1", "123456789" }, { "AltNO_2", "1234567890" }, { "AltNO_3", "   " },
              { "AltNO_4", "" } }),
            Row({ { "Kind", "1" }, { "PartNO", "123456789" } }), // 9 characters
            Row({ { "Kind", "1" }, { "PartNO", "123456789 " } }), // 10 with the blank
            Row({ { "EName", "no number" } }),
            Row({ { "Kind", "0.00" }, { "PartNO", "   " }, { "AltNO_1", "short" } }),
            Row({ { "Kind", "2" }, { "PartNO", "ABCDEFGHIJ" }, { "AKind_2", "1" },
                { "AltNO_2", "" } }),
            Row({ { "Kind", "2" }, { "PartNO", "ABCDEFGHIJ" }, { "AKind_2", "1" },
                { "AltNO_2", "SHORT" } }),
            Row({ { "Kind", "3" }, { "PartNO", "SHORT" } }),
            Row({ { "Kind", "3" }, { "PartNO", "SHORT" } }) });

    prepare::DropShortIsuzuPartNumbers(t.form());

    EXPECT_EQ(
        t.rows(QStringLiteral("ID, Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AltNO_3, "
                              "AltNO_4, AltNO_5"),
            QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows {
            { "1", "1", "1234567890", "", "", "", "1234567890", "   ", "", "" },
            { "3", "1", "123456789 ", "", "", "", "", "", "", "" },
            { "5", "0", "   ", "", "short", "", "", "", "", "" },
            { "6", "2", "ABCDEFGHIJ", "", "", "", "", "", "", "" },
            { "7", "2", "ABCDEFGHIJ", "", "", "", "", "", "", "" },
        }));
    const QString label = QStringLiteral("กำลัง PartNO ที่จำนวนเพียง 9 ตัวอักษร ของ ISUZU");
    EXPECT_EQ(t.qty()[1].toStdString(), (label + QStringLiteral(" (7)  12 %")).toStdString());
    EXPECT_EQ(t.qty().last().toStdString(), (label + QStringLiteral(" (0)  100 %")).toStdString());
    EXPECT_EQ(Std(t.parts().mid(0, 3)),
        Std({ QString(), QStringLiteral("0-   "), QStringLiteral("1-123456789") }));
}

struct IsuzuFiles : PrepFiles {
    IsuzuFiles() {
        storekit::CreateLookupStore(store, QStringLiteral("V.31"), 12,
            { { "1", "P-ONE", {}, QStringLiteral("x") }, { "2", "P-TWO", {}, QStringLiteral("ก") },
                { "3", "P-TWO", {}, QStringLiteral("ข") },
                { "4", "P-SAME", {}, QStringLiteral("ง") },
                { "5", "P-SAME", {}, QStringLiteral("ง") },
                { rt::Value(), "P-NULL", {}, QStringLiteral("x") },
                { "6", "P-NULL", {}, QStringLiteral("y") } });
        counts(QStringLiteral("PriceNew"), { 1 });
        sheet(QStringLiteral("PriceNew_1"),
            { Row({ { "Kind", "" }, { "PartNO", "P-ONE" }, { "TName", "t" }, { "AKind_1", "" },
                  { "AltNO_1", "P-TWO" } }),
                Row({ { "PartNO", "P-TWO" }, { "TName", "ข" }, { "AltNO_1", "P-ONE" } }),
                Row({ { "Kind", "" }, { "PartNO", "P-TWO" }, { "TName", "ค" },
                    { "AKind_1", "0.00" } }),
                Row({ { "Kind", "" }, { "PartNO", "P-SAME" }, { "TName", "ง" }, { "AKind_1", "" },
                    { "AltNO_1", "" } }),
                Row({ { "Kind", "" }, { "PartNO", "P-NULL" }, { "TName", "z" } }),
                Row({ { "Kind", "0" }, { "PartNO", "P-ONE" }, { "TName", "q" } }),
                Row({ { "Kind", "" }, { "PartNO", "NOPE" }, { "TName", "n" } }) });
    }
    frmKordane& withStore(const QString& version = QStringLiteral("V.31")) {
        frmKordane& g = form();
        g.OpenStoreConnection();
        g.mBrandID = 12;
        g.mStoreVersion = version;
        return g;
    }
};

TEST(FillIsuzuKinds, TakesTheKindOfTheOneStorePartThenZero) {
    IsuzuFiles t;
    frmKordane& f = t.withStore();
    Trace trace;
    prepare::FillIsuzuKinds(f);

    EXPECT_EQ(t.rows(kKinds, QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "1", "0", "", "" }, { "3", "1", "", "" }, { "0", "0", "", "" },
            { "0", "0", "", "" }, { "6", "0", "", "" }, { "0", "0", "", "" },
            { "0", "0", "", "" } }));
    // a kind already there is never looked up; a number with two kinds is asked by Thai name
    QStringList store;
    for (const QString& s : trace.statements)
        if (s.contains(QLatin1String("Pta12"))) store << s;
    EXPECT_EQ(store.filter(QStringLiteral("'P-ONE'")).size(), 4); // not for the kind "0"
    EXPECT_TRUE(store.contains(QStringLiteral(
        "Select Count(Kind) As Rec_Count From Pta12 Where PartNO = 'P-TWO' And TName = 'ข'")));
    EXPECT_TRUE(store.contains(QStringLiteral("Select Kind From Pta12 Where PartNO = 'NOPE' ")));
    EXPECT_EQ(t.qty().first().toStdString(), "กำลังแก้ไข Kind (ISUZU_ 1)  (5)  16 %");
    EXPECT_EQ(t.parts().first().toStdString(), "NOPE - n");
    EXPECT_EQ(t.qty().last().toStdString(), "กำลังแก้ไข AKind (ISUZU_ 1)  (0)  100 %");
}

TEST(FillIsuzuKinds, RefusesAStoreOfThePtaSchemaBeforeAnyStatement) {
    IsuzuFiles t;
    frmKordane& f = t.withStore(QStringLiteral("P.66 (Bar)"));
    Trace trace;
    try {
        prepare::FillIsuzuKinds(f);
        FAIL() << "no error";
    } catch (const rt::RunError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("P.66 (Bar)"))) << e.what();
    }
    EXPECT_TRUE(trace.statements.isEmpty());
}

TEST(CutAlternateList, CutsAtEachCommaIntoFiveSlots) {
    struct Case {
        const char* list;
        std::array<const char*, 5> pieces;
    };
    const Case cases[] = {
        { "N1, N2", { "N1", "N2", "", "", "" } },
        { "N1, N2, N3, N4, N5", { "N1", "N2", "N3", "N4", "N5" } },
        { "N1, N2, N3, N4, N5, N6", { "N1", "N2", "N3", "N4", "N6" } },
        { "N1, N2, N3, N4, N5, N6, N7", { "N1", "N2", "N3", "N4", "N6, N7" } },
        { "N1, , N3, N4", { "N1", "N4", "N3", "", "" } },
        { ", N2, N3", { "N3", "N2", "", "", "" } },
        // a number written right after the comma keeps its first character
        { "N1,N2,N3", { "N1", "N2", "N3", "", "" } },
        // a list that ends in a comma leaves nothing over
        { "N1, N2,", { "N1", "N2", "", "", "" } },
        { " N1 ,  N2 ,   ", { "N1", "N2", "", "", "" } },
    };
    for (const Case& c : cases) {
        const auto a = prepare::CutAlternateList(QString::fromUtf8(c.list));
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(a[size_t(k)].toStdString(), c.pieces[size_t(k)])
                << "list '" << c.list << "', slot " << k + 1;
    }
}

TEST(SplitAlternateNumbers, ClearsReplacementKindsAndCutsCommaLists) {
    PrepFiles t;
    t.counts(QStringLiteral("PriceNew"), { 1 });
    t.sheet(QStringLiteral("PriceNew_1"),
        { Row({ { "AKind_1", "1" }, { "AltNO_1", "A, B" }, { "AKind_3", "2" },
              { "AltNO_3", "old" } }),
            Row({ { "AKind_1", "1" }, { "AltNO_1", "single" }, { "AltNO_2", "keep" } }),
            Row({ { "AKind_2", "1" } }) });
    Trace trace;
    prepare::SplitAlternateNumbers(t.form());

    EXPECT_EQ(t.rows(QStringLiteral("AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, "
                                    "AltNO_4, AKind_5, AltNO_5"),
                  QStringLiteral("From PriceNew_1 Order By ID")),
        (Rows { { "", "A", "", "B", "", "", "", "", "" },
            { "", "single", "", "keep", "", "", "", "", "" },
            { "", "", "", "", "", "", "", "", "" } }));
    EXPECT_TRUE(trace.statements.contains(
        QStringLiteral("Update PriceNew_1 Set AltNO_1 = 'A', AltNO_2 = 'B', AltNO_3 = '', "
                       "AltNO_4 = '', AltNO_5 = '' Where ID = 1")));
    EXPECT_TRUE(t.qty().isEmpty());
}

} // namespace
