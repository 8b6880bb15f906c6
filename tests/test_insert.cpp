// New-part insertion in the classic schema: the drain of the staging queue into the brand's
// part, code and group tables, for the versions whose rows are built so far.
#include "app/members.h"
#include "platform/runtime/text.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"
#include "support/staged_parts.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBrand = 12;

// A classic store with brand 12 and a form pointing at it.
class InsertStore {
public:
    InsertStore(const QString& version, const std::vector<storekit::ClassicPart>& parts,
        bool odbc = false) {
        const QString dir = testenv::TempDir();
        path_ = dir + QStringLiteral("/store.accdb");
        storekit::CreateClassicStore(path_, version, kBrand, parts);
        fx.useStore(dir + QStringLiteral("/PriceList_VURE.mdb"), path_, kBrand, version, odbc);
        storekit::OpenFile(cn, path_);
        IndexStaging(cn);
    }

    void stage(const Staged& s) { StageRow(cn, kBrand, s); }

    // The rows of a query, each as its values joined by "|".
    QStringList rows(const QString& table, const QStringList& columns, const QString& rest = {}) {
        return QueryRows(cn, columns.join(QStringLiteral(", ")), table + QLatin1Char(' ') + rest);
    }
    QStringList partRows() {
        return rows(QStringLiteral("Pta12"),
            { "PartID", "Kind", "PartNO", "AKind", "lAtNO", "EName", "IndTName", "TName",
                "Description", "Model", "Import", "Price", "Sale", "Active", "Locked", "BrandID",
                "PartCode" },
            QStringLiteral("Order By PartID"));
    }
    QStringList codeRows() {
        return rows(QStringLiteral("Alt12"), { "AltID", "AKind", "AltNO", "APrice" },
            QStringLiteral("Where AltID <> 0 Order By AltID"));
    }
    QStringList groupRows() {
        return rows(QStringLiteral("AltG12"), { "ID", "PartID", "AltID" },
            QStringLiteral("Order By PartID, AltID"));
    }
    QStringList queue() {
        return rows(QStringLiteral("PriceList"), { "Kind", "PartNO" },
            QStringLiteral("Order By PartNO, Kind"));
    }
    QStringList counter() {
        return rows(
            QStringLiteral("LastID"), { "LastID" }, QStringLiteral("Where NameID = 'Pta12'"));
    }

    FormFixture fx;
    ado::Connection cn;

private:
    QString path_;
};

const QString kThai = QStringLiteral("แหวนลูกสูบ");
const QString kThaiSort = QStringLiteral("หแวนลูกสูบ");

// A new part with a new, a repeated, a stored and a kindless replacement number.
Staged RingSet() {
    Staged s;
    s.kind = QStringLiteral("A");
    s.partNo = QStringLiteral("P1");
    s.alts = { { "B", "P2" }, { "", "P1" }, { "C", "P3" }, { "", "P4" } };
    s.eName = QStringLiteral("RING SET");
    s.tName = kThai;
    s.models = { "M1", "", " M3 " };
    s.description = QStringLiteral("O'RING");
    s.import = QStringLiteral("JP");
    s.price = QStringLiteral("125.5");
    s.sale = QStringLiteral("100");
    return s;
}

using Member = void (*)(frmKordane&, int16_t&);

// The statements of the group rebuild: the code groups and the maker links.
const QStringList kGroupMarks { QStringLiteral("AltG"), QStringLiteral("FacD") };

struct StatementCase {
    const char* version;
    Member member;
    const char* truth; // the truth values of a part row
};

void PrintTo(const StatementCase& c, std::ostream* os) {
    *os << testenv::ParamName(c.version);
}

class InsertStatements : public ::testing::TestWithParam<StatementCase> { };

