// Throughput of a whole transfer run against the limit of its own statements: builds a store
// and a price list of N rows, runs the UpDate handler over them with a window that pumps
// nothing, records every statement and transaction boundary through the layer's event hook,
// then replays that trace with the SQLite C API on copies of the starting files.
//   transfer_bench [--rows 1000,10000] [--version V.31] [--new-share 0.5] [--alts 1]
//                  [--table-rows 10000] [--csv file] [--dir folder] [--window] [--profile]
//   transfer_bench --kill [--rows ...]   kills its own run at a random moment after its first
//                                        new part is in and before it ends, checks that every
//                                        committed part is whole and that a second run
//                                        completes the list
//   transfer_bench --help
// A malformed or out-of-range value, an unknown version or a --csv file that cannot be written
// is a usage error (exit 2) before anything is built; the --csv file is written once the
// figures are there. Its own work folder (without --dir) goes however the benchmark ends.
// Also: --window runs through the Qt window (offscreen), --profile lists the replay's time by
// statement shape.
#include "app/frmKordane.h"
#include "app/qt/main_window.h"
#include "bench_options.h"
#include "storekit/classic.h"
#include "storekit/large_list.h"
#include "work_folder.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sqlite3.h>
#include <unordered_map>

namespace {

using bench::Options;

constexpr int kBrandId = 12;

// A window that shows nothing and pumps nothing; it keeps the last texts and messages.
class QuietWindow : public win::WindowPort {
public:
    QString text(win::Box b) const override {
        auto it = texts.find(b);
        return it == texts.end() ? QString() : it->second;
    }
    void setText(win::Box b, const QString& t) override { texts[b] = t; }
    void setCaption(win::Caption, const QString&) override { }
    bool optAccess() const override { return true; }
    int chkLikelAt() const override { return 0; }
    void setMousePointer(int) override { }
    void setUpDateEnabled(bool) override { }
    void msgBox(const QString& t, win::MsgStyle) override { messages << t; }
    void doEvents() override { }
    win::GridModel& grid() override { return grid_; }
    void endProgram() override { }

    std::map<win::Box, QString> texts;
    QStringList messages;

private:
    win::GridModel grid_;
};

struct Files {
    QString dir, store, list;
};

Files filesIn(const QString& dir) {
    return { dir, dir + QStringLiteral("/Velandor.accdb"),
        dir + QStringLiteral("/PriceList_VURE.mdb") };
}

// Runs the transfer as the button does; true when it ended with the completion message.
// Through the Qt window (shown, pumping its events) when asked.
bool runTransfer(const Files& f, QStringList* messages = nullptr, bool qtWindow = false) {
    if (qtWindow) {
        MainWindow w;
        QStringList shown;
        w.messageHook = [&shown](const QString& t, win::MsgStyle) { shown << t; };
        w.show();
        w.setText(win::Box::txtPriceList, f.list);
        w.setText(win::Box::txtDataVelandor, f.store);
        w.form().cmdUpDate_Click();
        if (messages) *messages = shown;
        return shown == QStringList { QStringLiteral("เสร็จแล้วจ้า") };
    }
    QuietWindow w;
    frmKordane form(w);
    form.Form_Load();
    w.texts[win::Box::txtPriceList] = f.list;
    w.texts[win::Box::txtDataVelandor] = f.store;
    form.cmdUpDate_Click();
    if (messages) *messages = w.messages;
    return w.messages == QStringList { QStringLiteral("เสร็จแล้วจ้า") };
}

// The trace, written as it comes: kind, file (0 store, 1 price list), recordset, text, values,
// rows.
class TraceWriter {
public:
    TraceWriter(const QString& path, const Files& f)
        : file_(path)
        , files_(f) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw rt::RunError(QStringLiteral("cannot write ") + path);
        out_.setDevice(&file_);
    }
    void operator()(const ado::TraceEvent& e) {
        if (!e.connection) return; // a recordset closed after its connection went away
        if (e.kind == ado::TraceKind::Execute || e.kind == ado::TraceKind::Open
            || e.kind == ado::TraceKind::RowWrite)
            ++statements;
        out_ << qint8(e.kind) << qint8(target(e.connection)) << quint64(quintptr(e.recordset))
             << e.text << qint32(e.binds.size());
        for (const QVariant& v : e.binds)
            out_ << v;
        out_ << qint64(e.rows);
    }
    void close() { file_.close(); }
    int64_t statements = 0;

private:
    int target(const ado::Connection* cn) {
        auto it = seen_.find(cn);
        if (it != seen_.end() && it->second.first == cn->connectionString())
            return it->second.second;
        QString dbq = ado::ParseConnectionString(cn->connectionString())[QStringLiteral("dbq")];
        int t = dbq == files_.store ? 0 : dbq == files_.list ? 1 : -1;
        if (t < 0) throw rt::RunError(QStringLiteral("trace: unknown database ") + dbq);
        seen_[cn] = { cn->connectionString(), t };
        return t;
    }
    QFile file_;
    QDataStream out_;
    Files files_;
    std::unordered_map<const ado::Connection*, std::pair<QString, int>> seen_;
};

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw rt::RunError(QStringLiteral("replay %1: %2")
                               .arg(QLatin1String(what), QString::fromUtf8(sqlite3_errmsg(db))));
}

