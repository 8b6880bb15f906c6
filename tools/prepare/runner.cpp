// The preparation runner.
#include "runner.h"

#include "app/frmKordane.h"
#include "console_window.h"
#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/stop_signals.h"
#include "platform/runtime/text.h"
#include "prepare/operations.h"

#include <QDir>
#include <map>
#include <optional>

using win::Box;

namespace prepare {

namespace {

// Options that take a value, and the window's box each one fills.
const std::map<QString, Box> kValueOptions {
    { QStringLiteral("--price-list"), Box::txtPriceList },
    { QStringLiteral("--store"), Box::txtDataVelandor },
    { QStringLiteral("--server"), Box::txtServer },
    { QStringLiteral("--uid"), Box::txtuid },
    { QStringLiteral("--pwd"), Box::txtpwd },
    { QStringLiteral("--dbq"), Box::txtdbq },
};

void printUsage(QTextStream& s, const std::vector<Operation>& operations) {
    s << "Usage: kordane-prepare [--yes] [--price-list FILE] [--store FILE]\n"
         "                       [--server S --uid U --pwd P --dbq D] OPERATION\n"
         "       kordane-prepare --help\n\n"
         "Runs one preparation operation on the brand's price-list database.\n"
         "  --price-list FILE  the price-list database (default: the window's start-up path)\n"
         "  --store FILE       the store file; its ending (accdb or not) picks the driver of both\n"
         "                     files, as in the window; operations marked [store] read it\n"
         "  --server, --uid, --pwd, --dbq\n"
         "                     the store on the SQL server instead (operations marked [store])\n"
         "  --yes              do not ask before an operation that empties or rewrites tables\n\n"
         "Operations:\n";
    for (const Operation& op : operations) {
        QString marks;
        if (op.rewrites) marks += QStringLiteral(" [rewrites]");
        if (op.needsStore) marks += QStringLiteral(" [store]");
        s << "  " << op.name << marks << "\n      " << op.help << '\n';
    }
    s.flush();
}

struct Options {
    bool help = false;
    bool yes = false;
    std::map<Box, QString> values;
    QString operation;
};

// Empty optional and a message in error when the command line cannot be read.
std::optional<Options> parse(const QStringList& args, QString& error) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--yes") || a == QLatin1String("-y")) {
            o.yes = true;
        } else if (auto it = kValueOptions.find(a); it != kValueOptions.end()) {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            o.values[it->second] = args[++i];
        } else if (a.startsWith(QLatin1Char('-'))) {
            error = QStringLiteral("unknown option ") + a;
            return std::nullopt;
        } else if (o.operation.isEmpty()) {
            o.operation = a;
        } else {
            error = QStringLiteral("one operation at a time: ") + a;
            return std::nullopt;
        }
    }
    return o;
}

bool ask(QTextStream& out, QTextStream& in, const Operation& op, const QString& priceList) {
    out << op.name << " empties or rewrites tables of " << priceList << ". Go on? [y/N] ";
    out.flush();
    const QString line = in.readLine();
    if (line.isNull()) out << '\n'; // no answer at all: end the prompt's line
    const QString answer = rt::Trim(line).toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

// After a failure: what the window's error path does, every step's own failure ignored.
void cleanUp(frmKordane& f) {
    try {
        if (f.cnStore().inTransaction()) f.cnStore().RollbackTrans();
    } catch (...) { }
    for (ado::Recordset* rs : { &f.rsList, &f.rsLookup, &f.rsCheck })
        try {
            frmKordane::CloseIfOpen(*rs);
        } catch (...) { }
}

} // namespace

int RunPrepare(const QStringList& args, QTextStream& out, QTextStream& err, QTextStream& in,
    bool rewriteInPlace, const std::vector<Operation>& operations, bool stopOnSignals) {
    QString error;
    const std::optional<Options> o = parse(args, error);
    if (o && o->help) {
        printUsage(out, operations);
        return kDone;
    }
    if (o && o->operation.isEmpty()) error = QStringLiteral("no operation named");
    const Operation* op = nullptr;
    for (const Operation& candidate : operations)
        if (o && o->operation == QLatin1String(candidate.name)) op = &candidate;
    if (o && !o->operation.isEmpty() && !op)
        error = QStringLiteral("unknown operation ") + o->operation;
    if (!error.isEmpty()) {
        err << "kordane-prepare: " << error << "\n\n";
        printUsage(err, operations);
        return kUsage;
    }

    ConsoleWindow window(out, rewriteInPlace);
    frmKordane f(window);
    f.Form_Load(); // the brand, and the window's start-up paths as defaults
    for (const auto& [box, value] : o->values)
        window.setText(box, value);
    window.access = !o->values.contains(Box::txtServer);

    // nothing is opened until both files are known to be there
    auto there = [](const QString& path) {
        try {
            return !path.isEmpty() && rt::FileSearchFinds(path);
        } catch (const rt::RunError&) {
            return false;
        }
    };
    QStringList missing;
    const QString priceList = rt::Trim(window.text(Box::txtPriceList));
    if (!there(priceList)) missing << priceList;
    if (op->needsStore && window.access && !there(f.storePathTrimmed()))
        missing << f.storePathTrimmed();
    if (!missing.isEmpty()) {
        // where it looked: a start-up path is found from the folder the runner was started in
        for (const QString& path : missing)
            err << "kordane-prepare: file not found: " << path << ", looked for as "
                << QDir::cleanPath(QDir::current().absoluteFilePath(
                       QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'))))
                << '\n';
        err << "kordane-prepare: --price-list FILE and --store FILE name other files\n";
        return kUsage;
    }
    if (op->rewrites && !o->yes && !ask(out, in, *op, priceList)) {
        out << "Nothing done.\n";
        return kFailed;
    }

    if (stopOnSignals) {
        rt::CatchStopSignals();
        rt::CatchLostReader();
    }
    try {
        f.SetUpPriceListConnection();
        if (op->needsStore) {
            f.OpenStoreConnection();
            if (f.CheckStoreVersion() == 0)
                throw rt::RunError(QStringLiteral("the store's version is not one the tool knows"));
            f.FindBrand();
            if (f.mBrandID == 0)
                throw rt::RunError(QStringLiteral("the store has no brand ") + f.mBrandName);
        }
        const std::vector<TableRows> unread = op->run(f);
        window.finish();
        f.cnPriceList().Close();
        if (op->needsStore) f.cnStore().Close();
        window.stopOnSignal(); // one that came after the last pump: the operation is not done
        out << "เสร็จแล้วจ้า\n";
        out.flush();
        for (const TableRows& t : unread)
            err << "kordane-prepare: warning: PriceList_" << t.number << " holds " << t.rows
                << (t.rows == 1 ? " row" : " rows")
                << ", but a run will not read it until PriceList_Count lists it\n";
        err.flush();
        window.stopOnSignal(); // one that came while it said so
        return kDone;
    } catch (const rt::RunError& e) {
        window.finish();
        cleanUp(f);
        err << "ไม่สามรถบันทึกได้: " << e.message() << '\n';
    } catch (const std::exception& e) {
        window.finish();
        cleanUp(f);
        err << "ไม่สามรถบันทึกได้: " << e.what() << '\n';
    }
    err.flush();
    window.stopOnSignal();
    return kFailed;
}

} // namespace prepare
