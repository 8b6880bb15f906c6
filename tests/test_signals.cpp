// INT, TERM and HUP (Ctrl-C, kill, a logout or a shutdown) in the middle of a run end the window
// and kordane-prepare as the close button does: the work stops at its next pump, every file is
// closed, back in its journal mode and whole by itself, and the program ends of that signal. A
// second one ends the program at once; a reader of kordane-prepare's output that goes away stops
// it as the first does.
#include "app/qt/main_window.h"
#include "platform/ado/ado.h"
#include "platform/runtime/error.h"
#include "storekit/large_list.h"
#include "storekit/prepare_tables.h"
#include "support/child_program.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSocketNotifier>
#include <chrono>
#include <csignal>
#include <cstring>
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

// A pipe of one page: a writer gets no more than a page ahead of its reader.
void pagePipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    fcntl(fds[0], F_SETPIPE_SZ, 4096);
}

// kordane-prepare as a terminal starts it, its output through a pipe of one page that the test
// reads only when it asks: the runner cannot get more than a page of progress lines ahead of what
// the test has read, so it is where the test saw it, give or take a page, when the signal comes.
// With errorsHeld its standard error is a page pipe already full: its first line there waits
// until the test reads the errors (ended does).
class Prepare {
public:
    explicit Prepare(const QStringList& args, bool errorsHeld = false) {
        int out[2], in[2], err[2] = { -1, -1 };
        pagePipe(out);
        if (pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        if (errorsHeld) {
            pagePipe(err);
            fcntl(err[1], F_SETFL, O_NONBLOCK);
            const QByteArray page(4096, 'x');
            while (write(err[1], page.constData(), size_t(page.size())) > 0) { }
            fcntl(err[1], F_SETFL, 0);
            fcntl(err[0], F_SETFL, O_NONBLOCK); // ended reads what there is
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        if (errorsHeld) posix_spawn_file_actions_adddup2(&actions, err[1], 2);
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
        if (errorsHeld) close(err[1]);
        out_ = out[0];
        in_ = in[1]; // kept open: the question waits for an answer
        err_ = err[0];
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
        close(err_);
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
    // The reader of the output goes away.
    void closeOutput() {
        close(out_);
        out_ = -1;
    }
    // Bounded waits on what the kernel shows of the process: blocked writing to a pipe that is
    // full; sig delivered (no longer pending), its handler run or running.
    bool blockedOnAPipe(int seconds) {
        return waitFor(seconds, [this] { return procFile("wchan").contains("pipe_write"); });
    }
    bool delivered(int sig, int seconds) {
        return waitFor(seconds, [this, sig] {
            const QByteArray status = procFile("status");
            if (status.isEmpty()) return false;
            for (const char* pending : { "\nSigPnd:", "\nShdPnd:" }) {
                const qsizetype at = status.indexOf(pending);
                if (at < 0) return false;
                const qsizetype from = at + qsizetype(std::strlen(pending));
                const QByteArray mask
                    = status.mid(from, status.indexOf('\n', from) - from).trimmed();
                if (mask.toULongLong(nullptr, 16) & (1ULL << (sig - 1))) return false;
            }
            return true;
        });
    }
    // Reads the rest of the output (unless told not to) and the errors while it waits: its wait
    // status, nothing when not in time.
    std::optional<int> ended(int seconds, bool reading = true) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (reading) readSome(10);
            if (err_ >= 0) readErrors();
            if (!reading) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return status;
            }
        }
        return std::nullopt;
    }

