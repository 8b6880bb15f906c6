// Key allocation from LastID through both members: the recordset member on a desktop store,
// the statement member on the same file and through the SQL-server ODBC path.
#include "app/members.h"
#include "platform/runtime/text.h"
#include "storekit/storekit.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <gtest/gtest.h>

namespace {

struct Member {
    const char* name;
    bool access; // the Access option, which picks the member
    bool odbc; // the store reached through the SQL-server driver
};

void PrintTo(const Member& m, std::ostream* os) {
    *os << m.name;
}

class NextKeyTest : public ::testing::TestWithParam<Member> {
protected:
    void SetUp() override {
        const QString path = testenv::TempDir() + QStringLiteral("/store.accdb");
        storekit::StoreSetup setup;
        setup.version = QStringLiteral("V.31");
        setup.counters = { { QStringLiteral("Pta7"), 41 } };
        storekit::CreateStore(path, setup);
        if (GetParam().odbc)
            fx.useSqlServerStore(QString(), path);
        else
            fx.useDesktopStore(QString(), path);
        fx.form.OpenStoreConnection();
        fx.form.cnStore().Execute(QStringLiteral("Insert Into LastID Values( 'Blank', Null )"));
        fx.window.access = GetParam().access;
    }

    int32_t next(const char* name) { return NextKey(fx.form, QString::fromUtf8(name)); }

    QStringList counters() {
        ado::Recordset rs;
        rs.Open(
            QStringLiteral("Select NameID, LastID From LastID Order By NameID"), fx.form.cnStore());
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << rs.Field(QStringLiteral("NameID")).toText() + QLatin1Char('=')
                    + rs.Field(QStringLiteral("LastID")).textOrEmpty();
        rs.Close();
        return out;
    }

    FormFixture fx;
};

TEST_P(NextKeyTest, HandsOutConsecutiveKeysAndStartsNewCountersAtOne) {
    const QString select = QStringLiteral("Select NameID, LastID From LastID Where NameID = '%1'");
    struct Case {
        const char* name;
        int32_t key;
        QString statement; // mSQL after the statement member
    } cases[] = {
        { "PartID", 1, QStringLiteral("Insert Into LastID Values( 'PartID', 1 )") },
        { "PartID", 2, QStringLiteral("Update LastID Set LastID = 2 Where NameID = 'PartID'") },
        { "Pta7", 42, QStringLiteral("Update LastID Set LastID = 42 Where NameID = 'Pta7'") },
        { "Pta7", 43, QStringLiteral("Update LastID Set LastID = 43 Where NameID = 'Pta7'") },
        { "O'Key", 1, QStringLiteral("Insert Into LastID Values( 'O''Key', 1 )") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(next(c.name), c.key);
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
        EXPECT_EQ(fx.form.mSQL,
            GetParam().access ? select.arg(rt::Quote(QString::fromUtf8(c.name))) : c.statement);
    }
    EXPECT_EQ(counters(), QStringList({ "Blank=", "O'Key=1", "PartID=2", "Pta7=43" }));
}

TEST_P(NextKeyTest, AFailureGivesZeroAndLeavesTheCountersAlone) {
    struct Case {
        const char* what;
        std::function<void(frmKordane&)> arrange;
        const char* name;
    } cases[] = {
        { "null counter", [](frmKordane&) {}, "Blank" },
        { "lookup held open",
            [](frmKordane& f) {
                f.rsLookup.Open(QStringLiteral("Select Ver From System"), f.cnStore());
            },
            "Pta7" },
        { "table missing",
            [](frmKordane& f) {
                f.cnStore().Execute(QStringLiteral("Alter Table LastID Rename To Gone"));
            },
            "Pta7" },
    };
    const QStringList before = counters();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(fx.form);
        EXPECT_EQ(next(c.name), 0);
        EXPECT_FALSE(fx.form.rsLookup.isOpen());
    }
    fx.form.cnStore().Execute(QStringLiteral("Alter Table Gone Rename To LastID"));
    EXPECT_EQ(counters(), before);
}

TEST_P(NextKeyTest, TheCallersRollbackUndoesTheCounter) {
    ado::Connection& cn = fx.form.cnStore();
    cn.BeginTrans();
    EXPECT_EQ(next("Pta7"), 42);
    EXPECT_EQ(next("PartID"), 1);
    cn.RollbackTrans();
    EXPECT_EQ(counters(), QStringList({ "Blank=", "Pta7=41" }));

    cn.BeginTrans();
    EXPECT_EQ(next("Pta7"), 42);
    cn.CommitTrans();
    EXPECT_EQ(counters(), QStringList({ "Blank=", "Pta7=42" }));
}

INSTANTIATE_TEST_SUITE_P(Members, NextKeyTest,
    ::testing::Values(Member { "Recordset", true, false }, Member { "Statements", false, false },
        Member { "StatementsOdbc", false, true }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
