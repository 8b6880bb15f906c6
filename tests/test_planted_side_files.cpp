// Side files that are not files: a named pipe, a folder, a link, a socket or a device that anyone
// who may write a store's folder puts where its -journal, -wal or -shm goes ends the open with a
// message naming it, or, put there while the file is open, the next statement that comes to it.
// Nothing is opened through it, nothing is removed, and nothing waits for good: each open runs in
// a child process that must end within a bound.
#include "platform/ado/side_file_vfs.h"
#include "prepare/runner.h"
#include "storekit/command.h"
#include "storekit/sample.h"
#include "storekit/storekit.h"
#include "support/child_program.h"
#include "support/fake_window.h"
#include "support/files.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

using testenv::FileBytes;
using testenv::SideFiles;

constexpr int kBoundSeconds = 5;

enum class Kind { Pipe, Folder, Link, Socket, Device };
const Kind kKinds[] = { Kind::Pipe, Kind::Folder, Kind::Link, Kind::Socket, Kind::Device };
const char* const kTails[] = { "-journal", "-wal", "-shm" };

const char* kindName(Kind k) {
    switch (k) {
    case Kind::Pipe:
        return "named pipe";
    case Kind::Folder:
        return "folder";
    case Kind::Link:
        return "symbolic link";
    case Kind::Socket:
        return "socket";
    case Kind::Device:
        return "device";
    }
    return "?";
}

// Puts a thing of the kind at path; a link points at a regular file of someone's elsewhere.
// False where this kind cannot be made (a device node needs the privilege to make one).
bool plant(Kind k, const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    switch (k) {
    case Kind::Pipe:
        return mkfifo(p.constData(), 0666) == 0;
    case Kind::Folder:
        return mkdir(p.constData(), 0777) == 0;
    case Kind::Socket:
        return mknod(p.constData(), S_IFSOCK | 0666, 0) == 0;
    case Kind::Device:
        return mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Kind::Link: {
        const QString target = testenv::TempDir() + QStringLiteral("/someones-file");
        QFile f(target);
        if (!f.open(QIODevice::WriteOnly) || f.write("someone's file\n") < 0) return false;
        f.close();
        return symlink(QFile::encodeName(target).constData(), p.constData()) == 0;
    }
    }
    return false;
}

// What the thing at path is: its kind, identity, size and last change, what a link points at
// and what that holds, what a folder holds. The same text afterwards means it was neither
// replaced, written through nor removed.
QString snapshot(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    struct stat st;
    if (lstat(p.constData(), &st) != 0) return QStringLiteral("<nothing>");
    QString text = QStringLiteral("mode %1 inode %2 device %3 size %4 changed %5.%6")
                       .arg(st.st_mode, 0, 8)
                       .arg(st.st_ino)
                       .arg(st.st_rdev)
                       .arg(st.st_size)
                       .arg(st.st_mtim.tv_sec)
                       .arg(st.st_mtim.tv_nsec);
    if (S_ISLNK(st.st_mode)) {
        const QString target = QFile::symLinkTarget(path);
        text += QStringLiteral(" to ") + target + QStringLiteral(": ")
            + QString::fromUtf8(FileBytes(target));
    }
    if (S_ISDIR(st.st_mode))
        text += QStringLiteral(" holding ")
            + QDir(path)
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                  .join(QLatin1Char(' '));
    return text;
}

