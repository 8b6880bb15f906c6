// The SQL-server path through the real FreeTDS driver against a local server that stops
// answering: the login and every statement end with an error within their timeout; and one that
// sends no row counts.
#include "platform/ado/ado.h"
#include "support/tds_server.h"

#include <QElapsedTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using ado::Connection;
using testenv::TdsServer;

namespace {

constexpr int kTimeout = 1; // seconds, the connection's CommandTimeout
constexpr int kBoundMs = 6000;

void OpenOn(const TdsServer& server, Connection& cn) {
    cn.setConnectionString(
        testenv::TdsConnectionString(testenv::FreeTdsDriverName(), server.port()));
    cn.setCommandTimeout(kTimeout);
    cn.setMode(3);
    cn.Open();
}

// Runs ready, then step, on one connection in a child process, since a driver that hangs cannot
// be stopped from inside: true when step ended with the layer's error within the bound. A child
// still busy then is killed.
bool StepFailsWithinBound(
    const std::function<void(Connection&)>& ready, const std::function<void(Connection&)>& step) {
    const pid_t child = fork();
    if (child == 0) {
        Connection cn;
        try {
            ready(cn);
        } catch (...) {
            _exit(2);
        }
        try {
            step(cn);
        } catch (const rt::RunError&) {
            _exit(0);
        } catch (...) { }
        _exit(1);
    }
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (clock.elapsed() > kBoundMs) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        usleep(20000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
