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
//   storekit --help              what it builds, its commands and the versions
// Each command takes --replace: without it a file that is there already is left as it is.
#include "command.h"

#include "app/frmKordane.h"
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

// An option the command cannot do without.
QString required(const QStringList& args, int from, const char* name, const char* what) {
    const QString value = option(args, from, name, QString());
    if (value.isNull())
        throw UsageError {
            QStringLiteral("%1 is missing: %2").arg(QLatin1String(name), QLatin1String(what))
        };
    return value;
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
                      "[--alts K] [--table-rows T] [--replace]\n"
                      "       storekit --help\n";

const char kHelp[]
    = "storekit builds stand-in files for trying the tool by hand: stand-in stores of any of\n"
      "the 28 store versions, brand price lists, and the sample the window opens on.\n"
      "\n"
      "  storekit sample <folder> [--replace]\n"
      "      the sample store and price list under <folder>/E:/DataVelandor, where the\n"
      "      window's start-up paths point when it is started from <folder>; both or neither\n"
      "  storekit store <version> <file> [--parts N] [--replace]\n"
      "      a store of the version with N parts (0) of the brand \"VURE\" (brand key 12)\n"
      "  storekit pricelist <file> --rows N [--table-rows T] [--like <store>] [--new-share S]\n"
      "                   [--alts K] [--replace]\n"
      "      a price list of N rows in tables of T rows (10000) that brings new parts with K\n"
      "      replacement numbers each (1); with --like, the share 1 - S of the rows (S 0.5)\n"
      "      takes that store's parts instead, with new prices\n"
      "  --replace\n"
      "      replaces a file that is there already; without it that file is left as it is\n"
      "      and nothing is written (exit 1)\n"
      "\n"
      "The folders of a target are made as needed; a file that cannot be built leaves the\n"
      "target as it was. Exit status: 0 written, 1 not written, 2 a usage error.\n"
      "\n";

// The versions as the store command takes them, a line of them at a time.
QString versionLines() {
    QString text = QStringLiteral("store versions:");
    qsizetype line = text.size();
    for (const QString& v : StoreVersions()) {
        const QString quoted = QLatin1Char('"') + v + QLatin1Char('"');
        if (line + 1 + quoted.size() > 90) {
            text += QStringLiteral("\n ");
            line = 1;
        }
        text += QLatin1Char(' ') + quoted;
        line += 1 + quoted.size();
    }
    return text + QLatin1Char('\n');
}

} // namespace

int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    const bool replace = args.contains(QStringLiteral("--replace"));
    const QString command = args.value(0);
    try {
        if (args.size() == 1
            && (command == QLatin1String("--help") || command == QLatin1String("-h"))) {
            out << kHelp << versionLines();
        } else if (command == QLatin1String("sample") && args.size() == (replace ? 3 : 2)
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
            shape.rows
                = number(required(args, 2, "--rows", "the number of rows the list gets"), "--rows");
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
            const auto counted = [](auto n, const char* one) {
                return QString::number(n) + QLatin1Char(' ') + QLatin1String(one)
                    + (n == 1 ? QString() : QStringLiteral("s"));
            };
            out << "price list " << args[1] << ": " << counted(shape.rows, "row") << " in "
                << counted(sum.tables, "table") << ", " << sum.matching << " of the store's parts, "
                << sum.fresh << " new\n";
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
