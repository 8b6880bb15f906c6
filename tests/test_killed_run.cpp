// A run killed part-way (the process ends at once, inside a part's transaction): every part it
// committed is whole, and a second run brings the rest of the list in. A run that meets another
// program's lock on the store waits it out.
#include "platform/ado/ado.h"
#include "storekit/large_list.h"
#include "support/child_program.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"

#include <QFile>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kBrand = 12;
constexpr int kStoreParts = 20;

struct Files {
    QString store, list;
};

Files makeFiles() {
    const QString dir = testenv::TempDir();
    Files f { dir + QStringLiteral("/Velandor.accdb"),
        dir + QStringLiteral("/PriceList_VURE.mdb") };
    storekit::CreateLargeStore(f.store, QStringLiteral("V.31"), kBrand, kStoreParts);
    storekit::LargeListShape shape;
    shape.rows = 60;
    shape.tableRows = 25;
    storekit::CreateLargePriceList(f.list, shape, storekit::StoreParts(f.store, kBrand));
    return f;
}

QStringList runOnce(const Files& f) {
    FormFixture fx;
    fx.useDesktopStore(f.list, f.store);
    fx.form.cmdUpDate_Click();
    QStringList shown;
    for (const auto& m : fx.window.messages)
        shown << m.text;
    return shown;
}

int storeParts(const Files& f) {
    ado::Connection cn;
    storekit::OpenFile(cn, f.store);
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select Count(*) As C From Pta%1").arg(kBrand), cn);
    const int n = rs.Field(QStringLiteral("C")).toInt32();
    rs.Close();
    return n;
}

TEST(KilledRun, CommittedPartsStayWholeAndASecondRunCompletesTheList) {
    // killed at the k-th statement run inside a part's transaction
    for (int k : { 1, 6, 47, 130 }) {
        const Files f = makeFiles();
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int seen = 0;
            ado::SetEventHook([&](const ado::TraceEvent& e) {
                if (e.kind == ado::TraceKind::Execute && e.connection->inTransaction()
                    && ++seen == k)
                    raise(SIGKILL);
            });
            runOnce(f);
            _exit(3); // the run ended before the kill point
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "k " << k;

        EXPECT_EQ(storekit::IncompleteParts(f.store, kBrand, kStoreParts + 1), QStringList())
            << "k " << k;
        EXPECT_FALSE(storekit::MissingListParts(f.store, f.list, kBrand).isEmpty()) << "k " << k;

        EXPECT_EQ(runOnce(f), QStringList { QStringLiteral("เสร็จแล้วจ้า") }) << "k " << k;
        EXPECT_EQ(storekit::IncompleteParts(f.store, kBrand, kStoreParts + 1), QStringList())
            << "k " << k;
        EXPECT_EQ(storekit::MissingListParts(f.store, f.list, kBrand), QStringList()) << "k " << k;
        // 20 of the store, 30 new parts and their 30 replacement numbers
        EXPECT_EQ(storeParts(f), 80) << "k " << k;
    }
}

// Another program writes the store for a moment while new parts are inserted: the part whose
// transaction begins then waits for the lock, within the command timeout, and the run goes on.
TEST(KilledRun, AnotherProgramsShortLockIsWaitedOut) {
    const Files f = makeFiles();
    testenv::ChildProgram writer([&](const std::function<void()>& reached) {
        QSqlDatabase db = testenv::OpenSqlite(f.store);
        testenv::RunAll(db, { QStringLiteral("BEGIN IMMEDIATE") });
        reached();
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        testenv::RunAll(db, { QStringLiteral("COMMIT") });
    });
    int begun = 0;
    bool locked = false;
    ado::SetEventHook([&](const ado::TraceEvent& e) {
        if (e.kind != ado::TraceKind::Begin || !e.connection->connectionString().contains(f.store)
            || ++begun != 3)
            return;
        writer.go();
        locked = writer.reached(5);
    });
    const QStringList shown = runOnce(f);
    ado::SetEventHook(nullptr);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(writer.finished(10));
    EXPECT_EQ(shown, QStringList { QStringLiteral("เสร็จแล้วจ้า") });
    EXPECT_EQ(storekit::IncompleteParts(f.store, kBrand, kStoreParts + 1), QStringList());
    EXPECT_EQ(storekit::MissingListParts(f.store, f.list, kBrand), QStringList());
    EXPECT_EQ(storeParts(f), 80);
}

} // namespace
