// storekit never replaces a file that is there unless told to, and a build that fails leaves
// every target as it was, with nothing half made beside it; what it writes rests in the
// rollback-journal mode, whole by itself.
#include "app/frmKordane.h"
#include "storekit/command.h"
#include "storekit/large_list.h"
#include "storekit/sample.h"
#include "support/child_program.h"
#include "support/files.h"
#include "support/odbc_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using testenv::FileBytes;
using testenv::SideFiles;

// The header's write and read versions are 1 in the rollback-journal mode (2 in WAL).
void expectRestsInRollbackMode(const QString& path) {
    EXPECT_EQ(testenv::JournalFormat(path), testenv::kRollbackJournal) << path.toStdString();
    EXPECT_EQ(SideFiles(path), QStringList());
}

const QByteArray kMine = "a store of mine\n";

void writeMine(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kMine);
}

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

struct Outcome {
    int status;
    QString out, err;
};

Outcome runStorekit(const QStringList& args) {
    Outcome o;
    QTextStream out(&o.out), err(&o.err);
    o.status = storekit::RunCommand(args, out, err);
    return o;
}

TEST(StorekitCommand, AFileThatIsThereIsReplacedOnlyWhenAsked) {
    const struct Case {
        const char* name;
        QStringList args; // %1 is the case's folder
        const char* mine; // a file of the user's there before, relative to the folder
        const char* folder; // a folder in the way of a target, relative to the folder
        int status;
        const char* said; // in the error text
        bool replaced; // the user's file replaced by a stand-in
    } cases[] = {
        { "store there", { "store", "V.31", "%1/Velandor.accdb" }, "Velandor.accdb", nullptr, 1,
            "%1/Velandor.accdb is there already; --replace replaces it", false },
        { "store replaced", { "store", "V.31", "%1/Velandor.accdb", "--parts", "3", "--replace" },
            "Velandor.accdb", nullptr, 0, "", true },
        { "unknown version", { "store", "X.99", "%1/Velandor.accdb", "--replace" },
            "Velandor.accdb", nullptr, 2,
            "no store version \"X.99\"; the versions: \"Ver 3.1 SQL\", \"V.31\"", false },
        { "price list there", { "pricelist", "%1/PriceList_VURE.mdb", "--rows", "5" },
            "PriceList_VURE.mdb", nullptr, 1, "%1/PriceList_VURE.mdb is there already", false },
        { "sample's second file there", { "sample", "%1" }, "E:/DataVelandor/PriceList_VURE.mdb",
            nullptr, 1, "%1/E:/DataVelandor/PriceList_VURE.mdb is there already", false },
        { "sample replaced", { "sample", "%1", "--replace" }, "E:/DataVelandor/PriceList_VURE.mdb",
            nullptr, 0, "", true },
        { "sample's second file a folder", { "sample", "%1", "--replace" },
            "E:/DataVelandor/Velandor.accdb", "E:/DataVelandor/PriceList_VURE.mdb", 1,
            "cannot write %1/E:/DataVelandor/PriceList_VURE.mdb", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString dir = testenv::TempDir();
        const QString mine = dir + QLatin1Char('/') + QLatin1String(c.mine);
        writeMine(mine);
        if (c.folder) QDir().mkpath(dir + QLatin1Char('/') + QLatin1String(c.folder));
        QStringList args;
        for (const QString& a : c.args)
            args << QString(a).replace(QStringLiteral("%1"), dir);
        const Outcome o = runStorekit(args);
        EXPECT_EQ(o.status, c.status) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.said).replace(QStringLiteral("%1"), dir)))
            << o.err.toStdString();
        EXPECT_EQ(FileBytes(mine) == kMine, !c.replaced);
        // nothing else beside it: neither a half-made file nor the sample's other file
        EXPECT_EQ(filesIn(QFileInfo(mine).absolutePath()),
            QStringList { QFileInfo(mine).fileName() }
                + (c.replaced && args[0] == QLatin1String("sample")
                        ? QStringList { QStringLiteral("Velandor.accdb") }
                        : QStringList()));
        if (c.replaced)
            for (const QString& f : filesIn(QFileInfo(mine).absolutePath()))
                expectRestsInRollbackMode(QFileInfo(mine).dir().filePath(f));
    }
}

// A file made at the target while storekit builds is not replaced either, and the built
// file goes.
TEST(StorekitFiles, AFileMadeAtTheTargetMeanwhileIsKept) {
    const QString dir = testenv::TempDir();
    const QString target = dir + QStringLiteral("/Velandor.accdb");
    try {
        storekit::WriteFiles({ target }, false, [&](const QStringList& staged) {
            storekit::CreateLargeStore(staged[0], QStringLiteral("V.31"), 12, 3);
            writeMine(target);
        });
        ADD_FAILURE() << "the file made meanwhile was replaced";
    } catch (const rt::RunError& e) {
        EXPECT_EQ(e.message(), target + QStringLiteral(" is there already; --replace replaces it"));
    }
    EXPECT_EQ(FileBytes(target), kMine);
    EXPECT_EQ(filesIn(dir), QStringList { QStringLiteral("Velandor.accdb") });
}