// Replays a trace on the files of dir: one connection per file, autocommit, the recorded
// transactions, every query stepped through as many rows as the run read.
void replay(const QString& tracePath, const Files& f, bool profile) {
    sqlite3* db[2] = { nullptr, nullptr };
    const QString paths[2] = { f.store, f.list };
    for (int i = 0; i < 2; ++i) {
        check(
            sqlite3_open_v2(paths[i].toUtf8().constData(), &db[i], SQLITE_OPEN_READWRITE, nullptr),
            db[i], "open");
        check(sqlite3_exec(db[i], "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr,
                  nullptr, nullptr),
            db[i], "pragma");
    }
    struct Reading {
        sqlite3_stmt* stmt;
        int target;
        int64_t stepped;
    };
    std::unordered_map<quint64, Reading> reading;
    auto stepRows = [&](Reading& r, int64_t upTo) {
        while (r.stepped < upTo) {
            int rc = sqlite3_step(r.stmt);
            if (rc == SQLITE_DONE) break;
            check(rc, db[r.target], "step");
            const int n = sqlite3_column_count(r.stmt);
            for (int c = 0; c < n; ++c)
                if (sqlite3_column_type(r.stmt, c) == SQLITE_TEXT) sqlite3_column_text16(r.stmt, c);
            ++r.stepped;
        }
    };
    // as the layer does, a statement runs only once the queries on its file are read through
    auto settle = [&](int target) {
        for (auto it = reading.begin(); it != reading.end();)
            if (it->second.target == target) {
                stepRows(it->second, INT64_MAX);
                sqlite3_finalize(it->second.stmt);
                it = reading.erase(it);
            } else {
                ++it;
            }
    };
    auto run = [&](int t, const QString& sql, const QList<QVariant>& binds) {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare16_v2(db[t], sql.utf16(), -1, &st, nullptr), db[t], "prepare");
        for (int i = 0; i < binds.size(); ++i) {
            const QVariant& v = binds[i];
            if (v.isNull())
                sqlite3_bind_null(st, i + 1);
            else if (v.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(st, i + 1, v.toLongLong());
            else if (v.typeId() == QMetaType::Double)
                sqlite3_bind_double(st, i + 1, v.toDouble());
            else
                sqlite3_bind_text16(st, i + 1, v.toString().utf16(), -1, SQLITE_TRANSIENT);
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) { }
        check(rc, db[t], "step");
        sqlite3_finalize(st);
    };

    // --profile: replay time by statement shape (literals taken out)
    std::map<QString, std::pair<int64_t, qint64>> shapes;
    QElapsedTimer clock;
    clock.start();
    auto shapeOf = [](QString t) {
        static const QRegularExpression lit(QStringLiteral("'[^']*'|\\b\\d+(\\.\\d+)?\\b"));
        return t.replace(lit, QStringLiteral("?")).left(90);
    };

    QFile file(tracePath);
    if (!file.open(QIODevice::ReadOnly)) throw rt::RunError(QStringLiteral("cannot read trace"));
    QDataStream in(&file);
    while (!in.atEnd()) {
        qint8 kind, target;
        quint64 rs;
        QString text;
        qint32 nb;
        QList<QVariant> binds;
        qint64 rows;
        in >> kind >> target >> rs >> text >> nb;
        for (qint32 i = 0; i < nb; ++i) {
            QVariant v;
            in >> v;
            binds << v;
        }
        in >> rows;
        const int t = target;
        const qint64 began = profile ? clock.nsecsElapsed() : 0;
        switch (ado::TraceKind(kind)) {
        case ado::TraceKind::Open: {
            Reading r { nullptr, t, 0 };
            check(
                sqlite3_prepare16_v2(db[t], text.utf16(), -1, &r.stmt, nullptr), db[t], "prepare");
            stepRows(r, 1);
            reading[rs] = r;
            break;
        }
        case ado::TraceKind::Close: {
            auto it = reading.find(rs);
            if (it == reading.end()) break; // read through already
            stepRows(it->second, rows);
            sqlite3_finalize(it->second.stmt);
            reading.erase(it);
            break;
        }
        case ado::TraceKind::Execute:
        case ado::TraceKind::RowWrite:
        case ado::TraceKind::Own:
            settle(t);
            run(t, text, binds);
            break;
        case ado::TraceKind::Begin:
            settle(t);
            run(t, QStringLiteral("BEGIN"), {});
            break;
        case ado::TraceKind::Commit:
            settle(t);
            run(t, QStringLiteral("COMMIT"), {});
            break;
        case ado::TraceKind::Rollback:
            settle(t);
            run(t, QStringLiteral("ROLLBACK"), {});
            break;
        }
        if (profile) {
            auto& s = shapes[text.isEmpty() ? QString::number(kind) : shapeOf(text)];
            ++s.first;
            s.second += clock.nsecsElapsed() - began;
        }
    }
    if (profile) {
        std::vector<std::pair<qint64, QString>> order;
        for (const auto& [k, v] : shapes)
            order.push_back({ v.second,
                QStringLiteral("%1 x%2  %3").arg(v.second / 1000000).arg(v.first).arg(k) });
        std::sort(order.rbegin(), order.rend());
        for (size_t i = 0; i < order.size() && i < 15; ++i)
            std::printf("  %s ms\n", qPrintable(order[i].second));
    }
    for (auto& [id, r] : reading)
        sqlite3_finalize(r.stmt);
    for (sqlite3* d : db)
        sqlite3_close(d);
}

