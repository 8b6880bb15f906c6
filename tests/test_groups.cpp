// Replacement-number groups: the rebuild of one group and the reorganisation of all groups,
// in the classic tables and in the Pta_ tables of two- and three-digit suffixes.
#include "app/members.h"
#include "storekit/classic.h"
#include "storekit/pta_groups.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>

namespace {

using Links = std::vector<std::pair<int, int>>;

struct Schema {
    const char* name;
    QString version;
    int brand;
    QString sfx; // empty for the classic schema
    bool classic() const { return sfx.isEmpty(); }
    QString groupTable() const {
        return classic() ? QStringLiteral("AltG%1").arg(brand) : QStringLiteral("Pta_AltG_") + sfx;
    }
    QString queue() const {
        return classic() ? QStringLiteral("AltGX") : QStringLiteral("Pta_AltGX");
    }
};

void PrintTo(const Schema& s, std::ostream* os) {
    *os << s.name;
}

const Schema kClassic { "Classic", QStringLiteral("V.31"), 7, {} };
const Schema kP66 { "P66", QStringLiteral("P.66 (Bar)"), 7, QStringLiteral("07") };
const Schema kP68 { "P68", QStringLiteral("P.68 (Bar)"), 7, QStringLiteral("007") };

// A store of one schema with the given parts, Fac entries 4, 5 and 6, and a form on it.
class GroupStore {
public:
    GroupStore(const Schema& s, const std::vector<int>& parts)
        : s_(s) {
        const QString path = testenv::TempDir() + QStringLiteral("/store.accdb");
        if (s.classic()) {
            std::vector<storekit::ClassicPart> rows;
            for (int id : parts) {
                storekit::ClassicPart p;
                p.partId = id;
                p.partNo = QStringLiteral("P%1").arg(id);
                p.withSideRows = false;
                rows.push_back(p);
            }
            storekit::CreateClassicStore(path, s.version, s.brand, rows);
        } else {
            storekit::StoreSetup setup;
            setup.version = s.version;
            storekit::CreateStore(path, setup);
            ado::Connection cn;
            storekit::OpenFile(cn, path);
            storekit::CreatePtaGroupTables(cn, s.sfx);
            storekit::CreateMinimalPtaPartTable(cn, s.sfx);
            for (int id : parts)
                cn.Execute(QStringLiteral("Insert Into Pta_%1 Values( %2 )").arg(s.sfx).arg(id));
            cn.Close();
        }
        fx.useDesktopStore(QString(), path);
        fx.form.mStoreVersion = s.version;
        fx.form.mBrandID = s.brand;
        fx.form.OpenStoreConnection();
        if (s.classic())
            for (int f : { 4, 5, 6 })
                exec(QStringLiteral("Insert Into Fac Values( %1, 'F%1' )").arg(f));
    }

    void exec(const QString& sql) { fx.form.cnStore().Execute(sql); }
    void link(int x, int y) {
        exec(s_.classic() ? QStringLiteral("Insert Into %1 Values( 0, %2, %3 )")
                                .arg(s_.groupTable())
                                .arg(x)
                                .arg(y)
                          : QStringLiteral("Insert Into %1 Values( %2, %3 )")
                                .arg(s_.groupTable())
                                .arg(x)
                                .arg(y));
    }
    void links(const Links& l) {
        for (auto [x, y] : l)
            link(x, y);
    }
    void fac(int part, int facId) {
        exec(QStringLiteral("Insert Into FacD%1 Values( 0, %2, %3 )")
                 .arg(s_.brand)
                 .arg(part)
                 .arg(facId));
    }