TEST_P(InsertStatements, OneStagedPartWithReplacementNumbers) {
    const auto& c = GetParam();
    InsertStore store(QLatin1String(c.version), { StoredPart(40, "C", "P3") });
    store.stage(RingSet());
    testenv::FoldedTrace trace(kGroupMarks);
    int16_t n = 2;
    c.member(store.fx.form, n);

    const QString staged = QStringLiteral(
        "Select Kind, PartNO, AKind_1, AltNO_1, AKind_2, AltNO_2, AKind_3, AltNO_3, AKind_4, "
        "AltNO_4, AKind_5, AltNO_5, EName, TName, Model_1, Model_2, Model_3, Model_4, Model_5, "
        "Model_6, Model_7, Model_8, Model_9, Model_10, Model_11, Model_12, Description, Import, "
        "Price, DisPrice, Sale From PriceList Where BrandID = 12");
    const QString queue = staged + QStringLiteral(" Order By PartNO");
    const QString names = QStringLiteral("'RING SET', '%1', '%2', ").arg(kThaiSort, kThai);
    const QString tail = QStringLiteral("125.5, 0, 100, 0, %1, '', 0, 0, 0, 0, 0, 12, 0, 0, ")
                             .arg(QLatin1String(c.truth));
    const QStringList expected {
        "Select Count(PartNO) As Rec_Count From PriceList Where BrandID = 12",
        queue,
        staged + " And Kind = 'A' And PartNO = 'P1'",
        "Select PartID From Pta12 Where Kind = 'A' And PartNO = 'P1'",
        "<key>",
        "Insert Into Pta12 Values( 0, 41, 'A', '', 'P1', 'B', 'P2', '', " + names
            + "'O''RING', 'M1, M3', '', 'JP', '', " + tail + "'A-P1', 0, 0, 0, 0, 0, 0, 0 )",
        "Insert Into Alt12 Values( 41, 'A', 'P1', 125.5 )",
        "Select PartID From Pta12 Where Kind = 'B' And PartNO = 'P2'",
        "<key>",
        "Insert Into Pta12 Values( 0, 42, 'B', '', 'P2', '', '', '', " + names
            + "'', 'M1, M3', '', '', '', " + tail + "'B-P2', 0, 0, 0, 0, 0, 0, 0 )",
        "Insert Into Alt12 Values( 42, 'B', 'P2', 125.5 )",
        "Select PartID From Pta12 Where Kind = 'C' And PartNO = 'P3'",
        "Select PartID From Pta12 Where PartNO = 'P4'",
        "<key>",
        "Insert Into Pta12 Values( 0, 43, '', '', 'P4', '', '', '', " + names
            + "'', 'M1, M3', '', '', '', " + tail + "'P4', 0, 0, 0, 0, 0, 0, 0 )",
        "Insert Into Alt12 Values( 43, '', 'P4', 125.5 )",
        "<group>",
        "Delete From PriceList Where BrandID = 12 And Kind = 'A' And PartNO = 'P1'",
        queue,
    };
    EXPECT_LINES(trace.lines, expected);
    EXPECT_LINES(store.fx.window.qtyHistory,
        QStringList { QStringLiteral("กำลังเพิ่มข้อมูลใหม่  VURE_2  (0)  100 %") });
    EXPECT_FALSE(store.fx.form.cnStore().inTransaction());
}

INSTANTIATE_TEST_SUITE_P(Versions, InsertStatements,
    ::testing::Values(StatementCase { "V.31", insert::InsertNewPartsV31, "True, False" },
        StatementCase { "V.33", insert::InsertNewPartsV33, "True, False, False" }),
    [](const auto& info) { return testenv::ParamName(info.param.version); });

struct MemberCase {
    const char* name;
    const char* version;
    Member member;
    bool odbc;
};

void PrintTo(const MemberCase& c, std::ostream* os) {
    *os << c.name;
}

