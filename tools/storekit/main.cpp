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
#include "classic.h"
#include "large_list.h"
#include "platform/runtime/error.h"
#include "sample.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr int kBrandId = 12;

// Options after the positional arguments: --name value.
QString option(const QStringList& args, int from, const char* name, const QString& fallback) {
    for (int i = from; i < args.size(); ++i)
        if (args[i] == QLatin1String(name)) {
            if (i + 1 >= args.size())
                throw rt::RunError(QStringLiteral("%1 needs a value").arg(QLatin1String(name)));
            return args[i + 1];
        }
    return fallback;
}

int number(const QString& text, const char* what) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        throw rt::RunError(QStringLiteral("%1: not a count: %2").arg(QLatin1String(what), text));
    return n;
}

int usage() {
    std::fprintf(stderr,
        "usage: storekit sample <folder>\n"
        "       storekit store <version> <file> [--parts N]\n"
        "       storekit pricelist <file> --rows N [--like <store>] [--new-share S] [--alts K] "
        "[--table-rows T]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return usage();
    try {
        const QString& command = args[1];
        if (command == QLatin1String("sample") && args.size() == 3) {
            const QString dir = storekit::WriteSample(args[2]);
            std::printf("sample written to %s\n", qPrintable(dir));
        } else if (command == QLatin1String("store") && args.size() >= 4) {
            const int parts = number(option(args, 4, "--parts", QStringLiteral("0")), "--parts");
            storekit::CreateLargeStore(args[3], args[2], kBrandId, parts);
            std::printf("store %s of version %s with %d parts of VURE (brand key %d)\n",
                qPrintable(args[3]), qPrintable(args[2]), parts, kBrandId);
        } else if (command == QLatin1String("pricelist")) {
            storekit::LargeListShape shape;
            shape.rows = number(option(args, 3, "--rows", QString()), "--rows");
            shape.altsPerNew = number(option(args, 3, "--alts", QStringLiteral("1")), "--alts");
            shape.tableRows
                = number(option(args, 3, "--table-rows", QStringLiteral("10000")), "--table-rows");
            bool ok = false;
            const QString like = option(args, 3, "--like", QString());
            shape.newShare = option(args, 3, "--new-share",
                like.isEmpty() ? QStringLiteral("1") : QStringLiteral("0.5"))
                                 .toDouble(&ok);
            if (!ok) throw rt::RunError(QStringLiteral("--new-share: not a number"));
            const auto parts = like.isEmpty() ? std::vector<storekit::KindNumber> {}
                                              : storekit::StoreParts(like, kBrandId);
            const auto sum = storekit::CreateLargePriceList(args[2], shape, parts);
            std::printf("price list %s: %d rows in %d tables, %d of the store's parts, %d new\n",
                qPrintable(args[2]), shape.rows, sum.tables, sum.matching, sum.fresh);
        } else {
            return usage();
        }
    } catch (const rt::RunError& e) {
        std::fprintf(stderr, "storekit: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