void copyFile(const QString& from, const QString& to) {
    for (const char* sfx : { "", "-wal", "-shm" }) {
        QFile::remove(to + QLatin1String(sfx));
        if (QFile::exists(from + QLatin1String(sfx))
            && !QFile::copy(from + QLatin1String(sfx), to + QLatin1String(sfx)))
            throw rt::RunError(QStringLiteral("cannot copy ") + from);
    }
}

// Peak resident memory since the last reset, in MB (Linux).
void resetPeakMemory() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}
double peakMemoryMb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return 0;
}

void build(const Files& f, const Options& o, int rows) {
    storekit::LargeListShape shape = o.shape;
    shape.rows = rows;
    const int matching = rows - int(int64_t(rows * shape.newShare));
    // the benchmark's own files: a folder given again is built afresh
    storekit::CreateLargeStore(f.store, o.version, kBrandId, std::max(1, matching), true);
    storekit::CreateLargePriceList(f.list, shape, storekit::StoreParts(f.store, kBrandId), true);
}

struct Figures {
    int rows;
    double runSeconds, replaySeconds, statementsPerRow, peakMb;
};

Figures measure(const Options& o, int rows, const QString& dir) {
    const Files start = filesIn(dir + QStringLiteral("/start"));
    const Files work = filesIn(dir + QStringLiteral("/run"));
    const Files again = filesIn(dir + QStringLiteral("/replay"));
    for (const Files* f : { &start, &work, &again })
        QDir().mkpath(f->dir);
    build(start, o, rows);
    for (const Files* f : { &work, &again }) {
        copyFile(start.store, f->store);
        copyFile(start.list, f->list);
    }
    const QString tracePath = dir + QStringLiteral("/trace.bin");
    TraceWriter writer(tracePath, work);
    ado::SetEventHook([&writer](const ado::TraceEvent& e) { writer(e); });
    resetPeakMemory();
    QElapsedTimer t;
    t.start();
    QStringList messages;
    const bool ok = runTransfer(work, &messages, o.window);
    const double runSeconds = t.nsecsElapsed() / 1e9;
    const double peak = peakMemoryMb();
    ado::SetEventHook(nullptr);
    writer.close();
    if (!ok)
        throw rt::RunError(
            QStringLiteral("the run ended with: ") + messages.join(QLatin1Char('|')));
    t.restart();
    replay(tracePath, again, o.profile);
    const double replaySeconds = t.nsecsElapsed() / 1e9;
    return { rows, runSeconds, replaySeconds, double(writer.statements) / rows, peak };
}