class InsertRows : public ::testing::TestWithParam<MemberCase> {
protected:
    InsertStore& store(const std::vector<storekit::ClassicPart>& parts = {}) {
        store_ = std::make_unique<InsertStore>(
            QLatin1String(GetParam().version), parts, GetParam().odbc);
        return *store_;
    }
    void run(int16_t n = 3) { GetParam().member(store_->fx.form, n); }
    std::unique_ptr<InsertStore> store_;
};

TEST_P(InsertRows, NewPartsReplacementsAndPartsTheStoreHas) {
    InsertStore& s = store({ StoredPart(40, "C", "P3") });
    Staged ring = RingSet();
    ring.alts = { { "B", "P2" }, { "C", "P3" } };
    s.stage(ring);
    s.stage({ .kind = "", .partNo = "P5", .eName = "BOLT", .price = "8", .sale = "7.25" });
    s.stage({ .kind = "C", .partNo = "P3", .eName = "STAGED AGAIN", .price = "9" });
    run();

    const QString ringNames = "RING SET|" + kThaiSort + "|" + kThai;
    EXPECT_LINES(s.partRows(),
        QStringList({ "40|C|P3|||OLD||||||0|0|||12|",
            "41|A|P1|B|P2|" + ringNames + "|O'RING|M1, M3|JP|125.5|100|1|0|12|A-P1",
            "42|B|P2|||" + ringNames + "||M1, M3||125.5|100|1|0|12|B-P2",
            "43||P5|||BOLT|BOLT|BOLT||||8|7.25|1|0|12|P5" }));
    EXPECT_LINES(
        s.codeRows(), QStringList({ "40|C|P3|0", "41|A|P1|125.5", "42|B|P2|125.5", "43||P5|8" }));
    // the part the store had gets its lone row even though it belongs to a group
    EXPECT_LINES(s.groupRows(),
        QStringList({ "0|40|0", "0|40|41", "0|40|42", "0|41|40", "0|41|42", "0|42|40", "0|42|41",
            "0|43|0" }));
    EXPECT_LINES(s.queue(), QStringList());
    EXPECT_LINES(s.counter(), QStringList { "43" });
    EXPECT_LINES(s.fx.window.qtyHistory,
        QStringList({ "กำลังเพิ่มข้อมูลใหม่  VURE_3  (2)  33 %", "กำลังเพิ่มข้อมูลใหม่  VURE_3  (1)  66 %",
            "กำลังเพิ่มข้อมูลใหม่  VURE_3  (0)  100 %" }));
    EXPECT_LINES(s.fx.window.partHistory,
        QStringList({ "A-P1 - " + kThai + "   M1, M3", "C-P3 - STAGED AGAIN   ", "P5 - BOLT   " }));
    EXPECT_EQ(s.fx.window.pumps, 3);
}

TEST_P(InsertRows, DequeueTakesEveryRowOfTheSameKindAndNumber) {
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QString>> staged; // kind, number, in staging order
        QStringList parts; // PartID|Kind|PartNO
        QString lastProgress;
    };
    const Case cases[] = {
        { "same kind twice", { { "A", "P1" }, { "A", "P1" }, { "B", "P2" } },
            { "1|A|P1", "2|B|P2" }, "กำลังเพิ่มข้อมูลใหม่  VURE_3  (1)  66 %" },
        { "other kinds stay", { { "A", "P1" }, { "B", "P1" } }, { "1|A|P1", "2|B|P1" },
            "กำลังเพิ่มข้อมูลใหม่  VURE_3  (0)  100 %" },
        { "empty kind takes every kind", { { "", "P1" }, { "A", "P1" }, { "B", "P1" } },
            { "1||P1" }, "กำลังเพิ่มข้อมูลใหม่  VURE_3  (2)  33 %" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InsertStore& s = store();
        for (const auto& [kind, number] : c.staged)
            s.stage({ .kind = kind, .partNo = number, .eName = "X" });
        run();
        EXPECT_LINES(s.rows("Pta12", { "PartID", "Kind", "PartNO" }, "Order By PartID"), c.parts);
        EXPECT_LINES(s.queue(), QStringList());
        EXPECT_EQ(s.fx.window.qtyHistory.last().toStdString(), c.lastProgress.toStdString());
    }
}

