// storekit command: stand-in stores and price lists for trying the tool by hand.
//   storekit sample <folder>     the sample store and price list under <folder>/E:/DataVelandor,
//                                where the window's start-up paths point when started there
//   storekit store <version> <file> [--parts N]
//                                a store of any of the 28 versions with N parts of "VURE"
//                                (key 12; in "P.66 (Bar)" / "P.68 (Bar)" its Pta_ tables)
//   storekit pricelist <file> --rows N [--like <store>] [--new-share S] [--alts K]
//                      [--table-rows T]
//                                a price list of N rows in tables of T: the share 1 - S takes
//                                the parts of the store of either schema (new prices), the
//                                rest are new parts with K replacement numbers each
// Each takes --replace: without it a file that is there already is left as it is.
#include "command.h"

#include "large_list.h"
#include "platform/runtime/error.h"
#include "sample.h"

namespace storekit {

namespace {

constexpr int kBrandId = 12;

// A fault in the command line: nothing is written.
struct UsageError {
    QString message;
};

// Options after the positional arguments: --name value.
QString option(const QStringList& args, int from, const char* name, const QString& fallback) {
    for (int i = from; i < args.size(); ++i)
        if (args[i] == QLatin1String(name)) {
            if (i + 1 >= args.size())
                throw UsageError { QStringLiteral("%1 needs a value").arg(QLatin1String(name)) };
            return args[i + 1];
        }
    return fallback;
}

int number(const QString& text, const char* what) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        throw UsageError { QStringLiteral("%1: not a count: %2").arg(QLatin1String(what), text) };
    return n;
}

void knownVersion(const QString& version) {
    if (const QString unknown = UnknownVersion(version); !unknown.isEmpty())
        throw UsageError { unknown };
}

const char kUsage[] = "usage: storekit sample <folder> [--replace]\n"
                      "       storekit store <version> <file> [--parts N] [--replace]\n"
                      "       storekit pricelist <file> --rows N [--like <store>] [--new-share S] "
                      "[--alts K] [--table-rows T] [--replace]\n";

} // namespace

int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool replace = args.contains(QStringLiteral("--replace"));
    const QString command = args.value(0);
    try {
        if (command == QLatin1String("sample") && args.size() == (replace ? 3 : 2)
            && args[1] != QLatin1String("--replace")) {
            const QString dir = WriteSample(args[1], replace);
            out << "sample written to " << dir << "\n";
        } else if (command == QLatin1String("store") && args.size() >= 3) {
            const int parts = number(option(args, 3, "--parts", QStringLiteral("0")), "--parts");
            knownVersion(args[1]);
            CreateLargeStore(args[2], args[1], kBrandId, parts, replace);
            out << "store " << args[2] << " of version " << args[1] << " with " << parts
                << " parts of VURE (brand key " << kBrandId << ")\n";
        } else if (command == QLatin1String("pricelist") && args.size() >= 2) {
            LargeListShape shape;
            shape.rows = number(option(args, 2, "--rows", QString()), "--rows");
            shape.altsPerNew = number(option(args, 2, "--alts", QStringLiteral("1")), "--alts");
            shape.tableRows
                = number(option(args, 2, "--table-rows", QStringLiteral("10000")), "--table-rows");
            bool ok = false;
            const QString like = option(args, 2, "--like", QString());
            shape.newShare = option(args, 2, "--new-share",
                like.isEmpty() ? QStringLiteral("1") : QStringLiteral("0.5"))
                                 .toDouble(&ok);
            if (!ok) throw UsageError { QStringLiteral("--new-share: not a number") };
            const auto parts
                = like.isEmpty() ? std::vector<KindNumber> {} : StoreParts(like, kBrandId);
            const auto sum = CreateLargePriceList(args[1], shape, parts, replace);
            out << "price list " << args[1] << ": " << shape.rows << " rows in " << sum.tables
                << " tables, " << sum.matching << " of the store's parts, " << sum.fresh
                << " new\n";
        } else {
            err << kUsage;
            return 2;
        }
    } catch (const UsageError& e) {
        err << "storekit: " << e.message << "\n" << kUsage;
        return 2;
    } catch (const rt::RunError& e) {
        err << "storekit: " << e.message() << "\n";
        return 1;
    }
    return 0;
}

} // namespace storekit
