// The SQL-server path through the real FreeTDS driver against a local server that stops
// answering: the login, every statement, a transaction's begin, commit and rollback and Qt's
// set-up statements end with an error within their timeout, and a close with a transaction in
// hand within it too; after the server ended a transaction itself, its later statements and its
// commit fail without reaching it; the TDS version a user set is the one the login goes out with;
// an open whose set-up the server left unanswered fails with the failure message, one answered
// late within the timeout does not; and a server that sends no row counts.
#include "platform/ado/ado.h"
#include "support/odbc_env.h"
#include "support/tds_server.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/wait.h>
#include <unistd.h>

using ado::Connection;
using testenv::TdsServer;

namespace {

constexpr int kTimeout = 1; // seconds, the connection's CommandTimeout
constexpr int kBoundMs = 6000;

void OpenOn(const TdsServer& server, Connection& cn, const QString& afterAddress = {}) {
    cn.setConnectionString(
        testenv::TdsConnectionString(testenv::FreeTdsDriverName(), server.port(), afterAddress));
    cn.setCommandTimeout(kTimeout);
    cn.setMode(3);
    cn.Open();
}

// Runs work in a child process, since a driver that hangs cannot be stopped from inside: its
// exit code, or -1 when it was still busy at the bound (it is killed then).
int ExitWithinBound(const std::function<int()>& work) {
    const pid_t child = fork();
    if (child == 0) _exit(work());
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (clock.elapsed() > kBoundMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        usleep(20000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs ready, then step, on one connection in a child process: true when step ended with the
// layer's error within the bound.
bool StepFailsWithinBound(
    const std::function<void(Connection&)>& ready, const std::function<void(Connection&)>& step) {
    return ExitWithinBound([&] {
        Connection cn;
        try {
            ready(cn);
        } catch (...) {
            return 2;
        }
        try {
            step(cn);
        } catch (const rt::RunError&) {
            return 0;
        } catch (...) { }
        return 1;
    }) == 0;
}

TEST(SqlServerTimeouts, LoginToServerThatNeverAnswersFailsWithinItsTimeout) {
    TdsServer server(TdsServer::Mode::Silent);
    EXPECT_TRUE(
        StepFailsWithinBound([](Connection&) {}, [&](Connection& cn) { OpenOn(server, cn); }));
}

struct Stalled {
    const char* what;
    void (*run)(Connection& cn);
};
void PrintTo(const Stalled& s, std::ostream* os) {
    *os << s.what;
}

class StatementOnStalledServer : public ::testing::TestWithParam<Stalled> { };

TEST_P(StatementOnStalledServer, FailsWithinTheCommandTimeout) {
    TdsServer server(TdsServer::Mode::StallsOnStall);
    EXPECT_TRUE(StepFailsWithinBound(
        [&](Connection& cn) {
            OpenOn(server, cn);
            cn.Execute(QStringLiteral("Delete From PriceList")); // answered
        },
        GetParam().run));
}

INSTANTIATE_TEST_SUITE_P(Statements, StatementOnStalledServer,
    ::testing::Values(Stalled { "Execute",
                          [](Connection& cn) { cn.Execute(QStringLiteral("Delete From Stall")); } },
        Stalled { "Open",
            [](Connection& cn) {
                ado::Recordset rs;
                rs.Open(QStringLiteral("Select * From Stall"), cn);
            } }),
    [](const auto& info) { return std::string(info.param.what); });

// A server that stops answering at one request of the transaction or of the set-up Qt does at
// connect on a SQL server: that request, and the run, end with an error within the bound.
struct Stopped {
    const char* what;
    TdsServer::Mode mode;
    void (*ready)(const TdsServer& server, Connection& cn);
    void (*step)(const TdsServer& server, Connection& cn);
};
void PrintTo(const Stopped& s, std::ostream* os) {
    *os << s.what;
}

void OpenedInTransaction(const TdsServer& server, Connection& cn) {
    OpenOn(server, cn);
    cn.BeginTrans();
    cn.Execute(QStringLiteral("Delete From PriceList"));
}

class ServerStopsAnswering : public ::testing::TestWithParam<Stopped> { };

TEST_P(ServerStopsAnswering, RunFailsWithinTheCommandTimeout) {
    TdsServer server(GetParam().mode);
    EXPECT_TRUE(StepFailsWithinBound([&](Connection& cn) { GetParam().ready(server, cn); },
        [&](Connection& cn) { GetParam().step(server, cn); }));
}

INSTANTIATE_TEST_SUITE_P(Requests, ServerStopsAnswering,
    ::testing::Values(Stopped { "ConnectSetUp", TdsServer::Mode::StopsAtQuotedIdentifier,
                          [](const TdsServer&, Connection&) {},
                          // the open itself fails: a run that went on would wait again at
                          // every re-open of its store
                          [](const TdsServer& server, Connection& cn) { OpenOn(server, cn); } },
        Stopped { "Begin", TdsServer::Mode::StopsAtBegin,
            [](const TdsServer& server, Connection& cn) { OpenOn(server, cn); },
            [](const TdsServer&, Connection& cn) { cn.BeginTrans(); } },
        Stopped { "Commit", TdsServer::Mode::StopsAtCommit, OpenedInTransaction,
            [](const TdsServer&, Connection& cn) { cn.CommitTrans(); } },
        Stopped { "Rollback", TdsServer::Mode::StopsAtRollback, OpenedInTransaction,
            [](const TdsServer&, Connection& cn) { cn.RollbackTrans(); } }),
    [](const auto& info) { return std::string(info.param.what); });

// A request of the set-up Qt sends at connect that the server leaves unanswered ends the open with
// the failure message, whether the server drops the link at the cancel or answers the cancel (the
// link then lives on); a login and set-up that each answer late but within the timeout, together
// lasting longer than it, open.
struct SetUpCase {
    const char* what;
    TdsServer::Mode mode;
    int timeout; // seconds
    const char* message; // null: the open succeeds
};
void PrintTo(const SetUpCase& s, std::ostream* os) {
    *os << s.what;
}

class SqlServerConnectSetUp : public ::testing::TestWithParam<SetUpCase> { };

TEST_P(SqlServerConnectSetUp, OpenEndsAsTheServerAnswered) {
    const SetUpCase& c = GetParam();
    TdsServer server(c.mode);
    EXPECT_EQ(ExitWithinBound([&] {
        Connection cn;
        cn.setConnectionString(
            testenv::TdsConnectionString(testenv::FreeTdsDriverName(), server.port()));
        cn.setCommandTimeout(c.timeout);
        cn.setMode(3);
        try {
            cn.Open();
            if (c.message) return 1;
            cn.Execute(QStringLiteral("Delete From PriceList"));
        } catch (const rt::RunError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return c.message && e.message() == QLatin1String(c.message) ? 0 : 2;
        }
        return 0;
    }),
        0);
}

INSTANTIATE_TEST_SUITE_P(Servers, SqlServerConnectSetUp,
    ::testing::Values(
        SetUpCase { "DropsTheLink", TdsServer::Mode::StopsAtQuotedIdentifier, kTimeout,
            "Communication link failure: the server did not answer the set-up of "
            "the connection" },
        SetUpCase { "AnswersOnlyTheCancel", TdsServer::Mode::StallsOnQuotedIdentifier, kTimeout,
            "Timeout expired: the server did not answer the set-up of the connection" },
        SetUpCase { "AnswersLateWithinTheTimeout", TdsServer::Mode::AnswersSetUpLate, 2, nullptr }),
    [](const auto& info) { return std::string(info.param.what); });

// The rollback of a transaction still in hand when the connection closes goes to the server as
// a statement, bounded as RollbackTrans's; its failure does not stop the close.
TEST(SqlServerClose, RollbackOfATransactionInHandIsABoundedStatement) {
    TdsServer server(TdsServer::Mode::StopsAtRollback);
    EXPECT_EQ(ExitWithinBound([&] {
        try {
            Connection cn;
            OpenedInTransaction(server, cn);
            cn.Close();
            return cn.State() == 0 ? 0 : 1;
        } catch (...) {
            return 2;
        }
    }),
        0);
    EXPECT_TRUE(server.stoppedAtStatement());
}

// A transaction the server ended itself (a deadlock victim whose error the run swallowed, as the
// key counter does): every later statement and the commit fail with the victim's cause without
// reaching the server (one naming "Stall" would wait there for its timeout), so nothing of the
// transaction runs outside it, and the failure path's rollback succeeds.
class SqlServerCommit : public ::testing::Test {
protected:
    void SetUp() override {
        OpenOn(server, cn);
        cn.BeginTrans();
        cn.Execute(QStringLiteral("Delete From PriceList"));
    }
    // the run's error text of a step, empty when it succeeded
    static QString failure(const std::function<void()>& step) {
        try {
            step();
        } catch (const rt::RunError& e) {
            return e.message();
        }
        return {};
    }
    TdsServer server { TdsServer::Mode::StallsOnStall };
    Connection cn;
};

TEST_F(SqlServerCommit, OfTransactionTheServerEndedFails) {
    const std::pair<const char*, std::function<void()>> victims[] = {
        { "Execute", [&] { cn.Execute(QStringLiteral("Update Victim Set Qty = 1")); } },
        { "Open",
            [&] {
                ado::Recordset rs;
                rs.Open(QStringLiteral("Select Qty From Victim"), cn);
            } },
    };
    for (const auto& [name, victim] : victims) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(failure(victim).contains(QLatin1String("deadlock victim")));
        for (const auto& step : std::initializer_list<std::function<void()>> {
                 [&] { cn.Execute(QStringLiteral("Delete From Stall")); },
                 [&] {
                     ado::Recordset rs;
                     rs.Open(QStringLiteral("Select * From Stall"), cn);
                 },
                 [&] { cn.CommitTrans(); } }) {
            const QString message = failure(step);
            EXPECT_TRUE(message.startsWith(
                QLatin1String("The database ended the transaction at an earlier failure: ")))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QLatin1String("deadlock victim")))
                << message.toStdString();
        }
        EXPECT_TRUE(cn.inTransaction());
        // the failure path's rollback finds nothing left to roll back
        EXPECT_NO_THROW(cn.RollbackTrans());
        // and the next part's transaction is as any other
        cn.BeginTrans();
        EXPECT_NO_THROW(cn.Execute(QStringLiteral("Delete From PriceList")));
    }
    EXPECT_NO_THROW(cn.CommitTrans());
}

// A failure that leaves the server's transaction in hand (a statement's timeout) stops nothing
// that follows it.
TEST_F(SqlServerCommit, OfTransactionThatOutlivedAFailureSucceeds) {
    EXPECT_THROW(cn.Execute(QStringLiteral("Delete From Stall")), rt::RunError);
    EXPECT_NO_THROW(cn.Execute(QStringLiteral("Delete From PriceList Where BrandID = 7")));
    EXPECT_NO_THROW(cn.CommitTrans());
    EXPECT_FALSE(cn.inTransaction());
}

TEST_F(SqlServerCommit, OfTransactionInHandSucceeds) {
    EXPECT_NO_THROW(cn.CommitTrans());
    EXPECT_FALSE(cn.inTransaction());
    cn.BeginTrans(); // the next part's
    EXPECT_NO_THROW(cn.CommitTrans());
}

} // namespace

