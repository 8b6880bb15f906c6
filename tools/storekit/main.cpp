// storekit command: makes the sample store and price list the window opens on.
//   storekit sample <folder>   writes <folder>/E:/DataVelandor/Velandor.accdb and
//                              PriceList_VURE.mdb, where the window's start-up paths point when
//                              it is started from <folder>.
#include "platform/runtime/error.h"
#include "sample.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args[1] != QLatin1String("sample")) {
        std::fprintf(stderr, "usage: storekit sample <folder>\n");
        return 2;
    }
    try {
        const QString dir = storekit::WriteSample(args[2]);
        std::printf("sample written to %s\n", qPrintable(dir));
    } catch (const rt::RunError& e) {
        std::fprintf(stderr, "storekit: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