    QByteArray output, errors;

private:
    QByteArray procFile(const char* name) const {
        QFile f(QStringLiteral("/proc/%1/%2").arg(pid_).arg(QLatin1String(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool waitFor(int seconds, const std::function<bool()>& there) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!there()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    void readErrors() {
        char buffer[4096];
        ssize_t n;
        while ((n = read(err_, buffer, sizeof buffer)) > 0)
            errors.append(buffer, n);
    }
    // False once the output has ended.
    bool readSome(int ms) {
        if (out_ < 0) return false;
        pollfd p { out_, POLLIN, 0 };
        if (poll(&p, 1, ms) != 1) return true;
        char buffer[4096];
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n > 0) output.append(buffer, n);
        return n > 0;
    }

    pid_t pid_ = -1;
    int out_ = -1, in_ = -1, err_ = -1;
};

// A price list whose one raw sheet holds rows parts P-0000, P-0001, ... and whatever more each
// row gets.
void makeRawList(
    const QString& path, int rows, const std::function<void(int, storekit::RawRow&)>& more = {}) {
    storekit::CreatePriceList(path, { { 1, {} } }, kListPassword);
    std::vector<storekit::RawRow> sheet;
    for (int i = 0; i < rows; ++i) {
        sheet.push_back(storekit::MakeRawRow(QStringLiteral("0"),
            QStringLiteral("P-%1").arg(i, 4, 10, QLatin1Char('0')), QStringLiteral("PART"), 100,
            90));
        if (more) more(i, sheet.back());
    }
    storekit::AddRawSheets(path, { { 1, sheet } }, kListPassword);
}

void expectWhole(const QString& path) {
    EXPECT_EQ(testenv::SideFiles(path), QStringList());
    EXPECT_EQ(testenv::JournalFormat(path), testenv::kRollbackJournal);
}

TEST(StopSignals, EndKordanePrepareMidOperationAndAtItsQuestion) {
    constexpr int kRows = 300;
    constexpr int kSeen = 10; // progress lines of the split read before the signal
    const QByteArray splitLine = QStringLiteral("\nกำลังแยกรายการสินค้า").toUtf8();
    const QByteArray question = QByteArrayLiteral("Go on? [y/N] ");
    for (const auto& s : kStopSignals)
        for (const bool atQuestion : { false, true }) {
            SCOPED_TRACE(std::string(s.name) + (atQuestion ? " at the question" : " mid-split"));
            const testenv::RunFiles files;
            makeRawList(files.priceList, kRows);
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

// Writing its progress to a reader that reads nothing, kordane-prepare is blocked where it cannot
// take a stop signal: a second one ends it at once, with that signal's default action. A reader
// that goes away is a stop like the others: its files closed and whole, it ends of the signal
// that came first, or of PIPE when none did.
TEST(StopSignals, EndKordanePrepareBlockedOnItsOutput) {
    constexpr int kRows = 300; // far more than a page of progress lines
    enum class Then { SignalAgain, ReaderGoes };
    struct Case {
        const char* name;
        int first; // 0: none
        Then then;
        int endsOf;
    };
    std::vector<Case> cases;
    for (const auto& s : kStopSignals) {
        cases.push_back({ s.name, s.number, Then::SignalAgain, s.number });
        cases.push_back({ s.name, s.number, Then::ReaderGoes, s.number });
    }
    cases.push_back({ "no signal", 0, Then::ReaderGoes, SIGPIPE });
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name)
            + (c.then == Then::SignalAgain ? ", then again" : ", then the reader goes"));
        const testenv::RunFiles files;
        makeRawList(files.priceList, kRows);
        Prepare prepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"), files.priceList,
            QStringLiteral("BuildPriceList") });
        ASSERT_TRUE(prepare.blockedOnAPipe(60)) << "its output never filled the pipe";
        if (c.first) {
            prepare.signal(c.first);
            ASSERT_TRUE(prepare.delivered(c.first, 10));
            // still blocked: the first signal waits for the next pump
            ASSERT_TRUE(prepare.blockedOnAPipe(10)) << "it did not wait where it was";
        }
        if (c.then == Then::SignalAgain)
            prepare.signal(c.first);
        else
            prepare.closeOutput();
        const std::optional<int> status = prepare.ended(10, false);
        ASSERT_TRUE(status) << "kordane-prepare did not end";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == c.endsOf) << howItEnded(*status);
        // the second signal ends it as a kill does: nothing of its files is promised
        if (c.then == Then::ReaderGoes) expectWhole(files.priceList);
    }
}

// An operation that shows no progress stops at its next row all the same, and never says it is
// done: the comma lists of the replacement numbers are cut row by row, each row's cut whole.
TEST(StopSignals, EndKordanePrepareInAnOperationThatShowsNothing) {
    constexpr int kRows = 6000;
    constexpr int kCutBefore = 100; // rows the test sees cut before it signals
    const QString cut = QStringLiteral("Select Count(*) From PriceNew_1 Where AltNO_2 <> ''");
    const QString uncut
        = QStringLiteral("Select Count(*) From PriceNew_1 Where AltNO_1 Like '%,%'");
    for (const auto& s : kStopSignals) {
        SCOPED_TRACE(s.name);
        const testenv::RunFiles files;
        makeRawList(files.priceList, kRows, [](int i, storekit::RawRow& r) {
            r.push_back({ QStringLiteral("AltNO_1"), QStringLiteral("A-%1, B-%1").arg(i) });
        });
        Prepare prepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"), files.priceList,
            QStringLiteral("SplitAlternateNumbers") });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (count(files.priceList, cut, kListPassword) < kCutBefore
            && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        prepare.signal(s.number);
        const std::optional<int> status = prepare.ended(30);
        ASSERT_TRUE(status) << "kordane-prepare did not end";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == s.number) << howItEnded(*status);
        EXPECT_FALSE(prepare.output.contains(QStringLiteral("เสร็จแล้วจ้า").toUtf8()))
            << prepare.output.toStdString();

        expectWhole(files.priceList);
        const QString alone = copyAlone(files.priceList);
        const int done = count(alone, cut, kListPassword);
        const int left = count(alone, uncut, kListPassword);
        EXPECT_GE(done, kCutBefore);
        EXPECT_GT(left, 0) << "the operation was not stopped";
        EXPECT_EQ(done + left, kRows);
    }
}

