// Recordsets that fetch their rows as they are read: exact counts, and writes on the same
// connection that still commit on their own while a recordset is part-way through its rows.
#include "platform/ado/ado.h"
#include "storekit/storekit.h"
#include "support/odbc_env.h"

#include <gtest/gtest.h>

using ado::Connection;
using ado::Recordset;

namespace {

class Stepping : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        path_ = testenv::TempDir() + QStringLiteral("/store.db");
        storekit::CreateEmptyFile(path_);
        cn_.setConnectionString(GetParam() ? testenv::SqlServerConnectionString(path_)
                                           : storekit::DesktopConnectionString(path_));
        cn_.Open();
        cn_.Execute(QStringLiteral("Create Table Q (N int, T nvarchar(10))"));
        for (int i = 1; i <= 5; ++i)
            cn_.Execute(QStringLiteral("Insert Into Q Values( %1, 'r%1' )").arg(i));
    }
    // What another connection sees: only committed rows.
    int committedRows() {
        Connection other;
        storekit::OpenFile(other, path_);
        Recordset rs;
        rs.Open(QStringLiteral("Select Count(*) As C From Q"), other);
        const int n = rs.Field(QStringLiteral("C")).toInt32();
        rs.Close();
        return n;
    }
    QStringList readAll(Recordset& rs) {
        QStringList out;
        for (; !rs.Eof(); rs.MoveNext())
            out << rs.Field(QStringLiteral("T")).toText();
        return out;
    }
    QString path_;
    Connection cn_;
};

TEST_P(Stepping, RecordCountIsExactWhereverItIsAsked) {
    struct Case {
        const char* where;
        int count;
        int readFirst;
    };
    for (const Case& c : { Case { "N > 99", 0, 0 }, Case { "N = 3", 1, 0 }, Case { "N > 0", 5, 0 },
             Case { "N > 0", 5, 2 }, Case { "N > 0", 5, 5 } }) {
        Recordset rs;
        rs.Open(
            QStringLiteral("Select T From Q Where %1 Order By N").arg(QLatin1String(c.where)), cn_);
        for (int i = 0; i < c.readFirst; ++i)
            rs.MoveNext();
        EXPECT_EQ(rs.RecordCount(), c.count) << c.where << " after " << c.readFirst;
        EXPECT_EQ(rs.Eof(), c.readFirst >= c.count);
        rs.Close();
    }
}

TEST_P(Stepping, WritesWhileARecordsetIsOpenCommitOnTheirOwn) {
    Recordset rs;
    rs.Open(QStringLiteral("Select T From Q Order By N"), cn_);
    EXPECT_EQ(rs.Field(QStringLiteral("T")).toText(), "r1");
    cn_.Execute(QStringLiteral("Insert Into Q Values( 6, 'r6' )"));
    EXPECT_EQ(committedRows(), 6); // committed before the recordset is read through

    // a transaction begun and rolled back meanwhile takes back only its own write
    cn_.BeginTrans();
    cn_.Execute(QStringLiteral("Insert Into Q Values( 7, 'r7' )"));
    cn_.RollbackTrans();
    EXPECT_EQ(committedRows(), 6);

    // the recordset keeps the rows of its Open
    EXPECT_EQ(readAll(rs), (QStringList { "r1", "r2", "r3", "r4", "r5" }));
    rs.Close();

    // a second recordset on the same connection, both part-way, then a write
    Recordset a, b;
    a.Open(QStringLiteral("Select T From Q Order By N"), cn_);
    b.Open(QStringLiteral("Select T From Q Order By N Desc"), cn_);
    a.MoveNext();
    cn_.Execute(QStringLiteral("Delete From Q Where N = 1"));
    EXPECT_EQ(committedRows(), 5);
    EXPECT_EQ(readAll(b).first(), "r6");
    EXPECT_EQ(readAll(a).size(), 5);
    a.Close();
    b.Close();
}

TEST_P(Stepping, ClosingTheConnectionKeepsTheRowsOfAnOpenRecordset) {
    auto rs = std::make_unique<Recordset>();
    rs->Open(QStringLiteral("Select T From Q Order By N"), cn_);
    cn_.Close();
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(readAll(*rs).last(), "r5");
    rs->Close();

    // one that outlives its connection object keeps its rows and refuses to write
    auto gone = std::make_unique<Connection>();
    storekit::OpenFile(*gone, path_);
    Recordset kept;
    kept.Open(QStringLiteral("Select N, T From Q Order By N"), *gone);
    gone.reset();
    EXPECT_EQ(kept.RecordCount(), 5);
    kept.SetField(QStringLiteral("T"), rt::Value("x"));
    EXPECT_THROW(kept.Update(), rt::RunError);
    kept.Close();

    // a recordset that goes away part-way leaves the connection usable
    cn_.Open();
    rs->Open(QStringLiteral("Select T From Q"), cn_);
    rs.reset();
    cn_.Execute(QStringLiteral("Delete From Q"));
    EXPECT_EQ(committedRows(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, Stepping, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? "Odbc" : "StandIn"; });

} // namespace