TEST_P(InsertRows, FailureOnTheThirdPartKeepsTheFirstTwo) {
    InsertStore& s = store();
    s.cn.Execute("CREATE TRIGGER refuse BEFORE INSERT ON Pta12 WHEN NEW.PartNO = 'P3' "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    for (const char* number : { "P1", "P2", "P3" })
        s.stage({ .kind = "A", .partNo = number, .eName = "X" });
    EXPECT_THROW(run(), rt::RunError);
    // what the UpDate handler does with the transaction in hand
    s.fx.form.cnStore().RollbackTrans();

    EXPECT_LINES(s.rows("Pta12", { "PartID", "PartNO" }, "Order By PartID"),
        QStringList({ "1|P1", "2|P2" }));
    EXPECT_LINES(s.codeRows(), QStringList({ "1|A|P1|0", "2|A|P2|0" }));
    EXPECT_LINES(s.groupRows(), QStringList({ "0|1|0", "0|2|0" }));
    EXPECT_LINES(s.queue(), QStringList { "A|P3" });
    EXPECT_LINES(s.counter(), QStringList { "2" });
}

TEST_P(InsertRows, DequeueThatRemovesNothingRaises) {
    InsertStore& s = store();
    // a number stored with a trailing blank is read trimmed and so matches no staged row
    s.stage({ .kind = "A", .partNo = "P1 ", .eName = "X" });
    EXPECT_THROW(run(), rt::RunError);
    // known before the part is written: no transaction was begun
    EXPECT_FALSE(s.fx.form.cnStore().inTransaction());
    EXPECT_LINES(s.rows("Pta12", { "PartID" }), QStringList());
    EXPECT_LINES(s.queue(), QStringList { "A|P1 " });
    EXPECT_LINES(s.counter(), QStringList { "0" });
}

TEST_P(InsertRows, KeyAllocationFailureLeavesThePartOut) {
    InsertStore& s = store({ StoredPart(40, "C", "P3") });
    s.cn.Execute("Drop Table LastID");
    s.stage(
        { .kind = "A", .partNo = "P1", .alts = { { "B", "P2" }, { "C", "P3" } }, .eName = "X" });
    s.stage({ .kind = "A", .partNo = "P5", .eName = "X" });
    run();

    EXPECT_LINES(s.rows("Pta12", { "PartID" }), QStringList { "40" });
    EXPECT_LINES(s.codeRows(), QStringList { "40|C|P3|0" });
    // the group of P1 is its stored replacement alone; P5 leaves a lone row with key 0
    EXPECT_LINES(s.groupRows(), QStringList({ "0|0|0", "0|40|0" }));
    EXPECT_LINES(s.queue(), QStringList());
}

TEST_P(InsertRows, EmptyQueueStartsNoTransaction) {
    InsertStore& s = store();
    s.stage({ .kind = "A", .partNo = "P1", .eName = "X" });
    s.fx.form.mBrandID = 13; // the queue holds only another brand's rows
    run();
    EXPECT_LINES(s.fx.window.qtyHistory, QStringList());
    EXPECT_LINES(s.queue(), QStringList { "A|P1" });
    EXPECT_EQ(s.fx.form.cnStore().State(), 1);
    EXPECT_FALSE(s.fx.form.cnStore().inTransaction());
}

INSTANTIATE_TEST_SUITE_P(Members, InsertRows,
    ::testing::Values(MemberCase { "V31", "V.31", insert::InsertNewPartsV31, false },
        MemberCase { "Sql31", "Ver 3.1 SQL", insert::InsertNewPartsSql31, true },
        MemberCase { "V33", "V.33", insert::InsertNewPartsV33, false }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
