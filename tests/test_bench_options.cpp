// The benchmark's command line: values are read whole or refused, naming their option, so a
// malformed count never becomes a run of zero rows; and what a stopped benchmark leaves behind.
#include "bench_options.h"
#include "support/files.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TEST(BenchOptions, ReadsEveryOptionAndTheEdgesOfTheirRanges) {
    const bench::Options o = bench::ParseOptions({ "--rows", "1,10000,100000", "--version",
        "P.68 (Bar)", "--new-share", "0", "--alts", "5", "--table-rows", "1", "--csv", "b.csv",
        "--dir", "d", "--kill", "--window", "--profile", "--help" });
    EXPECT_EQ(o.rows, (std::vector<int> { 1, 10000, 100000 }));
    EXPECT_EQ(o.version.toStdString(), "P.68 (Bar)");
    EXPECT_EQ(o.shape.newShare, 0);
    EXPECT_EQ(o.shape.altsPerNew, 5);
    EXPECT_EQ(o.shape.tableRows, 1);
    EXPECT_EQ(o.csv.toStdString(), "b.csv");
    EXPECT_EQ(o.dir.toStdString(), "d");
    EXPECT_TRUE(o.kill && o.window && o.profile && o.help);

    const bench::Options other
        = bench::ParseOptions({ "--new-share", "1", "--new-share", "0.25", "--alts", "0" });
    EXPECT_EQ(other.shape.newShare, 0.25);
    EXPECT_EQ(other.shape.altsPerNew, 0);
    EXPECT_EQ(other.rows, (std::vector<int> { 1000, 10000 }));
    EXPECT_FALSE(other.help);
}

TEST(BenchOptions, MalformedOrOutOfRangeValuesAreRefusedNamingTheirOption) {
    const struct {
        QStringList args;
        const char* option;
    } cases[] = {
        { { "--rows", "abc" }, "--rows" },
        { { "--rows", "5k" }, "--rows" },
        { { "--rows", "1O00" }, "--rows" },
        { { "--rows", "0" }, "--rows" },
        { { "--rows", "-5" }, "--rows" },
        { { "--rows", "+5" }, "--rows" },
        { { "--rows", "1.5" }, "--rows" },
        { { "--rows", "99999999999" }, "--rows" },
        { { "--rows", "1000,,2000" }, "--rows" },
        { { "--rows", "1000,x" }, "--rows" },
        { { "--rows", "" }, "--rows" },
        { { "--rows" }, "--rows" },
        { { "--new-share", "abc" }, "--new-share" },
        { { "--new-share", "1.01" }, "--new-share" },
        { { "--new-share", "-0.1" }, "--new-share" },
        { { "--new-share", "nan" }, "--new-share" },
        { { "--new-share", "0.5x" }, "--new-share" },
        { { "--alts", "6" }, "--alts" },
        { { "--alts", "one" }, "--alts" },
        { { "--table-rows", "0" }, "--table-rows" },
        { { "--table-rows", "10k" }, "--table-rows" },
        { { "--csv" }, "--csv" },
        { { "--kill", "--rowz", "10" }, "--rowz" },
        // the versions it knows, named
        { { "--version", "X.99" },
            "--version: no store version \"X.99\"; the versions: \"Ver 3.1 "
            "SQL\", \"V.31\"" },
        { { "--version", "v.31" }, "\"P.68 (Bar)\", \"D.47 (Bar)\"" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        try {
            bench::ParseOptions(c.args);
            ADD_FAILURE() << "accepted";
        } catch (const rt::RunError& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(c.option))) << e.message().toStdString();
        }
    }
}

// The process whose command line holds every one of words; 0 when there is none.
pid_t ProcessWith(const QStringList& words) {
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile f(QStringLiteral("/proc/") + entry + QStringLiteral("/cmdline"));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString line = QString::fromLocal8Bit(f.readAll().replace('\0', ' '));
        if (std::all_of(
                words.begin(), words.end(), [&](const QString& w) { return line.contains(w); }))
            return pid_t(entry.toInt());
    }
    return 0;
}

bool WaitFor(const std::function<bool()>& done, int seconds = 60) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QThread::msleep(10);
    }
    return true;
}

// Stopped by a signal in the middle of its work, the benchmark leaves no work folder and no run
// of its own behind, keeps the figures an earlier run wrote to its --csv file and ends of that
// signal.
TEST(BenchRun, AStoppedBenchmarkLeavesNothingBehind) {
    const struct {
        const char* what;
        QStringList args;
        bool untilItsRunIsUp; // else until it has begun building its files
        int signal;
        bool toItsGroup; // as a Ctrl-C reaches every process of the command
    } cases[] = {
        { "Ctrl-C while building", { "--rows", "100000" }, false, SIGINT, true },
        { "TERM while building", { "--rows", "100000" }, false, SIGTERM, false },
        { "TERM while its killed run goes", { "--kill", "--rows", "1000" }, true, SIGTERM, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root;
        const QString tmp = root.path() + QStringLiteral("/tmp");
        const QString csv = root.path() + QStringLiteral("/bench.csv");
        ASSERT_TRUE(QDir().mkpath(tmp));
        const QByteArray earlier = "rows,run_rows_per_s\n1000,890.0\n";
        {
            QFile f(csv);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(earlier) == earlier.size());
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        QProcess bench;
        bench.setProcessEnvironment(env);
        bench.setChildProcessModifier([] { setpgid(0, 0); });
        bench.start(QStringLiteral(TRANSFER_BENCH), c.args + QStringList { "--csv", csv });
        ASSERT_TRUE(bench.waitForStarted());

        pid_t run = 0;
        const bool atWork = c.untilItsRunIsUp
            ? WaitFor([&] {
                  return (run = ProcessWith({ "--run-only", tmp + '/' })) != 0;
              })
            : WaitFor([&] {
                  QDirIterator files(tmp, QDir::Files, QDirIterator::Subdirectories);
                  return files.hasNext();
              });
        const bool stillGoing = bench.state() == QProcess::Running;
        kill(c.toItsGroup ? -pid_t(bench.processId()) : pid_t(bench.processId()), c.signal);
        const bool ended = bench.waitForFinished(60000);
        const pid_t runLeft = run ? ProcessWith({ "--run-only", tmp + '/' }) : 0;
        if (runLeft) kill(runLeft, SIGKILL);
        if (!ended) kill(-pid_t(bench.processId()), SIGKILL);
        ASSERT_TRUE(atWork && stillGoing && ended);

        EXPECT_EQ(bench.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(bench.exitCode(), c.signal);
        EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList());
        EXPECT_EQ(runLeft, 0);
        EXPECT_EQ(QString::fromUtf8(testenv::FileBytes(csv)), QString::fromUtf8(earlier));
    }
}

} // namespace
