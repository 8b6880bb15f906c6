// The update members of the store versions that find parts by the squeezed number, write search
// texts or their own price columns, and "P.61 (Bar)" with its second pass over the match key.
// The part table here carries just the columns these members read and write.
#include "app/members.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/store_form_test.h"
#include "support/update_parts.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using storekit::Column;
using testenv::PassValues;

namespace {

const int kBrand = 12;
const int32_t kRunDate = 25670401;

std::vector<Column> partColumns() {
    const QString l = QStringLiteral("Long"), c = QStringLiteral("Currency");
    using storekit::Text;
    return { { "UpRec", l }, { "PartID", l }, { "Kind", Text(1) }, { "FPartNO", Text(40) },
        { "PartNO", Text(40) }, { "lAtNO", Text(40) }, { "EName", Text(40) }, { "EFind", Text(80) },
        { "IndTName", Text(60) }, { "TName", Text(60) }, { "TFind", Text(100) },
        { "Model", Text(30) }, { "Description", Text(60) }, { "Import", Text(30) },
        { "DisPrice", Text(30) }, { "Price", c }, { "Sale", c }, { "Price1", c }, { "Sale1", c },
        { "BrandID", l } };
}

// A stored part: kind, number, UpRec; fPartNo null for the squeezed number.
struct Stored {
    int id;
    const char* kind;
    const char* partNo;
    int upRec = 0;
    const char* fPartNo = nullptr;
};

// A row with every kind of value the members write.
PartValues FullValues(const QString& kind, const QString& partNo) {
    PartValues v = PassValues(kRunDate, kind, partNo, 120.5, 100);
    v.EName = QStringLiteral("FILTER");
    v.TName = QStringLiteral("แหวน");
    v.Model[0] = QStringLiteral("HILUX");
    v.DisPrice = QStringLiteral("10%");
    return v;
}

const char* const kSixVersions[]
    = { "P.45 (Bar)", "P.48 (Bar)", "P.49 (Bar)", "P.61 (Bar)", "P.64 (Bar)", "P.65 (Bar)" };

class UpdateMoreTest : public StoreFormTest {
protected:
    // A store of the version whose part table is built from partColumns(), less dropColumn.
    void openStore(
        const QString& version, const std::vector<Stored>& parts, const QString& dropColumn = {}) {
        fx.form.releaseStore();
        const QString path = testenv::TempDir() + QStringLiteral("/Velandor.accdb");
        storekit::CreateClassicStore(path, QStringLiteral("V.31"), kBrand);
        ado::Connection cn;
        storekit::OpenFile(cn, path);
        cn.Execute(QStringLiteral("Drop Table Pta12"));
        storekit::CreateTable(cn, QStringLiteral("Pta12"), partColumns());
        cn.Execute(QStringLiteral("Update System Set Ver = '%1'").arg(version));
        for (const Stored& s : parts) {
            storekit::AddClassicPart(cn, QStringLiteral("V.31"), kBrand,
                testenv::OldPart(
                    s.id, QString::fromUtf8(s.kind), QString::fromUtf8(s.partNo), s.upRec));
            cn.Execute(QStringLiteral("Update Pta12 Set Price1 = 50, Sale1 = 40 Where PartID = %1")
                           .arg(s.id));
            if (s.fPartNo)
                cn.Execute(QStringLiteral("Update Pta12 Set FPartNO = '%1' Where PartID = %2")
                               .arg(QString::fromUtf8(s.fPartNo))
                               .arg(s.id));
        }
        if (!dropColumn.isEmpty()) {
            // Rebuilt rather than altered: the stand-in's length checks name every column.
            std::vector<Column> kept = partColumns();
            std::erase_if(kept, [&](const Column& c) { return c.name == dropColumn; });
            QStringList names;
            for (const Column& c : kept)
                names << c.name;
            storekit::CreateTable(cn, QStringLiteral("Pta12x"), kept);
            cn.Execute(QStringLiteral("Insert Into Pta12x Select %1 From Pta12")
                           .arg(names.join(QStringLiteral(", "))));
            cn.Execute(QStringLiteral("Drop Table Pta12"));
            cn.Execute(QStringLiteral("Alter Table Pta12x Rename To Pta12"));
        }
        cn.Close();
        openStoreFile(path, kBrand, version);
    }
    QStringList partTable() {
        return rows("Select PartID, EName, EFind, IndTName, TName, TFind, DisPrice, Price, Sale, "
                    "Price1, Sale1 From Pta12 Order By PartID");
    }
};

// 7 and 8 carry the squeezed number in FPartNO (8 keeps its texts), 9 is of another kind, 10 has
// the number but an empty FPartNO.
const std::vector<Stored> kParts { { 7, "1", "AB12345" }, { 8, "1", "AB 123-45", 1 },
    { 9, "2", "AB12345", 1 }, { 10, "1", "AB12345", 0, "" } };

TEST_F(UpdateMoreTest, EachVersionRewritesItsOwnColumnsOfTheRowsItFinds) {
    const QString old = QStringLiteral("|OLD|NULL|NULL|เก่า|NULL|NULL|50|40|50|40");
    const QString withIndT = QStringLiteral("|FILTER|NULL|หแวน|แหวน|NULL|10%|120.5|100|50|40");
    const QString keptDis = QStringLiteral("|OLD|NULL|NULL|เก่า|NULL|10%|120.5|100|50|40");
    const QString find = QStringLiteral("|FILTER|FILTER  HILUX|NULL|แหวน|แหวน  HILUX|NULL");
    const QString keptNoDis = QStringLiteral("|OLD|NULL|NULL|เก่า|NULL|NULL");
    struct Case {
        const char* version;
        const char* kind;
        QStringList pta; // rows 7 to 10, each after its PartID
        std::vector<int> matched;
        const char* readBack; // price columns of the read-back
        QString partNoAfter;
        QStringList staged;
    };
    const QStringList p48 { withIndT, keptDis, old, old };
    const QStringList p45 { find + "|50|40|120.5|100", keptNoDis + "|50|40|120.5|100", old, old };
    const QStringList p64 { find + "|120.5|100|50|40", keptNoDis + "|120.5|100|50|40", old, old };
    const Case cases[] = {
        { "P.48 (Bar)", "1", p48, { 7, 8 }, "Price = 120.5 And Sale = 100", "AB-12 34/5", {} },
        { "P.49 (Bar)", "1", p48, { 7, 8 }, "Price = 120.5 And Sale = 100", "AB-12 34/5", {} },
        { "P.48 (Bar)", " ", { withIndT, keptDis, keptDis, old }, { 7, 8, 9 },
            "Price = 120.5 And Sale = 100", "AB-12 34/5", {} },
        { "P.45 (Bar)", "1", p45, { 7, 8 }, "Price1 = 120.5 And Sale1 = 100", "AB-12 34/5", {} },
        { "P.64 (Bar)", "1", p64, { 7, 8 }, "Price = 120.5 And Sale = 100", "AB-12 34/5", {} },
        { "P.65 (Bar)", "1", p64, { 7, 8 }, "Price = 120.5 And Sale = 100", "AB-12 34/5", {} },
        // The first pass misses the number as spelled and stages it; the second finds the key
        // in PartNO, of any kind, FPartNO or not.
        { "P.61 (Bar)", "1", { withIndT, old, keptDis, withIndT }, { 7, 9, 10 },
            "Price = 120.5 And Sale = 100", "AB12345", { "1|AB-12 34/5|10%" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " kind '" + c.kind + "'");
        openStore(c.version, kParts);
        PartValues v = FullValues(c.kind, "AB-12 34/5");
        const QStringList seen = traced([&] { EXPECT_EQ(update::UpdatePart(fx.form, v), 0); });

        QStringList pta, spg, alt, readBacks;
        for (int id = 7; id <= 10; ++id) {
            const bool hit = std::find(c.matched.begin(), c.matched.end(), id) != c.matched.end();
            pta << QString::number(id) + c.pta[id - 7];
            spg << QStringLiteral("%1|%2").arg(id).arg(hit ? "120.5" : "50");
            alt << QStringLiteral("%1|%2").arg(id).arg(hit ? "120.5" : "50");
            if (hit)
                readBacks << QStringLiteral("Select PartID From Pta12 Where PartID = %1 And %2")
                                 .arg(id)
                                 .arg(c.readBack);
        }
        EXPECT_EQ(partTable(), pta);
        EXPECT_EQ(rows("Select PartID, Price From SPG Order By PartID"), spg);
        EXPECT_EQ(rows("Select AltID, APrice From Alt12 Where AltID > 0 Order By AltID"), alt);
        EXPECT_EQ(seen.filter(QRegularExpression("^Select PartID From Pta12")), readBacks);
        EXPECT_EQ(rows("Select Kind, PartNO, DisPrice From PriceList"), c.staged);
        EXPECT_EQ(v.PartNO, c.partNoAfter);
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
        EXPECT_FALSE(fx.form.rsCheck.isOpen());
    }
}

// The exact statements of a found row, UpRec 0 and not, in every version's own columns; the
// standard versions stand beside them.
TEST_F(UpdateMoreTest, EachVersionRunsItsStatementsInOrder) {
    const QString squeezed = QStringLiteral("Where Kind = '1' And FPartNO = 'AB12345'");
    const QString byNumber = QStringLiteral("Where Kind = '1' And PartNO = 'AB12345'");
    const QString indT = QStringLiteral("IndTName = 'หแวน', TName = 'แหวน'");
    const QString eFind = QStringLiteral("EFind = 'FILTER  HILUX, VIGO', EName = 'FILTER'");
    const QString tFind = QStringLiteral("TFind = 'แหวน  HILUX, VIGO', TName = 'แหวน'");
    struct Case {
        const char* version;
        QString condition;
        QString eName, tName; // the part table's name assignments
        bool discount;
        const char *price, *sale; // the part table's price columns
        QString keyCondition; // the second phase, "" for none
    } cases[] = {
        { "V.33", byNumber, "EName = 'FILTER'", indT, false, "Price", "Sale", {} },
        { "P.46 (Bar)", byNumber, "EName = 'FILTER'", indT, true, "Price", "Sale", {} },
        { "P.48 (Bar)", squeezed, "EName = 'FILTER'", indT, true, "Price", "Sale", {} },
        { "P.49 (Bar)", squeezed, "EName = 'FILTER'", indT, true, "Price", "Sale", {} },
        { "P.45 (Bar)", squeezed, eFind, tFind, false, "Price1", "Sale1", {} },
        { "P.64 (Bar)", squeezed, eFind, tFind, false, "Price", "Sale", {} },
        { "P.65 (Bar)", squeezed, eFind, tFind, false, "Price", "Sale", {} },
        { "P.61 (Bar)", byNumber, "EName = 'FILTER'", indT, true, "Price", "Sale",
            "Where PartNO = 'AB12345'" },
    };
    for (const Case& c : cases) {
        for (int upRec : { 0, 1 }) {
            SCOPED_TRACE(std::string(c.version) + " UpRec " + std::to_string(upRec));
            openStore(c.version, { { 7, "1", "AB12345", upRec } });
            PartValues v = FullValues("1", " AB12345 ");
            v.AltNO[0] = QStringLiteral("X-1");
            v.Model[1] = QStringLiteral("VIGO");
            v.Description = QStringLiteral("D");
            v.Import = QStringLiteral("JP");
            const QStringList seen = traced([&] { update::UpdatePart(fx.form, v); });

            auto phase = [&](const QString& condition) {
                const QString pta = QStringLiteral("Update Pta12 Set ");
                const QString id = QStringLiteral(" Where PartID = 7");
                const QString side = QStringLiteral(" Where PartID = 7 And BrandID = 12");
                const QString spg = QStringLiteral(" Where BrandID = 12 And PartID = 7");
                const QStringList sideTables { "MovementStock", "SPG", "Price", "Sale" };
                QStringList s { "Select UpRec, PartID From Pta12 " + condition,
                    "Select Count(PartID) As Rec_Count From Pta12 " + condition,
                    "Select UpRec, PartID From Pta12 " + condition };
                if (upRec == 0) {
                    s << pta + "lAtNO = 'X-1'" + id << pta + c.eName + id
                      << "Update MovementStock Set EName = 'FILTER'" + side
                      << "Update SPG Set EName = 'FILTER'" + spg << pta + c.tName + id;
                    for (const QString& t : sideTables)
                        s << "Update " + t + " Set TName = 'แหวน'" + (t == "SPG" ? spg : side);
                    s << pta + "Model = 'HILUX, VIGO'" + id;
                    for (const QString& t : sideTables)
                        s << "Update " + t + " Set Model = 'HILUX, VIGO'"
                                + (t == "SPG" ? spg : side);
                    s << pta + "Description = 'D'" + id << pta + "Import = 'JP'" + id;
                }
                if (c.discount) s << pta + "DisPrice = '10%'" + id;
                s << pta + c.price + " = 120.5" + id
                  << "Update Alt12 Set APrice = 120.5 Where AltID = 7"
                  << "Update SPG Set Price = 120.5" + spg << pta + c.sale + " = 100" + id
                  << QStringLiteral("Select PartID From Pta12 Where PartID = 7 And %1 = 120.5 And "
                                    "%2 = 100")
                         .arg(c.price, c.sale);
                return s;
            };
            QStringList expected = phase(c.condition);
            if (!c.keyCondition.isEmpty()) expected << phase(c.keyCondition);
            EXPECT_EQ(seen, expected);
        }
    }
}

TEST_F(UpdateMoreTest, MissingPartIsStagedOnceUnderTheNumberAsPassed) {
    for (const char* version : kSixVersions) {
        SCOPED_TRACE(version);
        openStore(version, kParts);
        PartValues v = FullValues("1", "ZZ-9 1");
        const QStringList seen = traced([&] { update::UpdatePart(fx.form, v); });
        const bool p61 = QLatin1String(version) == QLatin1String("P.61 (Bar)");
        EXPECT_EQ(seen.value(0),
            p61 ? "Select UpRec, PartID From Pta12 Where Kind = '1' And PartNO = 'ZZ-9 1'"
                : "Select UpRec, PartID From Pta12 Where Kind = '1' And FPartNO = 'ZZ91'");
        EXPECT_TRUE(seen.filter(QRegularExpression("^Update")).isEmpty());
        EXPECT_EQ(seen.filter(QRegularExpression("^Insert")),
            QStringList { "Insert Into PriceList Values( 12, 'ZZ-9 1', '1', '', '', '', '', '', "
                          "'', '', '', '', '', 'FILTER', 'แหวน', 'HILUX', '', '', '', '', '', '', "
                          "'', '', '', '', '', '', '', 120.5, '10%', 100 )" });
        EXPECT_EQ(seen.filter(QRegularExpression("^Select PartNO From PriceList")),
            QStringList {
                "Select PartNO From PriceList Where BrandID = 12 And Kind = '1' And PartNO = "
                "'ZZ-9 1'" });
        EXPECT_EQ(rows("Select BrandID, Kind, PartNO, EName, Model_1, Price, DisPrice, Sale From "
                       "PriceList"),
            QStringList { "12|1|ZZ-9 1|FILTER|HILUX|120.5|10%|100" });
        // The key the store lacks is neither staged nor looked up further.
        if (p61) {
            EXPECT_EQ(seen.last(), "Select UpRec, PartID From Pta12 Where PartNO = 'ZZ91'");
        }
    }
}

TEST_F(UpdateMoreTest, TwinVersionsRunTheSameStatements) {
    const std::pair<const char*, const char*> twins[]
        = { { "P.48 (Bar)", "P.49 (Bar)" }, { "P.64 (Bar)", "P.65 (Bar)" } };
    for (const auto& [first, second] : twins) {
        SCOPED_TRACE(first);
        QStringList seen[2];
        int i = 0;
        for (const char* version : { first, second }) {
            openStore(version, kParts);
            PartValues v = FullValues("1", "AB-12 34/5");
            v.AltNO[0] = QStringLiteral("X-1");
            v.Description = QStringLiteral("D");
            v.Import = QStringLiteral("JP");
            seen[i++] = traced([&] { update::UpdatePart(fx.form, v); });
        }
        EXPECT_EQ(seen[0], seen[1]);
        EXPECT_GT(seen[0].size(), 20);
    }
}

TEST_F(UpdateMoreTest, P61RewritesTheRowsOfTheNumberThenOfItsKey) {
    openStore("P.61 (Bar)", { { 7, "1", "A-1" }, { 9, "2", "A1", 1 } });
    PartValues v = PassValues(kRunDate, "1", "A-1", 5);
    v.EName = QStringLiteral("N");
    v.DisPrice = QStringLiteral("5%");
    const QStringList seen = traced([&] { update::UpdatePart(fx.form, v); });
    const QString first = QStringLiteral("Where Kind = '1' And PartNO = 'A-1'");
    const QString second = QStringLiteral("Where PartNO = 'A1'");
    const QStringList expected {
        "Select UpRec, PartID From Pta12 " + first,
        "Select Count(PartID) As Rec_Count From Pta12 " + first,
        "Select UpRec, PartID From Pta12 " + first,
        "Update Pta12 Set EName = 'N' Where PartID = 7",
        "Update MovementStock Set EName = 'N' Where PartID = 7 And BrandID = 12",
        "Update SPG Set EName = 'N' Where BrandID = 12 And PartID = 7",
        "Update Pta12 Set DisPrice = '5%' Where PartID = 7",
        "Update Pta12 Set Price = 5 Where PartID = 7",
        "Update Alt12 Set APrice = 5 Where AltID = 7",
        "Update SPG Set Price = 5 Where BrandID = 12 And PartID = 7",
        "Select PartID From Pta12 Where PartID = 7 And Price = 5",
        "Select UpRec, PartID From Pta12 " + second,
        "Select Count(PartID) As Rec_Count From Pta12 " + second,
        "Select UpRec, PartID From Pta12 " + second,
        "Update Pta12 Set DisPrice = '5%' Where PartID = 9",
        "Update Pta12 Set Price = 5 Where PartID = 9",
        "Update Alt12 Set APrice = 5 Where AltID = 9",
        "Update SPG Set Price = 5 Where BrandID = 12 And PartID = 9",
        "Select PartID From Pta12 Where PartID = 9 And Price = 5",
    };
    EXPECT_EQ(seen, expected);
    // The key reaches the caller's own variable through the dispatch.
    EXPECT_EQ(v.PartNO, "A1");
    EXPECT_EQ(rows("Select PartID, EName, DisPrice, Price From Pta12 Order By PartID"),
        (QStringList { "7|N|5%|5", "9|OLD|5%|5" }));
}

TEST_F(UpdateMoreTest, P61KeyAndWhichPhasesFindTheRow) {
    struct Case {
        const char* kind;
        const char* partNo;
        const char* key;
        int rewritesOf9; // read-backs of row 9 (kind 2, number A1)
        int staged;
    } cases[] = {
        { "", "A1", "A1", 2, 0 }, // both phases find the same row
        { "2", "A1", "A1", 2, 0 },
        { "1", "A1", "A1", 1, 1 }, // no row of kind 1: staged, the key still finds 9
        { "1", "A /1", "A1", 1, 1 },
        { "1", "A'1,", "A1", 1, 1 }, // quote and comma become blanks, then squeezed away
        { "1", "A*1", "A1", 1, 1 },
        { "2", "B-2", "B2", 0, 1 }, // a key the store lacks changes nothing more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.partNo);
        openStore("P.61 (Bar)", { { 7, "1", "A-1" }, { 9, "2", "A1" } });
        PartValues v = PassValues(kRunDate, c.kind, c.partNo, 5);
        const QStringList seen = traced([&] { update::UpdatePartP61(fx.form, v); });
        EXPECT_EQ(v.PartNO, c.key);
        EXPECT_EQ(seen.filter("Where PartID = 9 And Price = 5").size(), c.rewritesOf9);
        EXPECT_EQ(rows("Select PartNO From PriceList"),
            c.staged ? QStringList { c.partNo } : QStringList {});
        EXPECT_EQ(rows("Select PartID, Price From Pta12 Order By PartID"),
            (QStringList { "7|50", c.rewritesOf9 ? "9|5" : "9|50" }));
    }
}

TEST_F(UpdateMoreTest, QuotesInTextsReachTheStoreUnchanged) {
    for (const char* version : kSixVersions) {
        SCOPED_TRACE(version);
        openStore(version, { { 7, "1", "O'1" } });
        PartValues v = PassValues(kRunDate, "1", "O'1", 3);
        v.EName = QStringLiteral("O'RING");
        v.TName = QStringLiteral("โอ'ริง");
        v.Model[0] = QStringLiteral("D'MAX");
        v.DisPrice = QStringLiteral("5'%");
        update::UpdatePart(fx.form, v);
        const bool search = QStringList { "P.45 (Bar)", "P.64 (Bar)", "P.65 (Bar)" }.contains(
            QLatin1String(version));
        const bool discount = !search;
        EXPECT_EQ(rows("Select EName, TName, Model, EFind, TFind, DisPrice From Pta12"),
            QStringList { QStringLiteral("O'RING|โอ'ริง|D'MAX|%1|%2|%3")
                              .arg(search ? "O'RING  D'MAX" : "NULL",
                                  search ? "โอ'ริง  D'MAX" : "NULL", discount ? "5'%" : "NULL") });
        EXPECT_EQ(rows("Select EName, Model From SPG"), QStringList { "O'RING|D'MAX" });
    }
}

// A part table without a column the member names ends the call with the database's message;
// the store keeps its layout and nothing is staged.
TEST_F(UpdateMoreTest, MissingColumnOrOverlongTextEndsTheCall) {
    struct Case {
        const char* version;
        const char* dropColumn;
        const char* eName;
        const char* message; // part of the error text
        bool rowsUnchanged;
    } cases[] = {
        { "P.45 (Bar)", "FPartNO", "N", "FPartNO", true },
        { "P.48 (Bar)", "FPartNO", "N", "FPartNO", true },
        { "P.45 (Bar)", "Price1", "N", "Price1", false },
        { "P.64 (Bar)", "EFind", "N", "EFind", true },
        { "P.65 (Bar)", "TFind", "N", "TFind", false },
        { "P.49 (Bar)", "DisPrice", "N", "DisPrice", false },
        { "P.61 (Bar)", "DisPrice", "N", "DisPrice", false },
        { "P.45 (Bar)", "", "12345678901234567890123456789012345678901", "Pta12.EName is too small",
            true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.dropColumn);
        openStore(c.version, { { 7, "1", "A-1" } }, QString::fromUtf8(c.dropColumn));
        const QStringList columnsBefore = rows("Select name From pragma_table_info('Pta12')");
        const QString rowSql = QStringLiteral(
            "Select PartID, Kind, PartNO, EName, TName, Model, Price, Sale From Pta12");
        const QStringList before = rows(rowSql);
        PartValues v = FullValues("1", "A-1");
        v.EName = QString::fromUtf8(c.eName);
        try {
            update::UpdatePart(fx.form, v);
            ADD_FAILURE() << "no error";
        } catch (const rt::RunError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.message)))
                << e.message().toStdString();
        }
        EXPECT_EQ(rows("Select name From pragma_table_info('Pta12')"), columnsBefore);
        if (c.rowsUnchanged) {
            EXPECT_EQ(rows(rowSql), before);
        }
        EXPECT_EQ(rows("Select PartNO From PriceList"), QStringList {});
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
        EXPECT_FALSE(fx.form.rsCheck.isOpen());
    }
}

} // namespace