namespace {

// The TDS version the login goes out with, where the user set one: in TDSVER (which FreeTDS puts
// before every other source), typed into the server field after the address, or in a
// freetds.conf named by FREETDSCONF ([global] or the server's own section). Each case opens in a
// child of its own, with HOME at an empty folder.
struct UserVersion {
    const char* what;
    const char* tdsver; // null: unset
    const char* serverField; // after the address
    const char* freetdsConf; // null: none
    bool openedBefore; // once already without any version, as a run re-opens the store
    const char* expected;
};
void PrintTo(const UserVersion& v, std::ostream* os) {
    *os << v.what;
}

class TdsVersionTheUserSet : public ::testing::TestWithParam<UserVersion> { };

TEST_P(TdsVersionTheUserSet, IsTheLoginsVersion) {
    const UserVersion& c = GetParam();
    const QString dir = testenv::TempDir();
    const QString conf = dir + QStringLiteral("/freetds.conf");
    if (c.freetdsConf) {
        QFile file(conf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.freetdsConf);
    }
    QDir(dir).mkdir(QStringLiteral("home"));
    TdsServer server(TdsServer::Mode::StallsOnStall);
    EXPECT_EQ(ExitWithinBound([&] {
        if (c.tdsver)
            qputenv("TDSVER", c.tdsver);
        else
            qunsetenv("TDSVER");
        qunsetenv("FREETDS");
        qputenv("HOME", QFile::encodeName(dir + QStringLiteral("/home")));
        if (c.freetdsConf)
            qputenv("FREETDSCONF", QFile::encodeName(conf));
        else
            qunsetenv("FREETDSCONF");
        try {
            if (c.openedBefore) {
                Connection first;
                OpenOn(server, first);
            }
            Connection cn;
            OpenOn(server, cn, QString::fromLatin1(c.serverField));
        } catch (...) {
            return 1;
        }
        return 0;
    }),
        0);
    EXPECT_EQ(server.loginVersion(), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Sources, TdsVersionTheUserSet,
    ::testing::Values(
        UserVersion { "ServerField", nullptr, ";TDS_Version=7.2", nullptr, false, "7.2" },
        UserVersion { "ServerFieldAtReopen", nullptr, ";TDS_Version=7.2", nullptr, true, "7.2" },
        UserVersion { "ConfGlobal", nullptr, "", "[global]\n\ttds version = 7.2\n", false, "7.2" },
        UserVersion { "ConfServerSection", nullptr, "",
            "[global]\n\ttds version = 7.1\n[127.0.0.1]\n\ttds version = 7.3\n", false, "7.3" },
        UserVersion { "ServerFieldOverConf", nullptr, ";tds_version=7.2",
            "[global]\n\ttds version = 7.3\n", false, "7.2" },
        UserVersion { "Tdsver", "7.2", "", nullptr, false, "7.2" },
        UserVersion {
            "TdsverOverConf", "7.2", "", "[127.0.0.1]\n\ttds version = 7.3\n", false, "7.2" },
        UserVersion { "TdsverOverServerField", "7.2", ";TDS_Version=7.3", nullptr, false, "7.2" }),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace

namespace {

// A server that sends no row counts (its results carry none, as with NOCOUNT on): the driver
// itself says "not known", and Execute passes that on rather than a count of none.
TEST(SqlServerCounts, CountTheDriverDoesNotKnowIsMinusOne) {
    TdsServer server(TdsServer::Mode::StallsOnStall);
    Connection cn;
    OpenOn(server, cn);
    EXPECT_EQ(cn.Execute(QStringLiteral("Delete From PriceList Where BrandID = 7")), -1);
    EXPECT_EQ(cn.Execute(QStringLiteral("Update PriceList Set Sale = 2 Where BrandID = 7")), -1);
}

} // namespace