// The replaced store's -wal and -shm, left by a program that ended without closing it, would be
// read as part of the new file: they go with the old file.
TEST(StorekitFiles, AReplacedFilesSideFilesGoWithIt) {
    const QString dir = testenv::TempDir();
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    ASSERT_EQ(runStorekit({ "store", "V.31", store, "--parts", "3" }).status, 0);
    testenv::ChildProgram other([&](const std::function<void()>&) {
        QSqlDatabase db = testenv::OpenSqlite(store);
        testenv::RunAll(db,
            { QStringLiteral("PRAGMA journal_mode=WAL"),
                QStringLiteral("PRAGMA wal_autocheckpoint=0"),
                QStringLiteral("DELETE FROM ") + storekit::PartTable(QStringLiteral("V.31"), 12) });
        _exit(0); // ends with its writes in the -wal
    });
    other.go();
    ASSERT_TRUE(other.finished(10));
    ASSERT_EQ(SideFiles(store), (QStringList { store + "-wal", store + "-shm" }));
    const Outcome o = runStorekit({ "store", "V.31", store, "--parts", "5", "--replace" });
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(storekit::StoreParts(store, 12).size(), 5u);
    expectRestsInRollbackMode(store);
}

TEST(StorekitCommand, TellsHowItIsUsed) {
    const struct Case {
        QStringList args;
        int status;
        QStringList out, err; // texts each holds
    } cases[] = {
        { { "--help" }, 0,
            { "the 28 store versions", "price lists", "sample <folder>",
                "store <version> <file> [--parts N]", "pricelist <file> --rows N", "--like <store>",
                "--replace" },
            {} },
        { { "-h" }, 0, { "--replace" }, {} },
        { { "pricelist", "%1/x.mdb" }, 2, {},
            { "storekit: --rows is missing: the number of rows the list gets\n", "usage:" } },
        { { "pricelist", "%1/x.mdb", "--rows", "many" }, 2, {},
            { "storekit: --rows: not a count: many\n" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const QString dir = testenv::TempDir();
        QStringList args;
        for (const QString& a : c.args)
            args << QString(a).replace(QStringLiteral("%1"), dir);
        const Outcome o = runStorekit(args);
        EXPECT_EQ(o.status, c.status);
        for (const QString& t : c.out)
            EXPECT_TRUE(o.out.contains(t)) << t.toStdString() << " in:\n" << o.out.toStdString();
        for (const QString& t : c.err)
            EXPECT_TRUE(o.err.contains(t)) << t.toStdString() << " in:\n" << o.err.toStdString();
        if (c.status == 0) {
            EXPECT_EQ(o.err, QString());
            // every version, as the store command takes it
            for (const QString& v : StoreVersions())
                EXPECT_TRUE(o.out.contains(QLatin1Char('"') + v + QLatin1Char('"')))
                    << v.toStdString();
        } else {
            EXPECT_EQ(o.out, QString());
        }
        EXPECT_EQ(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }
}

TEST(StorekitCommand, MakesTheFoldersOfItsTargets) {
    const QString dir = testenv::TempDir() + QStringLiteral("/big/er");
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    const QString list = dir + QStringLiteral("/lists/PriceList_VURE.mdb");
    EXPECT_EQ(runStorekit({ "store", "P.68 (Bar)", store, "--parts", "4" }).status, 0);
    const Outcome o = runStorekit({ "pricelist", list, "--rows", "6", "--like", store });
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.out,
        QStringLiteral("price list ") + list
            + QStringLiteral(": 6 rows in 1 table, 3 of the store's parts, 3 new\n"));
    expectRestsInRollbackMode(store);
    expectRestsInRollbackMode(list);
    EXPECT_EQ(storekit::MissingListParts(store, list, 12).size(), 6); // the new rows and theirs
}

// The failures inside a build: the file that was there stays whole, and nothing is left beside.
TEST(StorekitFiles, ABuildThatFailsLeavesTheTargetsAsTheyWere) {
    const QString dir = testenv::TempDir();
    const QString a = dir + QStringLiteral("/a.accdb"), b = dir + QStringLiteral("/b.mdb");
    writeMine(a);
    writeMine(b);
    EXPECT_THROW(storekit::CreateLargeStore(a, QStringLiteral("V.99"), 12, 3, true), rt::RunError);
    EXPECT_THROW(storekit::WriteFiles({ a, b }, true,
                     [](const QStringList& staged) {
                         storekit::CreateLargeStore(staged[0], QStringLiteral("V.31"), 12, 3);
                         throw rt::RunError(QStringLiteral("the second file failed"));
                     }),
        rt::RunError);
    EXPECT_EQ(FileBytes(a), kMine);
    EXPECT_EQ(FileBytes(b), kMine);
    EXPECT_EQ(filesIn(dir), (QStringList { "a.accdb", "b.mdb" }));
}

} // namespace