    Links pairs(const QString& table, const char* second) {
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select PartID, %2 From %1 Order By PartID, %2")
                    .arg(table, QLatin1String(second)),
            fx.form.cnStore());
        Links out;
        for (; !rs.Eof(); rs.MoveNext())
            out.emplace_back(rs.Field(QStringLiteral("PartID")).toInt32(),
                rs.Field(QLatin1String(second)).toInt32());
        rs.Close();
        return out;
    }
    Links links() { return pairs(s_.groupTable(), "AltID"); }
    Links facLinks() { return pairs(QStringLiteral("FacD%1").arg(s_.brand), "FacID"); }
    int queued() {
        ado::Recordset rs;
        rs.Open(QStringLiteral("Select PartID From ") + s_.queue(), fx.form.cnStore());
        const int n = rs.RecordCount();
        rs.Close();
        return n;
    }

    // Every statement run or opened by the call.
    QStringList traced(const std::function<void()>& call) { return testenv::Traced(call); }

    // Rebuilds, checking the result and that the keys come back unchanged.
    void rebuild(int partId, std::array<int32_t, 5> alts) {
        int32_t p = partId;
        auto a = alts;
        EXPECT_EQ(groups::RebuildAltGroup(fx.form, p, a[0], a[1], a[2], a[3], a[4]), 0);
        EXPECT_EQ(p, partId);
        EXPECT_EQ(a, alts);
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
    }

    Schema s_;
    FormFixture fx;
};

TEST(RebuildAltGroup, ClassicGroupTakesThePartsFacLinksMemberByMember) {
    GroupStore g(kClassic, { 10, 20, 30, 40 });
    g.links({ { 10, 30 }, { 10, 20 }, { 20, 40 }, { 40, 20 }, { 10, 99 } }); // 99 is no part
    g.fac(10, 4);
    g.fac(10, 8); // no Fac entry
    g.fac(30, 5);

    const QStringList trace = g.traced([&] { g.rebuild(10, { 20, 0, 0, 0, 0 }); });

    const QString join = QStringLiteral(
        "From AltG7 Inner Join Pta7 On AltG7.AltID = Pta7.PartID Where AltG7.PartID = 10");
    const QString facJoin
        = QStringLiteral("From FacD7 Inner Join Fac On FacD7.FacID = Fac.FacID Where PartID = 10");
    QStringList expected { QStringLiteral("Select Count(Pta7.PartID) As Rec_Count ") + join,
        QStringLiteral("Select Pta7.PartID ") + join,
        QStringLiteral("Select Count(Fac.FacID) As Rec_Count ") + facJoin,
        QStringLiteral("Select Fac.FacID ") + facJoin };
    const std::pair<int, std::vector<int>> members[]
        = { { 10, { 20, 30 } }, { 20, { 10, 30 } }, { 30, { 10, 20 } } };
    for (const auto& [m, others] : members) {
        expected << QStringLiteral("Delete From AltG7 Where PartID = %1").arg(m)
                 << QStringLiteral("Delete From FacD7 Where PartID = %1").arg(m);
        for (int o : others)
            expected << QStringLiteral("Insert Into AltG7 Values( 0, %1, %2 )").arg(m).arg(o);
        expected << QStringLiteral("Insert Into FacD7 Values( 0, %1, 4 )").arg(m);
    }
    EXPECT_EQ(trace, expected);
    EXPECT_EQ(g.links(),
        Links({ { 10, 20 }, { 10, 30 }, { 20, 10 }, { 20, 30 }, { 30, 10 }, { 30, 20 },
            { 40, 20 } }));
    EXPECT_EQ(g.facLinks(), Links({ { 10, 4 }, { 20, 4 }, { 30, 4 } }));
}

TEST(RebuildAltGroup, PartWithoutFacLinksLeavesTheMembersFacLinks) {
    GroupStore g(kClassic, { 10, 20 });
    g.fac(20, 5);
    g.fac(10, 8); // names no Fac entry, so the part has no Fac links
    const QStringList trace = g.traced([&] { g.rebuild(10, { 20, 0, 0, 0, 0 }); });
    EXPECT_FALSE(trace.join(QLatin1Char('\n')).contains(QStringLiteral("Delete From FacD7")));
    EXPECT_EQ(g.links(), Links({ { 10, 20 }, { 20, 10 } }));
    EXPECT_EQ(g.facLinks(), Links({ { 10, 8 }, { 20, 5 } }));
}

