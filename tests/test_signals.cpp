// INT, TERM and HUP (Ctrl-C, kill, a logout or a shutdown) in the middle of a run end the window
// and kordane-prepare as the close button does: the work stops at its next pump, every file is
// closed, back in its journal mode and whole by itself, and the program ends of that signal.
#include "app/qt/main_window.h"
#include "platform/ado/ado.h"
#include "storekit/large_list.h"
#include "storekit/prepare_tables.h"
#include "support/child_program.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QFile>
#include <QPushButton>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kBrand = 12;
constexpr int kStoreParts = 20;
const QString kListPassword = QStringLiteral("PLN394");

const struct {
    const char* name;
    int number;
} kStopSignals[] = { { "TERM", SIGTERM }, { "HUP", SIGHUP }, { "INT", SIGINT } };

std::string howItEnded(int status) {
    if (WIFSIGNALED(status)) return "of signal " + std::to_string(WTERMSIG(status));
    return "with status " + std::to_string(WEXITSTATUS(status));
}

// The file copied on its own into a folder of its own, as an operator copies a store.
QString copyAlone(const QString& path) {
    const QString copy = testenv::TempDir() + QStringLiteral("/alone.db");
    if (!QFile::copy(path, copy)) throw std::runtime_error("cannot copy the file");
    return copy;
}

int count(const QString& path, const QString& sql, const QString& password = {}) {
    const QStringList rows = testenv::QueryRows(path, sql, {}, password);
    return rows.size() == 1 ? rows[0].toInt() : -1;
}

// The stop signals with their default action and unblocked, as a program started from a
// terminal has them, whatever the test runner was started with.
void defaultStopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const auto& s : kStopSignals) {
        std::signal(s.number, SIG_DFL);
        sigaddset(&set, s.number);
    }
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

// The window in a child process, as main sets it up, signals itself at a commit of a new part.
TEST(StopSignals, EndTheWindowMidRunAsItsCloseButtonDoes) {
    constexpr int kNewParts = 200;
    constexpr int kSignalAt = 5; // commits of new parts
    for (const auto& s : kStopSignals) {
        SCOPED_TRACE(s.name);
        const testenv::RunFiles files;
        storekit::CreateLargeStore(files.store, QStringLiteral("V.31"), kBrand, kStoreParts);
        storekit::LargeListShape shape;
        shape.rows = kNewParts;
        shape.newShare = 1;
        shape.altsPerNew = 0;
        storekit::CreateLargePriceList(
            files.priceList, shape, storekit::StoreParts(files.store, kBrand));
        const QString partInsert
            = storekit::PartTable(QStringLiteral("V.31"), kBrand) + QLatin1Char(' ');

        testenv::ChildProgram window([&](const std::function<void()>&) {
            defaultStopSignals();
            MainWindow w;
            w.closeOnStopSignals();
            w.messageHook = [](const QString&, win::MsgStyle) {};
            w.setText(win::Box::txtPriceList, files.priceList);
            w.setText(win::Box::txtDataVelandor, files.store);
            w.show();
            bool inserted = false;
            int committed = 0;
            ado::SetEventHook([&](const ado::TraceEvent& e) {
                if (e.kind == ado::TraceKind::Execute
                    && e.text.startsWith(QStringLiteral("Insert Into ") + partInsert))
                    inserted = true;
                if (e.kind == ado::TraceKind::Commit && inserted && ++committed == kSignalAt)
                    kill(getpid(), s.number);
                if (e.kind == ado::TraceKind::Commit || e.kind == ado::TraceKind::Rollback)
                    inserted = false;
                // slowly from then on, so that the run is still going at its next pump
                if (committed >= kSignalAt)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            });
            qobject_cast<QPushButton*>(w.control("cmdUpDate"))->click();
            throw std::runtime_error("the run went on to its end");
        });
        window.go();
        const std::optional<int> status = window.ended(60);
        ASSERT_TRUE(status) << "the window did not end";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == s.number) << howItEnded(*status);

        EXPECT_EQ(testenv::SideFiles(files.store), QStringList());
        EXPECT_EQ(testenv::JournalFormat(files.store), testenv::kRollbackJournal);
        const QString alone = copyAlone(files.store);
        EXPECT_EQ(storekit::IncompleteParts(alone, kBrand, kStoreParts + 1), QStringList());
        const int partsIn = int(storekit::StoreParts(alone, kBrand).size()) - kStoreParts;
        const int staged = count(
            alone, QStringLiteral("Select Count(*) From PriceList Where BrandID = %1").arg(kBrand));
        EXPECT_GE(partsIn, kSignalAt);
        EXPECT_GT(staged, 0) << "the run was not stopped";
        // a part is in the store or still staged, never both nor neither
        EXPECT_EQ(partsIn + staged, kNewParts);
    }
}