// Everything in the folder, pipes, sockets and devices too.
QStringList entriesIn(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// What work said, run in a child process; nothing when it did not end within the bound.
std::optional<QString> saidWithinBound(const std::function<QString()>& work) {
    const QString said = testenv::TempDir() + QStringLiteral("/said");
    testenv::ChildProgram child([&](const std::function<void()>&) {
        const QByteArray text = work().toUtf8();
        QFile f(said);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            throw std::runtime_error("cannot write what was said");
    });
    child.go();
    if (!child.finished(kBoundSeconds)) return std::nullopt;
    return QString::fromUtf8(FileBytes(said));
}

// An open through the layer that reads and, where it may, writes: its failure's message, or
// "opened".
QString openThroughTheLayer(const QString& path, bool readOnly) {
    try {
        ado::Connection cn;
        if (readOnly) cn.setMode(1);
        storekit::OpenFile(cn, path);
        testenv::QueryRows(cn, QStringLiteral("Select A From T"));
        if (!readOnly) cn.Execute(QStringLiteral("Update T Set A = 2"));
        cn.Close();
        return QStringLiteral("opened");
    } catch (const rt::RunError& e) {
        return e.message();
    }
}

TEST(PlantedSideFiles, EachKindInPlaceOfEachSideFileEndsTheLayersOpenNamingIt) {
    bool madeDevice = true;
    for (const Kind kind : kKinds) {
        for (const char* tail : kTails) {
            for (const bool readOnly : { false, true }) {
                SCOPED_TRACE(std::string("a ") + kindName(kind) + " as the " + tail
                    + (readOnly ? ", read-only" : ", writable"));
                const testenv::RunFiles files;
                testenv::SmallStore(files.store);
                const QByteArray before = FileBytes(files.store);
                const QString side = files.store + QLatin1String(tail);
                if (!plant(kind, side)) {
                    ASSERT_EQ(kind, Kind::Device) << strerror(errno);
                    madeDevice = false;
                    continue;
                }
                const QString planted = snapshot(side);

                const std::optional<QString> said
                    = saidWithinBound([&] { return openThroughTheLayer(files.store, readOnly); });

                if (!said) {
                    ADD_FAILURE() << "the open did not end within " << kBoundSeconds << " s";
                    continue;
                }
                EXPECT_TRUE(said->contains(QStringLiteral("'") + side + QStringLiteral("'")))
                    << said->toStdString();
                EXPECT_EQ(snapshot(side), planted);
                EXPECT_TRUE(FileBytes(files.store) == before) << "the database file changed";
                EXPECT_EQ(SideFiles(files.store), QStringList { side });
            }
        }
    }
    if (!madeDevice) GTEST_SKIP() << "no device node could be made: that kind was not tried";
}

// What SQLite says of a side file it refuses.
QString refusal(const QString& side, Kind kind) {
    return QStringLiteral("The file '%1' beside the database is a %2, not a regular file")
        .arg(side, QLatin1String(kindName(kind)));
}

// SQLite looks for the -journal and the -wal again at every read of a file in the
// rollback-journal mode, and opens the -shm once a first write has switched it to WAL: a named
// pipe planted there while the file is open ends that read naming it, at once.
TEST(PlantedSideFiles, ANamedPipePlantedWhileTheFileIsOpenEndsTheNextReadNamingIt) {
    struct Case {
        const char* name;
        const char* tail;
        bool readOnly;
        bool writeFirst; // the write switches the file to WAL, which opens the -shm
    };
    const Case cases[] = {
        { "-journal, a reader", "-journal", true, false },
        { "-journal, a writer that has not written yet", "-journal", false, false },
        { "-wal, a reader", "-wal", true, false },
        { "-wal, a writer that has not written yet", "-wal", false, false },
        { "-shm, a writer's first write", "-shm", false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const testenv::RunFiles files;
        testenv::SmallStore(files.store);
        const QString side = files.store + QLatin1String(c.tail);
        const QString said = testenv::TempDir() + QStringLiteral("/said");
        testenv::ChildProgram reader([&](const std::function<void()>& reached) {
            ado::Connection cn;
            if (c.readOnly) cn.setMode(1);
            storekit::OpenFile(cn, files.store);
            testenv::QueryRows(cn, QStringLiteral("Select A From T"));
            reached();
            if (!testenv::AwaitGo(kBoundSeconds)) throw std::runtime_error("no go");
            QString text = QStringLiteral("read");
            try {
                if (c.writeFirst) cn.Execute(QStringLiteral("Update T Set A = 2"));
                testenv::QueryRows(cn, QStringLiteral("Select A From T"));
            } catch (const rt::RunError& e) {
                text = e.message();
            }
            QFile f(said);
            if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0)
                throw std::runtime_error("cannot write what was said");
        });
        reader.go();
        ASSERT_TRUE(reader.reached(kBoundSeconds));
        ASSERT_EQ(SideFiles(files.store), QStringList());
        ASSERT_TRUE(plant(Kind::Pipe, side)) << strerror(errno);
        const QString planted = snapshot(side);
        reader.go();
        if (!reader.finished(kBoundSeconds)) {
            ADD_FAILURE() << "the read did not end within " << kBoundSeconds << " s";
            continue;
        }
        EXPECT_EQ(QString::fromUtf8(FileBytes(said)), refusal(side, Kind::Pipe));
        EXPECT_EQ(snapshot(side), planted);
    }
}

// SQLite names the side files after the path with its links resolved: what stands beside the
// link is no side file of the store behind it, what stands beside the store is.
TEST(PlantedSideFiles, OnlyWhatStandsBesideTheStoreBehindALinkCounts) {
    for (const bool besideTheLink : { true, false }) {
        for (const bool readOnly : { false, true }) {
            SCOPED_TRACE(std::string(besideTheLink ? "beside the link" : "beside the store")
                + (readOnly ? ", read-only" : ", writable"));
            const testenv::RunFiles files;
            testenv::SmallStore(files.store);
            const QString link = testenv::TempDir() + QStringLiteral("/Velandor.accdb");
            ASSERT_EQ(symlink(QFile::encodeName(files.store).constData(),
                          QFile::encodeName(link).constData()),
                0);
            const QString side = (besideTheLink ? link : files.store) + QStringLiteral("-journal");
            ASSERT_TRUE(plant(Kind::Folder, side));
            const QString planted = snapshot(side);

            const std::optional<QString> said
                = saidWithinBound([&] { return openThroughTheLayer(link, readOnly); });

            ASSERT_TRUE(said) << "the open did not end within " << kBoundSeconds << " s";
            EXPECT_EQ(
                *said, besideTheLink ? QStringLiteral("opened") : refusal(side, Kind::Folder));
            EXPECT_EQ(snapshot(side), planted);
            if (besideTheLink && !readOnly) {
                EXPECT_EQ(testenv::QueryRows(files.store, QStringLiteral("Select A From T")),
                    QStringList { QStringLiteral("2") });
            }
        }
    }
}

// SQLite removes the -journal and the -wal it finds beside a database of no pages (a file made
// and not yet written); one that is no regular file stays, and the read fails naming it.
TEST(PlantedSideFiles, SqliteRemovesNoneBesideAFileOfNoPages) {
    ado::GuardSideFiles();
    const struct {
        Kind kind;
        const char* tail;
    } cases[] = { { Kind::Pipe, "-journal" }, { Kind::Pipe, "-wal" }, { Kind::Link, "-wal" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("a ") + kindName(c.kind) + " as the " + c.tail);
        const testenv::RunFiles files;
        QFile(files.store).open(QIODevice::WriteOnly);
        const QString side = files.store + QLatin1String(c.tail);
        ASSERT_TRUE(plant(c.kind, side));
        const QString planted = snapshot(side);
        bool read = false;
        {
            QSqlDatabase db
                = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("nopages"));
            db.setDatabaseName(files.store);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            read = q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            EXPECT_EQ(ado::SideFileRefusalBehind(q.lastError()), refusal(side, c.kind));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("nopages"));
        EXPECT_FALSE(read);
        EXPECT_EQ(snapshot(side), planted);
    }
}