class RebuildBothSchemas : public ::testing::TestWithParam<Schema> { };

TEST_P(RebuildBothSchemas, RepeatsSelfLinksAndNonPositiveKeysAreDropped) {
    struct Case {
        const char* what;
        Links before;
        int partId;
        std::array<int32_t, 5> alts;
        Links after;
    } cases[] = {
        { "self, twice and already a partner", { { 10, 30 } }, 10, { 10, 20, 20, 30, -5 },
            { { 10, 20 }, { 10, 30 }, { 20, 10 }, { 20, 30 }, { 30, 10 }, { 30, 20 } } },
        { "partner linked twice", { { 10, 20 }, { 10, 20 } }, 10, { 20, 0, 0, 0, 0 },
            { { 10, 20 }, { 20, 10 } } },
        { "alone, linked to no part", { { 10, 0 }, { 10, 99 } }, 10, { 0, 0, 0, 0, 0 },
            { { 10, 0 } } },
        { "no part key", {}, 0, { 20, 0, 30, 0, 0 }, { { 20, 30 }, { 30, 20 } } },
        { "former group keeps its links to the part", { { 20, 40 }, { 40, 20 } }, 10,
            { 20, 0, 0, 0, 0 }, { { 10, 20 }, { 20, 10 }, { 40, 20 } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GroupStore g(GetParam(), { 10, 20, 30, 40 });
        g.links(c.before);
        g.rebuild(c.partId, c.alts);
        EXPECT_EQ(g.links(), c.after);
    }
}

INSTANTIATE_TEST_SUITE_P(Schemas, RebuildBothSchemas, ::testing::Values(kClassic, kP66, kP68),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RebuildAltGroup, PtaTablesCarryTheBrandKeyPaddedByVersion) {
    const Schema schemas[]
        = { kP66, kP68, { "P68wide", QStringLiteral("P.68 (Bar)"), 42, QStringLiteral("042") } };
    for (const auto& s : schemas) {
        SCOPED_TRACE(s.name);
        GroupStore g(s, { 10, 20 });
        const QStringList trace = g.traced([&] { g.rebuild(10, { 20, 0, 0, 0, 0 }); });
        const QString join = QStringLiteral("From Pta_AltG_%1 Inner Join Pta_%1 On "
                                            "Pta_AltG_%1.AltID = Pta_%1.PartID Where "
                                            "Pta_AltG_%1.PartID = 10")
                                 .arg(s.sfx);
        EXPECT_EQ(trace,
            QStringList(
                { QStringLiteral("Select Count(Pta_%1.PartID) As Rec_Count ").arg(s.sfx) + join,
                    QStringLiteral("Select Pta_%1.PartID ").arg(s.sfx) + join,
                    QStringLiteral("Delete From Pta_AltG_%1 Where PartID = 10").arg(s.sfx),
                    QStringLiteral("Insert Into Pta_AltG_%1 Values( 10, 20 )").arg(s.sfx),
                    QStringLiteral("Delete From Pta_AltG_%1 Where PartID = 20").arg(s.sfx),
                    QStringLiteral("Insert Into Pta_AltG_%1 Values( 20, 10 )").arg(s.sfx) }));
        EXPECT_EQ(g.links(), Links({ { 10, 20 }, { 20, 10 } }));
    }
}

TEST(RebuildAltGroup, BrandKeyThatDoesNotFitTheSuffixRaisesBeforeAnyStatement) {
    const std::pair<QString, int> cases[] = { { QStringLiteral("P.66 (Bar)"), 100 },
        { QStringLiteral("P.68 (Bar)"), 1000 }, { QStringLiteral("P.66 (Bar)"), -3 } };
    for (const auto& [version, brand] : cases) {
        SCOPED_TRACE(brand);
        GroupStore g(kP66, { 10 });
        g.fx.form.mStoreVersion = version;
        g.fx.form.mBrandID = brand;
        int32_t p = 10, z = 0;
        const QStringList trace = g.traced([&] {
            EXPECT_THROW(groups::RebuildAltGroup(g.fx.form, p, z, z, z, z, z), rt::RunError);
            EXPECT_THROW(groups::ReorganizeAltGroups(g.fx.form), rt::RunError);
        });
        EXPECT_EQ(trace, QStringList());
    }
}

class ReorganizeBothSchemas : public ::testing::TestWithParam<Schema> { };

TEST_P(ReorganizeBothSchemas, EachGroupIsRebuiltOnceFromItsHeadInItsOwnTransaction) {
    GroupStore g(GetParam(), { 10, 20, 30, 40, 50, 60 });
    // 10 is linked with 20 and 30, which are not linked with each other; 40 points at 50,
    // which has only its lone row; 60 is alone; the row of part 0 goes first.
    g.links({ { 0, 50 }, { 10, 20 }, { 10, 30 }, { 20, 10 }, { 30, 10 }, { 40, 50 }, { 50, 0 },
        { 60, 0 } });
    const bool classic = GetParam().classic();
    if (classic) {
        g.fac(10, 4);
        g.fac(20, 5);
        g.fac(40, 6);
        g.fac(60, 5);
    }
    std::vector<bool> inTransaction;
    g.fx.window.onDoEvents = [&] { inTransaction.push_back(g.fx.form.cnStore().inTransaction()); };

    groups::ReorganizeAltGroups(g.fx.form);

    EXPECT_EQ(g.fx.window.qtyHistory, QStringList({ QStringLiteral("จัดระเบียบเบอร์แทนใหม่  VURE") }));
    EXPECT_EQ(g.fx.window.partHistory, QStringList({ "10", "40", "60" }));
    EXPECT_EQ(inTransaction, std::vector<bool>({ false, true, true, true }));
    EXPECT_FALSE(g.fx.form.cnStore().inTransaction());
    EXPECT_FALSE(g.fx.form.rsList.isOpen());
    EXPECT_EQ(g.links(),
        Links({ { 10, 20 }, { 10, 30 }, { 20, 10 }, { 20, 30 }, { 30, 10 }, { 30, 20 }, { 40, 50 },
            { 50, 40 }, { 60, 0 } }));
    EXPECT_EQ(g.queued(), 0);
    if (classic) {
        EXPECT_EQ(g.facLinks(),
            Links({ { 10, 4 }, { 20, 4 }, { 30, 4 }, { 40, 6 }, { 50, 6 }, { 60, 5 } }));
    }
}

TEST_P(ReorganizeBothSchemas, AnEmptyGroupTableOnlyEmptiesTheQueue) {
    GroupStore g(GetParam(), { 10 });
    g.exec(QStringLiteral("Insert Into %1 Values( 99 )").arg(GetParam().queue()));
    const QString table = GetParam().groupTable(), queue = GetParam().queue();

    const QStringList trace = g.traced([&] { groups::ReorganizeAltGroups(g.fx.form); });

    EXPECT_EQ(trace,
        QStringList({ QStringLiteral("Delete From ") + queue,
            QStringLiteral("Delete From %1 Where PartID = 0").arg(table),
            QStringLiteral("Insert Into %1(PartID) Select PartID From %2").arg(queue, table),
            QStringLiteral("Select PartID From ") + queue }));
    EXPECT_EQ(g.fx.window.qtyHistory, QStringList({ QStringLiteral("จัดระเบียบเบอร์แทนใหม่  VURE") }));
    EXPECT_EQ(g.fx.window.partHistory, QStringList());
    EXPECT_EQ(g.queued(), 0);
    EXPECT_FALSE(g.fx.form.rsList.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Schemas, ReorganizeBothSchemas, ::testing::Values(kClassic, kP66, kP68),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