// kordane-prepare as a terminal starts it, its output through a pipe of one page that the test
// reads only when it asks: the runner cannot get more than a page of progress lines ahead of what
// the test has read, so it is where the test saw it, give or take a page, when the signal comes.
class Prepare {
public:
    explicit Prepare(const QStringList& args) {
        int out[2], in[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(in, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        fcntl(out[0], F_SETPIPE_SZ, 4096);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        sigset_t stops, none;
        sigemptyset(&stops);
        sigemptyset(&none);
        for (const auto& s : kStopSignals)
            sigaddset(&stops, s.number);
        posix_spawnattr_setsigdefault(&attributes, &stops);
        posix_spawnattr_setsigmask(&attributes, &none);
        std::vector<QByteArray> words { QByteArray(KORDANE_PREPARE) };
        for (const QString& a : args)
            words.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        const int failed
            = posix_spawn(&pid_, KORDANE_PREPARE, &actions, &attributes, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(out[1]);
        close(in[0]);
        out_ = out[0];
        in_ = in[1]; // kept open: the question waits for an answer
        if (failed != 0) {
            pid_ = -1;
            throw std::runtime_error("cannot start kordane-prepare");
        }
    }
    ~Prepare() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(in_);
    }
    Prepare(const Prepare&) = delete;
    Prepare& operator=(const Prepare&) = delete;

    // Reads the output until enough says so; false at its end or after seconds.
    bool readUntil(const std::function<bool(const QByteArray&)>& enough, int seconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!enough(output)) {
            if (std::chrono::steady_clock::now() >= deadline || !readSome(100)) return false;
        }
        return true;
    }
    void signal(int sig) { kill(pid_, sig); }
    // Reads the rest of the output while it waits: its wait status, nothing when not in time.
    std::optional<int> ended(int seconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            readSome(10);
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
        }
        return std::nullopt;
    }

    QByteArray output;

private:
    // False once the output has ended.
    bool readSome(int ms) {
        pollfd p { out_, POLLIN, 0 };
        if (poll(&p, 1, ms) != 1) return true;
        char buffer[4096];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n > 0) output.append(buffer, n);
        return n > 0;
    }

    pid_t pid_ = -1;
    int out_ = -1, in_ = -1;
};

TEST(StopSignals, EndKordanePrepareMidOperationAndAtItsQuestion) {
    constexpr int kRows = 300;
    constexpr int kSeen = 10; // progress lines of the split read before the signal
    const QByteArray splitLine = QStringLiteral("\nกำลังแยกรายการสินค้า").toUtf8();
    const QByteArray question = QByteArrayLiteral("Go on? [y/N] ");
    for (const auto& s : kStopSignals)
        for (const bool atQuestion : { false, true }) {
            SCOPED_TRACE(std::string(s.name) + (atQuestion ? " at the question" : " mid-split"));
            const testenv::RunFiles files;
            storekit::CreatePriceList(files.priceList, { { 1, {} } }, kListPassword);
            std::vector<storekit::RawRow> rows;
            for (int i = 0; i < kRows; ++i)
                rows.push_back(storekit::MakeRawRow(QStringLiteral("0"),
                    QStringLiteral("P-%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("PART"),
                    100, 90));
            storekit::AddRawSheets(files.priceList, { { 1, rows } }, kListPassword);
            const QByteArray before = testenv::FileBytes(files.priceList);

            QStringList args { QStringLiteral("--price-list"), files.priceList,
                QStringLiteral("BuildPriceList") };
            if (!atQuestion) args.prepend(QStringLiteral("--yes"));
            Prepare prepare(args);
            // mid-split: the rows before the last line seen are moved, their moves committed
            const bool there = prepare.readUntil(
                [&](const QByteArray& out) {
                    return atQuestion ? out.endsWith(question) : out.count(splitLine) >= kSeen;
                },
                60);
            ASSERT_TRUE(there) << prepare.output.toStdString();
            prepare.signal(s.number);
            const std::optional<int> status = prepare.ended(30);
            ASSERT_TRUE(status) << "kordane-prepare did not end";
            EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == s.number)
                << howItEnded(*status);

            EXPECT_EQ(testenv::SideFiles(files.priceList), QStringList());
            EXPECT_EQ(testenv::JournalFormat(files.priceList), testenv::kRollbackJournal);
            if (atQuestion) {
                EXPECT_EQ(testenv::FileBytes(files.priceList), before);
                continue;
            }
            const QString alone = copyAlone(files.priceList);
            const int left
                = count(alone, QStringLiteral("Select Count(*) From PriceList"), kListPassword);
            const int moved
                = count(alone, QStringLiteral("Select Count(*) From PriceList_1"), kListPassword);
            EXPECT_GE(moved, kSeen - 1);
            EXPECT_GT(left, 0) << "the split was not stopped";
            // a row is in the work table or in its numbered table, never both nor neither
            EXPECT_EQ(left + moved, kRows);
        }
}

} // namespace