// The killed run's child: the transfer, writing a line to its output at each commit of a
// transaction that inserted into the part table, so the parent knows parts are in.
bool runReporting(const Files& f, const QString& partTable) {
    const QString insert = QStringLiteral("Insert Into ") + partTable + QLatin1Char(' ');
    bool inserted = false, committing = false;
    ado::SetEventHook([&](const ado::TraceEvent& e) {
        // the hook sees a commit before it is made: it has been made by the next event
        if (committing) {
            committing = false;
            std::fputs("committed\n", stdout);
            std::fflush(stdout);
        }
        if (e.kind == ado::TraceKind::Execute && e.text.startsWith(insert)) inserted = true;
        if (e.kind == ado::TraceKind::Commit) committing = inserted;
        if (e.kind == ado::TraceKind::Commit || e.kind == ado::TraceKind::Rollback)
            inserted = false;
    });
    return runTransfer(f);
}

// Kill mode: the run in a child process killed at a random moment after it has committed its
// first new part and before it ends; every part it committed must be whole, and a second run
// must bring in the rest of the list.
bool killAndResume(const Options& o, int rows, const QString& dir) {
    const Files f = filesIn(dir + QStringLiteral("/kill"));
    QDir().mkpath(f.dir);
    build(f, o, rows);
    const int firstNewKey = int(storekit::StoreParts(f.store, kBrandId).size()) + 1;
    // the child reports each commit that brought in a part; the kill comes after a random one
    // of the first third of them, so that the run is still going
    const auto newParts = int(storekit::MissingListParts(f.store, f.list, kBrandId).size());
    const int killAfter = 1 + int(QRandomGenerator::global()->bounded(qMax(1, newParts / 3)));
    QProcess child;
    // the run dies with the benchmark, wherever that is stopped, so none goes on in its folder
    child.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    child.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--run-only"), f.dir, o.version });
    if (!child.waitForStarted()) throw rt::RunError(QStringLiteral("cannot start the run"));
    int reported = 0;
    while (reported < killAfter) {
        // false once the run has ended, or when it has reported nothing for a minute (hung)
        if (!child.canReadLine() && !child.waitForReadyRead(60000)) break;
        while (reported < killAfter && child.canReadLine()) {
            child.readLine();
            ++reported;
        }
    }
    const bool finished = child.state() != QProcess::Running;
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }
    const int partsAtKill = int(storekit::StoreParts(f.store, kBrandId).size());
    const int committed = partsAtKill - (firstNewKey - 1); // new parts the killed run left
    QStringList problems = storekit::IncompleteParts(f.store, kBrandId, firstNewKey);
    std::printf("  kill after %d commit(s) of new parts%s: %d parts in the store, %d of them new, "
                "%s\n",
        reported, finished ? " (the run had ended)" : "", partsAtKill, committed,
        problems.isEmpty() ? "every committed part whole"
                           : qPrintable(problems.join(QStringLiteral("; "))));
    // a kill that missed the run, or came before its first insertion, has checked nothing
    const bool checked = !finished && committed > 0;
    if (!checked)
        std::printf("  not a pass: %s\n",
            finished ? "no run was killed" : "no part was committed before the kill");
    QStringList messages;
    const bool ok = runTransfer(f, &messages);
    problems << storekit::IncompleteParts(f.store, kBrandId, firstNewKey)
             << storekit::MissingListParts(f.store, f.list, kBrandId);
    std::printf("  second run: %s, %s\n",
        ok ? "completed" : qPrintable(messages.join(QLatin1Char('|'))),
        problems.isEmpty() ? "every list part in the store and whole"
                           : qPrintable(QStringLiteral("%1 problem(s), first: %2")
                                            .arg(problems.size())
                                            .arg(problems.first())));
    return checked && ok && problems.isEmpty();
}