struct Planting {
    const char* name;
    Kind kind;
    bool besideStore; // else beside the price list
    const char* tail;
};

// The sample with a thing planted beside one of its files: that file, the side file's path, and
// what was planted.
struct PlantedSample {
    QString dir, priceList, store, file, side, planted;
    QByteArray before;
    explicit PlantedSample(const Planting& p) {
        dir = storekit::WriteSample(testenv::TempDir());
        priceList = dir + QStringLiteral("/PriceList_VURE.mdb");
        store = dir + QStringLiteral("/Velandor.accdb");
        file = p.besideStore ? store : priceList;
        side = file + QLatin1String(p.tail);
        before = FileBytes(file);
        if (!plant(p.kind, side)) ADD_FAILURE() << "cannot plant at " << side.toStdString();
        planted = snapshot(side);
    }
    void expectLeftAsItWas() const {
        EXPECT_EQ(snapshot(side), planted);
        EXPECT_TRUE(FileBytes(file) == before) << "the database file changed";
        EXPECT_EQ(SideFiles(file), QStringList { side });
    }
};

const Planting kWhereItBites[] = {
    { "a named pipe as the store's -journal", Kind::Pipe, true, "-journal" },
    { "a symbolic link as the price list's -wal", Kind::Link, false, "-wal" },
};

