// A store that ends a new part's transaction by itself (a server's deadlock victim, SQLite on
// some errors) at a statement whose failure the procedure reads as nothing found: nothing more of
// the part runs outside its transaction, the run ends with the failure message, and the store
// stays whole, so that the next run inserts the part.
#include "storekit/classic.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/lines.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

constexpr int kBrand = 12;

struct Store {
    const char* version;
    bool odbc; // the SQL-server road, on the stand-in file behind the ODBC driver
};

struct Failing {
    const char* name;
    const char* statement; // the first one inside a transaction that this matches fails
    bool ended; // the store ends the transaction there
};

const Failing kFailings[] = {
    { "GroupQuery", " As Rec_Count From (AltG|Pta_AltG_)", true },
    { "KeyCounter", "^Select NameID, LastID From LastID ", true },
    // a failure the store survives reads as nothing found, as it always did
    { "GroupQueryKept", " As Rec_Count From (AltG|Pta_AltG_)", false },
};

class StoreEndsTransaction : public ::testing::TestWithParam<std::tuple<Store, Failing>> {
protected:
    void TearDown() override { ado::SetTraceHook(nullptr); }

    const Store& store() const { return std::get<0>(GetParam()); }
    const Failing& failing() const { return std::get<1>(GetParam()); }
    bool pta() const { return QLatin1String(store().version).startsWith(QLatin1String("P.")); }
    QString table(const char* classic, const char* ptaName) const {
        return pta() ? QLatin1String(ptaName) + storekit::PtaSuffix(store().version, kBrand)
                     : QLatin1String(classic) + QString::number(kBrand);
    }

    // At the chosen statement, the store connection's transaction is rolled back on its own
    // handle and a TEMP table of that connection shadows the table the statement reads, so
    // that it fails; the shadow goes at the next statement.
    void failAtTheStatement() {
        ado::SetTraceHook([this](const QString& statement) {
            ado::Connection& cn = fx.form.cnStore();
            auto run = [&](const QString& sql) {
                QSqlQuery q(cn.database());
                ASSERT_TRUE(q.exec(sql))
                    << sql.toStdString() << ": " << q.lastError().text().toStdString();
            };
            if (!shadow.isEmpty()) {
                run(QStringLiteral("DROP TABLE temp.") + std::exchange(shadow, QString()));
                return;
            }
            if (reached || !cn.inTransaction()
                || !QRegularExpression(QLatin1String(failing().statement))
                        .match(statement)
                        .hasMatch())
                return;
            reached = true;
            if (failing().ended) run(QStringLiteral("ROLLBACK"));
            shadow
                = QRegularExpression(QStringLiteral(" From (\\w+)")).match(statement).captured(1);
            run(QStringLiteral("CREATE TEMP TABLE %1 (Shadow INTEGER)").arg(shadow));
        });
    }

    QStringList rows(const QString& sql) { return testenv::QueryRows(files.store, sql); }
    // Each group row as the part numbers it links ("-" for a link to no part at all).
    QStringList groupRows() {
        const QString part = table("Pta", "Pta_"), group = table("AltG", "Pta_AltG_");
        return rows(QStringLiteral("Select A, B From (Select Coalesce(p.PartNO, '-') As A, "
                                   "Coalesce(a.PartNO, Case When g.AltID = 0 Then '0' Else '-' "
                                   "End) As B From %1 g Left Join %2 p On p.PartID = g.PartID "
                                   "Left Join %2 a On a.PartID = g.AltID) Order By A, B")
                        .arg(group, part));
    }
    QStringList parts() {
        return rows(
            QStringLiteral("Select PartNO From %1 Order By PartNO").arg(table("Pta", "Pta_")));
    }
    QStringList queue() { return rows(QStringLiteral("Select PartNO From PriceList")); }

    // a run's form, over the store of the case
    void useStore(FormFixture& form) {
        if (store().odbc)
            form.useSqlServerStore(files.priceList, files.store);
        else
            form.useDesktopStore(files.priceList, files.store);
    }

    testenv::RunFiles files;
    FormFixture fx;
    QString shadow;
    bool reached = false;
};

TEST_P(StoreEndsTransaction, NothingOfThePartRunsOutsideIt) {
    if (pta())
        storekit::CreatePtaStore(files.store, QLatin1String(store().version), kBrand);
    else
        storekit::CreateClassicStore(files.store, QLatin1String(store().version), kBrand);
    storekit::CreatePriceList(files.priceList,
        { { 1,
            { storekit::MakePriceRow(QString(), QStringLiteral("N-1"), QStringLiteral("BELT"),
                QString(), 450, 0, { QStringLiteral("N-2") }) } } });
    useStore(fx);
    // N-2, staged too, comes after N-1 and gets its lone row
    const QStringList whole = pta() ? QStringList { "N1|N2", "N2|0", "N2|N1" }
                                    : QStringList { "N-1|N-2", "N-2|0", "N-2|N-1" };

    failAtTheStatement();
    fx.form.cmdUpDate_Click();
    ado::SetTraceHook(nullptr);
    ASSERT_TRUE(reached);
    ASSERT_EQ(fx.window.messages.size(), 1u);
    if (!failing().ended) {
        EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"))
            << fx.window.causes.join(QLatin1Char('\n')).toStdString();
        EXPECT_LINES(groupRows(), whole);
        EXPECT_LINES(queue(), QStringList());
        return;
    }
    EXPECT_EQ(fx.window.messages[0].text, kFailedMessage);
    // the first failure's cause, the shadow's missing column
    ASSERT_EQ(fx.window.causes.size(), 1);
    EXPECT_TRUE(fx.window.causes[0].startsWith(
        QLatin1String("The database ended the transaction at an earlier failure: ")))
        << fx.window.causes[0].toStdString();
    EXPECT_TRUE(fx.window.causes[0].contains(QLatin1String("no such column")))
        << fx.window.causes[0].toStdString();
    EXPECT_LINES(groupRows(), QStringList());
    EXPECT_LINES(parts(), QStringList());
    EXPECT_LINES(queue(), QStringList({ "N-1", "N-2" }));

    // the program ends after a failure; the next one inserts the part
    ado::CloseStandIns();
    FormFixture next;
    useStore(next);
    next.form.cmdUpDate_Click();
    ASSERT_EQ(next.window.messages.size(), 1u);
    EXPECT_EQ(next.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"))
        << next.window.causes.join(QLatin1Char('\n')).toStdString();
    EXPECT_LINES(groupRows(), whole);
    EXPECT_LINES(queue(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Roads, StoreEndsTransaction,
    ::testing::Combine(::testing::Values(Store { "V.31", false }, Store { "Ver 3.1 SQL", true },
                           Store { "P.68 (Bar)", false }, Store { "P.66 (Bar)", true }),
        ::testing::ValuesIn(kFailings)),
    [](const auto& info) {
        const Store& s = std::get<0>(info.param);
        return std::string(
                   QLatin1String(s.version).startsWith(QLatin1String("P.")) ? "Pta" : "Classic")
            + (s.odbc ? "SqlServer" : "Access") + std::get<1>(info.param).name;
    });

} // namespace