// A signal that comes once the operation has said it is done, while the runner still writes its
// warnings, still ends the program of that signal. The warnings wait for the test to read them,
// so the signal comes there and nowhere else.
TEST(StopSignals, EndKordanePrepareOfASignalAfterItsLastPump) {
    for (const auto& s : kStopSignals) {
        SCOPED_TRACE(s.name);
        const testenv::RunFiles files;
        makeRawList(files.priceList, 5);
        {
            // the build fills PriceList_1, which no run reads: the runner warns of it
            ado::Connection cn;
            storekit::OpenFile(cn, files.priceList, kListPassword);
            cn.Execute(QStringLiteral("Delete From PriceList_Count"));
        }
        Prepare prepare({ QStringLiteral("--yes"), QStringLiteral("--price-list"), files.priceList,
                            QStringLiteral("BuildPriceList") },
            true);
        const QByteArray done = QStringLiteral("เสร็จแล้วจ้า\n").toUtf8();
        ASSERT_TRUE(
            prepare.readUntil([&](const QByteArray& out) { return out.endsWith(done); }, 60))
            << prepare.output.toStdString();
        ASSERT_TRUE(prepare.blockedOnAPipe(10)) << "it was not writing its warning";
        prepare.signal(s.number);
        ASSERT_TRUE(prepare.delivered(s.number, 10));
        const std::optional<int> status = prepare.ended(30);
        ASSERT_TRUE(status) << "kordane-prepare did not end";
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == s.number) << howItEnded(*status);
        EXPECT_TRUE(prepare.errors.contains("warning: PriceList_1 holds 5 rows"))
            << prepare.errors.right(200).toStdString();
        expectWhole(files.priceList);
    }
}

// Asked twice, the window still watches the signals once and closes once.
TEST(StopSignals, TheWindowWatchesThemOnceHoweverOftenAsked) {
    testenv::ChildProgram window([](const std::function<void()>&) {
        defaultStopSignals();
        MainWindow w;
        w.closeOnStopSignals();
        w.closeOnStopSignals();
        int ends = 0;
        w.endHook = [&ends] { ++ends; };
        w.show();
        const int watches = int(w.findChildren<QSocketNotifier*>().size());
        if (watches != 1)
            throw std::runtime_error("watched by " + std::to_string(watches) + " notifiers");
        kill(getpid(), SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ends == 0 && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        if (ends != 1) throw std::runtime_error("closed " + std::to_string(ends) + " times");
    });
    window.go();
    EXPECT_TRUE(window.finished(30));
}

// A terminal that went away costs the window the line of its failure's cause, not its files: the
// run fails with a transaction in hand, and the window goes on through its failure path.
TEST(StopSignals, TheWindowOutlivesAStandardErrorNobodyReads) {
    const testenv::RunFiles files;
    storekit::CreateLargeStore(files.store, QStringLiteral("V.31"), kBrand, kStoreParts);
    storekit::LargeListShape shape;
    shape.rows = 20;
    shape.newShare = 1;
    shape.altsPerNew = 0;
    storekit::CreateLargePriceList(
        files.priceList, shape, storekit::StoreParts(files.store, kBrand));
    const QString partInsert
        = QStringLiteral("Insert Into ") + storekit::PartTable(QStringLiteral("V.31"), kBrand);

    testenv::ChildProgram window([&](const std::function<void()>&) {
        defaultStopSignals();
        std::signal(SIGPIPE, SIG_DFL);
        int err[2];
        if (pipe(err) != 0) throw std::runtime_error("pipe");
        close(err[0]);
        dup2(err[1], STDERR_FILENO);
        MainWindow w;
        w.closeOnStopSignals();
        QStringList messages;
        w.messageHook = [&messages](const QString& text, win::MsgStyle) { messages << text; };
        w.setText(win::Box::txtPriceList, files.priceList);
        w.setText(win::Box::txtDataVelandor, files.store);
        w.show();
        int inserts = 0;
        ado::SetEventHook([&](const ado::TraceEvent& e) {
            if (e.kind == ado::TraceKind::Execute && e.text.startsWith(partInsert)
                && ++inserts == 3)
                throw rt::RunError(QStringLiteral("the third part fails"));
        });
        qobject_cast<QPushButton*>(w.control("cmdUpDate"))->click();
        ado::SetEventHook(nullptr);
        if (messages != QStringList { QStringLiteral("ไม่สามรถบันทึกได้") })
            throw std::runtime_error("the run did not fail as expected");
    });
    window.go();
    const std::optional<int> status = window.ended(60);
    ASSERT_TRUE(status) << "the window did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << howItEnded(*status);
    expectWhole(files.store);
    expectWhole(files.priceList);
}

} // namespace
