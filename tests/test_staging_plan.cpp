// The staging queue's lookups by kind and number, and its head in part-number order, are
// searched by part number, not through the kind index that every staged row shares.
#include "app/frmKordane.h"
#include "storekit/classic.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <gtest/gtest.h>

namespace {

QStringList plan(ado::Connection& cn, const QString& sql) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, cn);
    QStringList steps;
    for (; !rs.Eof(); rs.MoveNext())
        steps << rs.Field(QStringLiteral("detail")).toText();
    rs.Close();
    return steps;
}

class StagingPlan : public ::testing::TestWithParam<bool> { };

TEST_P(StagingPlan, QueueStatementsSearchByPartNumber) {
    const QString store = testenv::TempDir() + QStringLiteral("/Velandor.accdb");
    storekit::CreateClassicStore(store, QStringLiteral("V.31"), 12);
    FormFixture fx;
    if (GetParam())
        fx.useSqlServerStore(QString(), store);
    else
        fx.useDesktopStore(QString(), store);
    fx.form.OpenStoreConnection();
    QStringList seen;
    ado::SetTraceHook([&](const QString& s) { seen << s; });
    if (GetParam())
        fx.form.RecreateStagingTableSql();
    else
        fx.form.RecreateStagingTable();
    ado::SetTraceHook(nullptr);
    ASSERT_EQ(seen.size(), 4); // the run's own statements only
    fx.form.cnStore().Close();

    ado::Connection cn;
    storekit::OpenFile(cn, store);
    for (const char* sql :
        { "Select PartNO From PriceList Where BrandID = 12 And Kind = '0' And PartNO = 'A-1'",
            "Delete From PriceList Where BrandID = 12 And Kind = '0' And PartNO = 'A-1'",
            "Delete From PriceList Where BrandID = 12 And PartNO = 'A-1'",
            "Select Kind, PartNO, EName From PriceList Where BrandID = 12 Order By PartNO" }) {
        const QString steps = plan(cn, QLatin1String(sql)).join(QLatin1Char('|'));
        EXPECT_FALSE(steps.contains(QLatin1String("PriceList_Kind")))
            << sql << ": " << qPrintable(steps);
        EXPECT_FALSE(steps.contains(QLatin1String("TEMP B-TREE")))
            << sql << ": " << qPrintable(steps);
        EXPECT_FALSE(steps.startsWith(QLatin1String("SCAN PriceList")))
            << sql << ": " << qPrintable(steps);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, StagingPlan, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? "SqlServer" : "Access"; });

} // namespace