namespace {

// Whole runs through the UpDate handler: the known part is found however the list spells it,
// rewritten in the version's own columns, and a new part goes in through the insertion member.
TEST(UpdateMoreRun, EachVersionEndToEnd) {
    struct Case {
        const char* version;
        const char* listNumber; // the known part as the price list spells it
        const char* columns; // the version's own columns of the rewritten part
        QStringList known; // PartID|Kind|PartNO|EName|<columns> of the stored parts
    } cases[] = {
        { "P.45 (Bar)", "15601 87703", "Price1, Sale1, EFind, TFind",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|OIL FILTER NEW  HILUX|ไส้กรองน้ำมัน  HILUX" } },
        { "P.48 (Bar)", "15601/87703", "Price, Sale, DisPrice, IndTName",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|5%|สไ้กรองน้ำมัน" } },
        { "P.49 (Bar)", "1560187703", "Price, Sale, DisPrice, IndTName",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|5%|สไ้กรองน้ำมัน" } },
        { "P.64 (Bar)", "15601 87703", "Price, Sale, EFind, TFind",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|OIL FILTER NEW  HILUX|ไส้กรองน้ำมัน  HILUX" } },
        { "P.65 (Bar)", "15601 87703", "Price, Sale, EFind, TFind",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|OIL FILTER NEW  HILUX|ไส้กรองน้ำมัน  HILUX" } },
        // The row of another kind under the match key is rewritten too.
        { "P.61 (Bar)", "15601-87703", "Price, Sale, DisPrice, IndTName",
            { "1|0|15601-87703|OIL FILTER NEW|195|160|5%|สไ้กรองน้ำมัน",
                "2|9|1560187703|OIL FILTER NEW|195|160|5%|สไ้กรองน้ำมัน" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const QString version = QString::fromLatin1(c.version);
        const QString dir = testenv::TempDir();
        const QString store = dir + QStringLiteral("/Velandor.accdb");
        const QString list = dir + QStringLiteral("/PriceList_VURE.mdb");
        std::vector<storekit::ClassicPart> parts(c.known.size());
        for (size_t i = 0; i < parts.size(); ++i) {
            const QStringList f = c.known[qsizetype(i)].split(QLatin1Char('|'));
            parts[i].partId = f[0].toInt();
            parts[i].kind = f[1];
            parts[i].partNo = f[2];
            parts[i].eName = QStringLiteral("OIL FILTER");
            parts[i].tName = QStringLiteral("ไส้กรอง");
            parts[i].price = 180;
            parts[i].sale = 150;
        }
        storekit::CreateClassicStore(store, version, 12, parts);
        PriceRow known = storekit::MakePriceRow(QStringLiteral("0"),
            QString::fromUtf8(c.listNumber), QStringLiteral("OIL FILTER NEW"),
            QString::fromUtf8("ไส้กรองน้ำมัน"), 195, 160, {}, QStringLiteral("HILUX"));
        known.DisPrice = QStringLiteral("5%");
        const PriceRow fresh = storekit::MakePriceRow(QStringLiteral("1"), QStringLiteral("N-1"),
            QStringLiteral("BELT"), QString::fromUtf8("เข็มขัด"), 450);
        storekit::CreatePriceList(list, { { 1, { known, fresh } } });

        FormFixture fx;
        fx.useDesktopStore(list, store);
        fx.form.cmdUpDate_Click();

        ASSERT_EQ(fx.window.messages.size(), 1u);
        EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
        EXPECT_EQ(testenv::QueryRows(store,
                      QStringLiteral("Select PartID, Kind, PartNO, EName, %1 From Pta12 Where "
                                     "PartID <= %2 Order By PartID")
                          .arg(QLatin1String(c.columns))
                          .arg(c.known.size())),
            c.known);
        EXPECT_EQ(testenv::QueryRows(store,
                      QStringLiteral("Select Kind, PartNO, EName From Pta12 Where PartID > %1")
                          .arg(c.known.size())),
            QStringList { "1|N-1|BELT" });
        EXPECT_TRUE(
            testenv::QueryRows(store, QStringLiteral("Select PartNO From PriceList")).isEmpty());
        EXPECT_EQ(fx.window.grid().TextMatrix(1, 3), QString());
    }
}

} // namespace