// The benchmark in the work process; base is its work folder unless --dir names another.
int benchmark(int argc, char** argv, const QString& workFolder) {
    QApplication app(argc, argv);
    Options o;
    try {
        o = bench::ParseOptions(app.arguments().mid(1));
        if (!o.help && !o.csv.isEmpty()) bench::CheckCsvWritable(o.csv);
    } catch (const rt::RunError& e) {
        std::fprintf(stderr, "transfer_bench: %s\n%s", qPrintable(e.message()), bench::kUsage);
        return 2;
    }
    if (o.help) {
        std::printf("%s", bench::kUsage);
        return 0;
    }
    try {
        const QString base = o.dir.isEmpty() ? workFolder : o.dir;
        if (base.isEmpty())
            throw rt::RunError(QStringLiteral("cannot make a work folder in ") + QDir::tempPath());
        std::printf("version %s, new share %.2f, %d replacement number(s) per new part, tables of "
                    "%d rows%s\n",
            qPrintable(o.version), o.shape.newShare, o.shape.altsPerNew, o.shape.tableRows,
            o.window && !o.kill ? ", run through the Qt window (offscreen)" : "");
        QString csv = QStringLiteral(
            "rows,run_rows_per_s,replay_rows_per_s,ratio,statements_per_row,peak_mb\n");
        if (o.kill) {
            bool all = true;
            for (int rows : o.rows) {
                std::printf("%d rows:\n", rows);
                all = killAndResume(o, rows, base + QStringLiteral("/n%1").arg(rows)) && all;
            }
            return all ? 0 : 1;
        }
        std::printf("%8s %10s %12s %7s %10s %9s\n", "rows", "run row/s", "replay row/s", "ratio",
            "stmts/row", "peak MB");
        for (int rows : o.rows) {
            const QString dir = base + QStringLiteral("/n%1").arg(rows);
            Figures f = measure(o, rows, dir);
            const double run = f.rows / f.runSeconds, rep = f.rows / f.replaySeconds;
            std::printf("%8d %10.0f %12.0f %7.2f %10.1f %9.1f\n", f.rows, run, rep, run / rep,
                f.statementsPerRow, f.peakMb);
            std::fflush(stdout);
            csv += QStringLiteral("%1,%2,%3,%4,%5,%6\n")
                       .arg(f.rows)
                       .arg(run, 0, 'f', 1)
                       .arg(rep, 0, 'f', 1)
                       .arg(run / rep, 0, 'f', 3)
                       .arg(f.statementsPerRow, 0, 'f', 2)
                       .arg(f.peakMb, 0, 'f', 1);
        }
        if (!o.csv.isEmpty()) {
            QFile file(o.csv);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || file.write(csv.toUtf8()) < 0 || !file.flush())
                throw rt::RunError(QStringLiteral("cannot write ") + o.csv);
        }
    } catch (const rt::RunError& e) {
        std::fprintf(stderr, "transfer_bench: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--run-only") == 0) {
        QApplication app(argc, argv);
        const QStringList args = app.arguments();
        return runReporting(filesIn(args[2]), storekit::PartTable(args[3], kBrandId)) ? 0 : 1;
    }
    // made by the process that removes it however the work ends; with --dir it stays empty
    return bench::RunRemovingFolder(QDir::tempPath() + QStringLiteral("/transfer_bench-XXXXXX"),
        [&](const QString& folder) { return benchmark(argc, argv, folder); });
}
