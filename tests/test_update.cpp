// The update of existing classic-schema parts: the dispatch by store version, the standard
// update against a stand-in store, and the purge of parts without a part number.
#include "app/members.h"
#include "storekit/classic.h"
#include "support/odbc_env.h"
#include "support/store_form_test.h"
#include "support/update_parts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <optional>

using storekit::ClassicPart;
using testenv::OldPart;
using testenv::PassValues;

namespace {

const int kBrand = 12;
const int32_t kRunDate = 25670401;

class UpdateTest : public StoreFormTest {
protected:
    void openStore(const std::vector<ClassicPart>& parts, const QString& version = "V.31") {
        const QString path = testenv::TempDir() + QStringLiteral("/Velandor.accdb");
        storekit::CreateClassicStore(path, QStringLiteral("V.31"), kBrand, parts);
        openStoreFile(path, kBrand, version);
    }
    void exec(const QString& sql) { fx.form.cnStore().Execute(sql); }
};

TEST_F(UpdateTest, FoundPartRunsEveryStatementInOrder) {
    openStore({ OldPart(7, "1", "S1234-5") }, QStringLiteral("D.47 (Bar)"));
    exec(QStringLiteral("Alter Table Pta12 Add Column DisPrice Text(30)"));
    PartValues v = PassValues(kRunDate, "1", "S1234-5", 120.5, 100);
    v.EName = QStringLiteral("FILTER");
    v.TName = QStringLiteral("แหวน");
    v.AltNO[0] = QStringLiteral("S1234-6");
    v.Model[0] = QStringLiteral("HILUX");
    v.Model[2] = QStringLiteral("VIGO");
    v.Description = QStringLiteral("D");
    v.Import = QStringLiteral("JP");
    v.DisPrice = QStringLiteral("10%");

    const QStringList seen = traced([&] { EXPECT_EQ(update::UpdatePartStd(fx.form, v), 0); });
    const QString where = QStringLiteral("Where Kind = '1' And PartNO = 'S1234-5'");
    const QStringList expected {
        "Select UpRec, PartID From Pta12 " + where,
        "Select Count(PartID) As Rec_Count From Pta12 " + where,
        "Select UpRec, PartID From Pta12 " + where,
        "Update Pta12 Set lAtNO = 'S1234-6' Where PartID = 7",
        "Update Pta12 Set EName = 'FILTER' Where PartID = 7",
        "Update MovementStock Set EName = 'FILTER' Where PartID = 7 And BrandID = 12",
        "Update SPG Set EName = 'FILTER' Where BrandID = 12 And PartID = 7",
        "Update Pta12 Set IndTName = 'หแวน', TName = 'แหวน' Where PartID = 7",
        "Update MovementStock Set TName = 'แหวน' Where PartID = 7 And BrandID = 12",
        "Update SPG Set TName = 'แหวน' Where BrandID = 12 And PartID = 7",
        "Update Price Set TName = 'แหวน' Where PartID = 7 And BrandID = 12",
        "Update Sale Set TName = 'แหวน' Where PartID = 7 And BrandID = 12",
        "Update Pta12 Set Model = 'HILUX, VIGO' Where PartID = 7",
        "Update MovementStock Set Model = 'HILUX, VIGO' Where PartID = 7 And BrandID = 12",
        "Update SPG Set Model = 'HILUX, VIGO' Where BrandID = 12 And PartID = 7",
        "Update Price Set Model = 'HILUX, VIGO' Where PartID = 7 And BrandID = 12",
        "Update Sale Set Model = 'HILUX, VIGO' Where PartID = 7 And BrandID = 12",
        "Update Pta12 Set Description = 'D' Where PartID = 7",
        "Update Pta12 Set Import = 'JP' Where PartID = 7",
        "Update Pta12 Set DisPrice = '10%' Where PartID = 7",
        "Update Pta12 Set Price = 120.5 Where PartID = 7",
        "Update Alt12 Set APrice = 120.5 Where AltID = 7",
        "Update SPG Set Price = 120.5 Where BrandID = 12 And PartID = 7",
        "Update Pta12 Set Sale = 100 Where PartID = 7",
        "Select PartID From Pta12 Where PartID = 7 And Price = 120.5 And Sale = 100",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(fx.form.rsLookup.isOpen());
    EXPECT_FALSE(fx.form.rsCheck.isOpen());
}

TEST_F(UpdateTest, MissingPartIsStagedOnceAsPassed) {
    openStore({ OldPart(7, "1", "A-1") });
    PartValues v = PassValues(kRunDate, "2", "A-1", 12.5, 0);
    v.EName = QStringLiteral(" OIL  ");
    v.TName = QStringLiteral("กรอง");
    for (int k = 0; k < 5; ++k) {
        v.AKind[k] = QString::number(k);
        v.AltNO[k] = QStringLiteral("ALT%1").arg(k + 1);
    }
    for (int k = 0; k < 12; ++k)
        v.Model[k] = QStringLiteral("M%1").arg(k + 1);
    v.Description = QStringLiteral("DESC");
    v.Import = QStringLiteral("IMP");
    v.DisPrice = QStringLiteral("5%");

    const QStringList seen = traced([&] { update::UpdatePartStd(fx.form, v); });
    EXPECT_TRUE(seen.filter(QRegularExpression("^Update")).isEmpty());
    EXPECT_EQ(seen.last(),
        "Select PartNO From PriceList Where BrandID = 12 And Kind = '2' And PartNO = 'A-1'");
    EXPECT_EQ(rows("Select BrandID, PartNO, Kind, AltNO_1, AKind_1, AltNO_5, AKind_5, EName, "
                   "TName, Model_1, Model_12, Description, Import, Price, DisPrice, Sale From "
                   "PriceList"),
        QStringList { "12|A-1|2|ALT1|0|ALT5|4| OIL  |กรอง|M1|M12|DESC|IMP|12.5|5%|0" });
    EXPECT_EQ(rows("Select EName, Price From Pta12"), QStringList { "OLD|50" });
}

// Rows 7 and 8 share kind and number (8 keeps its texts), row 9 has another kind.
TEST_F(UpdateTest, EveryMatchingRowIsRewrittenUnderItsOwnUpRec) {
    struct Case {
        const char* kind;
        QStringList pta, movement, spg, alt;
    } cases[] = {
        { "1", { "7|NEW|30", "8|OLD|30", "9|OLD|50" }, { "7|NEW", "8|OLD", "9|OLD" },
            { "7|NEW|30", "8|OLD|30", "9|OLD|50" }, { "7|30", "8|30", "9|50" } },
        { " ", { "7|NEW|30", "8|OLD|30", "9|NEW|30" }, { "7|NEW", "8|OLD", "9|NEW" },
            { "7|NEW|30", "8|OLD|30", "9|NEW|30" }, { "7|30", "8|30", "9|30" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        fx.form.releaseStore();
        openStore({ OldPart(7, "1", "A-1"), OldPart(8, "1", "A-1", 1), OldPart(9, "2", "A-1") });
        PartValues v = PassValues(kRunDate, c.kind, "A-1", 30);
        v.EName = QStringLiteral("NEW");
        update::UpdatePartStd(fx.form, v);
        EXPECT_EQ(rows("Select PartID, EName, Price From Pta12 Order By PartID"), c.pta);
        EXPECT_EQ(rows("Select PartID, EName From MovementStock Order By PartID"), c.movement);
        EXPECT_EQ(rows("Select PartID, EName, Price From SPG Order By PartID"), c.spg);
        EXPECT_EQ(rows("Select AltID, APrice From Alt12 Where AltID > 0 Order By AltID"), c.alt);
    }
}

TEST_F(UpdateTest, PricesAndReadBackFollowWhichAmountsAreSet) {
    struct Case {
        double price, sale;
        const char* pta; // Price|Sale
        const char* altAndSpg; // APrice|SPG Price
        const char* readBack; // "" for none
    } cases[] = {
        { 0, 0, "50|40", "50|50", "" },
        { 0, 5, "50|5", "50|50", "Select PartID From Pta12 Where PartID = 7 And Sale = 5" },
        { 5, 0, "5|40", "5|5", "Select PartID From Pta12 Where PartID = 7 And Price = 5" },
        { -2.25, 7.5, "-2.25|7.5", "-2.25|-2.25",
            "Select PartID From Pta12 Where PartID = 7 And Price = -2.25 And Sale = 7.5" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pta);
        fx.form.releaseStore();
        openStore({ OldPart(7, "1", "A-1", 1) });
        PartValues v = PassValues(kRunDate, "1", "A-1", c.price, c.sale);
        const QStringList seen = traced([&] { update::UpdatePartStd(fx.form, v); });
        EXPECT_EQ(seen.filter(QRegularExpression("^Select PartID ")),
            *c.readBack ? QStringList { c.readBack } : QStringList {});
        EXPECT_EQ(rows("Select Price, Sale From Pta12"), QStringList { c.pta });
        const QStringList alt = rows("Select APrice From Alt12 Where AltID = 7");
        const QStringList spg = rows("Select Price From SPG");
        EXPECT_EQ(alt.value(0) + "|" + spg.value(0), c.altAndSpg);
    }
}

// The discount text goes only to stores whose part rows carry it (the member is called
// directly, as pass 2 does for every version it has no case for).
TEST_F(UpdateTest, DiscountTextFollowsTheStoreVersion) {
    struct Case {
        const char* version;
        const char* disPrice;
        QStringList expected;
    } cases[] = {
        { "V.33", "10%", { "NULL", "NULL" } },
        { "P.46 (Bar)", "10%", { "10%", "10%" } },
        { "D.47 (Bar) ", "10%", { "10%", "10%" } },
        { "P.61 (Bar)", "10%", { "10%", "10%" } },
        { "p.46 (bar)", "10%", { "NULL", "NULL" } },
        { "P.48 (Bar)", "10%", { "NULL", "NULL" } },
        { "P.62 (Bar)", "  ", { "NULL", "NULL" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        fx.form.releaseStore();
        openStore({ OldPart(7, "1", "A-1"), OldPart(8, "1", "A-1", 1) }, c.version);
        exec(QStringLiteral("Alter Table Pta12 Add Column DisPrice Text(30)"));
        PartValues v = PassValues(kRunDate, "1", "A-1");
        v.DisPrice = c.disPrice;
        update::UpdatePartStd(fx.form, v);
        EXPECT_EQ(rows("Select DisPrice From Pta12 Order By PartID"), c.expected);
    }
}

TEST_F(UpdateTest, FailedReadBackRaises) {
    struct Case {
        const char* name;
        const char* trigger;
        const char* partNo;
    } cases[] = {
        { "staging",
            "Create Trigger lose After Insert On PriceList Begin "
            "Delete From PriceList Where rowid = new.rowid; End",
            "NEW-1" },
        { "prices",
            "Create Trigger lose After Update Of Price On Pta12 Begin "
            "Update Pta12 Set Price = 1 Where PartID = new.PartID; End",
            "A-1" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx.form.releaseStore();
        openStore({ OldPart(7, "1", "A-1") });
        exec(QString::fromUtf8(c.trigger));
        PartValues v = PassValues(kRunDate, "1", c.partNo, 9);
        EXPECT_THROW(update::UpdatePartStd(fx.form, v), rt::RunError);
        EXPECT_FALSE(fx.form.rsCheck.isOpen());
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
    }
}

TEST_F(UpdateTest, QuotesInTextsReachTheStoreUnchanged) {
    openStore({ OldPart(7, "", "O'1") });
    PartValues found = PassValues(kRunDate, "", "O'1", 0, 0);
    found.EName = QStringLiteral("O'RING");
    found.TName = QStringLiteral("โอ'ริง");
    found.Model[0] = QStringLiteral("D'MAX");
    update::UpdatePartStd(fx.form, found);
    EXPECT_EQ(rows("Select EName, TName, Model From Pta12"), QStringList { "O'RING|โอ'ริง|D'MAX" });
    EXPECT_EQ(rows("Select EName, Model From SPG"), QStringList { "O'RING|D'MAX" });

    PartValues missing = PassValues(kRunDate, "'", "N'2");
    missing.EName = QStringLiteral("IT'S");
    update::UpdatePartStd(fx.form, missing);
    EXPECT_EQ(rows("Select Kind, PartNO, EName From PriceList"), QStringList { "'|N'2|IT'S" });
}

TEST_F(UpdateTest, DispatchByStoreVersion) {
    const QString byNumber = "Select UpRec, PartID From Pta12 Where Kind = '1' And PartNO = 'A-1'";
    const QString bySqueezed
        = "Select UpRec, PartID From Pta12 Where Kind = '1' And FPartNO = 'A1'";
    struct Case {
        const char* version;
        QString lookup; // the member's first statement
    } cases[] = {
        { "P.45 (Bar)", bySqueezed },
        { "P.48 (Bar)", bySqueezed },
        { " P.48 (Bar) ", bySqueezed },
        { "P.49 (Bar)", bySqueezed },
        { "P.61 (Bar)", byNumber },
        { "P.64 (Bar)", bySqueezed },
        { "P.65 (Bar)", bySqueezed },
        { "P.66 (Bar)", "Select UpRec, PartID From Pta_12 Where FPartNO = 'A11'" },
        { "P.68 (Bar)", "Select UpRec, PartID From Pta_012 Where FPartNO = 'A11'" },
        { "p.48 (bar)", byNumber },
        { "P.46 (Bar)", byNumber },
        { "V.31", byNumber },
    };
    openStore({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        fx.form.mStoreVersion = c.version;
        PartValues v = PassValues(kRunDate, "1", "A-1");
        const QStringList seen = traced([&] {
            try {
                update::UpdatePart(fx.form, v);
            } catch (const rt::RunError&) {
                // only the first statement is checked: the Pta_ lookups fail on this classic store
            }
        });
        EXPECT_EQ(seen.value(0), c.lookup);
    }
}

TEST_F(UpdateTest, PurgeBlankPartsRemovesThemAndResetsTheCounter) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, const char*>> parts; // nullptr: a Null PartNO
        std::vector<int> remaining;
        const char* lastId;
        bool withheld = false; // the store reports no row counts
    } cases[] = {
        { "none blank", { { 1, "A" }, { 3, "B" } }, { 1, 3 }, "3" },
        { "highest blank", { { 1, "A" }, { 4, nullptr }, { 5, "" }, { 6, "" } }, { 1, 4 }, "4" },
        { "all blank", { { 5, "" }, { 6, "" } }, {}, "99" },
        { "counts not reported", { { 1, "A" }, { 4, nullptr }, { 5, "" } }, { 1, 4 }, "4", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fx.form.releaseStore();
        std::vector<ClassicPart> parts;
        for (const auto& [id, no] : c.parts)
            parts.push_back(OldPart(id, "1", no ? no : ""));
        openStore(parts);
        int linkId = 0;
        for (const auto& [id, no] : c.parts) {
            if (!no)
                exec(QStringLiteral("Update Pta12 Set PartNO = Null Where PartID = %1").arg(id));
            for (const auto& [other, otherNo] : c.parts)
                if (other != id)
                    exec(QStringLiteral("Insert Into AltG12 Values( %1, %2, %3 )")
                             .arg(++linkId)
                             .arg(id)
                             .arg(other));
        }
        exec(QStringLiteral("Update LastID Set LastID = 99 Where NameID = 'Pta12'"));

        {
            // a store that reports no row counts purges as well (only a known 0 stops)
            std::optional<testenv::WithheldRowCounts> noCounts;
            if (c.withheld) noCounts.emplace();
            update::PurgeBlankParts(fx.form);
        }

        QStringList ids, links;
        for (int id : c.remaining) {
            ids << QString::number(id);
            for (int other : c.remaining)
                if (other != id) links << QStringLiteral("%1|%2").arg(id).arg(other);
        }
        EXPECT_EQ(rows("Select PartID From Pta12 Order By PartID"), ids);
        EXPECT_EQ(rows("Select AltID From Alt12 Where AltID > 0 Order By AltID"), ids);
        EXPECT_EQ(rows("Select PartID, AltID From AltG12 Order By PartID, AltID"), links);
        EXPECT_EQ(
            rows("Select LastID From LastID Where NameID = 'Pta12'"), QStringList { c.lastId });
        EXPECT_FALSE(fx.form.rsList.isOpen());
    }
}

} // namespace