TEST(PlantedSideFiles, ARunInTheWindowEndsWithTheFailureMessageAndItsCauseNamesIt) {
    for (const Planting& p : kWhereItBites) {
        SCOPED_TRACE(p.name);
        const PlantedSample sample(p);
        const std::optional<QString> said = saidWithinBound([&] {
            FormFixture fx;
            fx.useDesktopStore(sample.priceList, sample.store);
            fx.form.cmdUpDate_Click();
            QStringList lines;
            for (const ShownMessage& m : fx.window.messages)
                lines << QStringLiteral("message: ") + m.text;
            for (const QString& cause : fx.window.causes)
                lines << QStringLiteral("cause: ") + cause;
            return lines.join(QLatin1Char('\n'));
        });
        if (!said) {
            ADD_FAILURE() << "the run did not end within " << kBoundSeconds << " s";
            continue;
        }
        const QStringList lines = said->split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << said->toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("message: ") + kFailedMessage);
        EXPECT_TRUE(
            lines[1].startsWith(QStringLiteral("cause: ")) && lines[1].contains(sample.side))
            << lines[1].toStdString();
        sample.expectLeftAsItWas();
    }
}

TEST(PlantedSideFiles, KordanePrepareExitsOneNamingIt) {
    for (const Planting& p : kWhereItBites) {
        SCOPED_TRACE(p.name);
        const PlantedSample sample(p);
        const std::optional<QString> said = saidWithinBound([&] {
            QString out, err, input;
            QTextStream o(&out), e(&err), in(&input);
            const int status = prepare::RunPrepare(
                { QStringLiteral("--yes"), QStringLiteral("--price-list"), sample.priceList,
                    QStringLiteral("--store"), sample.store, QStringLiteral("FillIsuzuKinds") },
                o, e, in);
            return QString::number(status) + QLatin1Char('\n') + err;
        });
        if (!said) {
            ADD_FAILURE() << "kordane-prepare did not end within " << kBoundSeconds << " s";
            continue;
        }
        EXPECT_TRUE(said->startsWith(QString::number(prepare::kFailed) + QLatin1Char('\n')))
            << said->toStdString();
        EXPECT_TRUE(said->contains(sample.side)) << said->toStdString();
        sample.expectLeftAsItWas();
    }
}

// --replace takes a replaced file's side files with it: not one that is no file.
TEST(PlantedSideFiles, StorekitRefusesToReplaceAFileWithOneBesideItNamingIt) {
    for (const Kind kind : { Kind::Pipe, Kind::Link }) {
        for (const char* tail : { "-journal", "-wal" }) {
            SCOPED_TRACE(std::string("a ") + kindName(kind) + " as the " + tail);
            const testenv::RunFiles files;
            QString out, err;
            QTextStream o(&out), e(&err);
            ASSERT_EQ(
                storekit::RunCommand({ "store", "V.31", files.store, "--parts", "2" }, o, e), 0)
                << err.toStdString();
            const QByteArray before = FileBytes(files.store);
            const QString side = files.store + QLatin1String(tail);
            ASSERT_TRUE(plant(kind, side));
            const QString planted = snapshot(side);

            const std::optional<QString> said = saidWithinBound([&] {
                QString out, err;
                QTextStream o(&out), e(&err);
                const int status = storekit::RunCommand(
                    { "store", "V.31", files.store, "--parts", "5", "--replace" }, o, e);
                return QString::number(status) + QLatin1Char('\n') + err;
            });

            if (!said) {
                ADD_FAILURE() << "storekit did not end within " << kBoundSeconds << " s";
                continue;
            }
            EXPECT_TRUE(said->startsWith(QStringLiteral("1\n"))) << said->toStdString();
            EXPECT_TRUE(said->contains(side)) << said->toStdString();
            EXPECT_EQ(snapshot(side), planted);
            EXPECT_TRUE(FileBytes(files.store) == before) << "the database file changed";
            EXPECT_EQ(entriesIn(files.dir),
                (QStringList { QFileInfo(files.store).fileName(), QFileInfo(side).fileName() }));
        }
    }
}

} // namespace
