// Stand-in files, the store's shared tables and price-list databases.
#include "storekit.h"

#include "platform/ado/side_file_vfs.h"
#include "platform/runtime/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storekit {

QString DesktopConnectionString(const QString& path, const QString& password) {
    return QStringLiteral("driver={Microsoft Access Driver (*.mdb, *.accdb)};dbq=") + path
        + QStringLiteral(";UID=admin;PWD=") + password;
}

namespace {

const char* const kSideTails[] = { "-wal", "-shm", "-journal" };

void removeSideFiles(const QString& path) {
    for (const char* tail : kSideTails)
        QFile::remove(path + QLatin1String(tail));
}
void removeFile(const QString& path) {
    QFile::remove(path);
    removeSideFiles(path);
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Runs statements on the file through SQLite itself, outside the data-access layer; false when
// one fails (the later ones are not run).
bool runOnFile(const QString& path, const QStringList& statements) {
    ado::GuardSideFiles();
    const QString name = QStringLiteral("storekit-") + QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            ok = true;
            for (const QString& statement : statements)
                if (!(ok = q.exec(statement))) break;
            q.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Moves from to to unless a name is there already (errno EEXIST then).
bool renameNoReplace(const QString& from, const QString& to) {
    if (renameat2(AT_FDCWD, encoded(from).constData(), AT_FDCWD, encoded(to).constData(),
            RENAME_NOREPLACE)
        == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    // a filesystem without that rename: a link is refused where a name is taken
    if (link(encoded(from).constData(), encoded(to).constData()) != 0) return false;
    unlink(encoded(from).constData());
    return true;
}

QString thereAlready(const QString& target) {
    return QStringLiteral("%1 is there already; --replace replaces it").arg(target);
}

bool isFolder(const QString& path) {
    struct stat st;
    return lstat(encoded(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One built file taking its target's place. The target's old file and its side files stay
// aside until every file is in place, so that a failure can give them back.
class Placing {
public:
    Placing(const QString& staged, const QString& target)
        : staged_(staged)
        , target_(target)
        , aside_(target + QStringLiteral(".old-")
              + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8)) { }

    void put(bool replace) {
        // one that is no file is not storekit's to move or remove, not even with the old file
        ado::RequireRegularSideFiles(target_);
        if (replace) keepOld();
        // side files beside a replaced file are the old file's, not the new one's
        for (const char* tail : kSideTails) {
            const QString side = target_ + QLatin1String(tail);
            if (std::rename(
                    encoded(side).constData(), encoded(aside_ + QLatin1String(tail)).constData())
                == 0)
                sidesAside_ << QLatin1String(tail);
            else if (errno != ENOENT)
                cannotWrite();
        }
        // over the old file only while it is kept by its second name: a file made there
        // meanwhile is no file storekit was told to replace
        if (old_ == Old::Linked
                ? std::rename(encoded(staged_).constData(), encoded(target_).constData()) == 0
                : renameNoReplace(staged_, target_)) {
            placed_ = true;
            return;
        }
        if (errno == EEXIST && !replace) throw rt::RunError(thereAlready(target_));
        cannotWrite();
    }

    // Gives the target back as it was.
    void undo() {
        const QByteArray target = encoded(target_), aside = encoded(aside_);
        if (placed_ && old_ == Old::Linked) {
            std::rename(aside.constData(), target.constData());
        } else {
            if (placed_) unlink(target.constData());
            if (old_ == Old::Linked) unlink(aside.constData());
            if (old_ == Old::Moved) std::rename(aside.constData(), target.constData());
        }
        for (const QString& tail : sidesAside_)
            std::rename(encoded(aside_ + tail).constData(), encoded(target_ + tail).constData());
        old_ = Old::None;
        placed_ = false;
        sidesAside_.clear();
    }

    // The old file and its side files go for good.
    void done() {
        if (old_ != Old::None) unlink(encoded(aside_).constData());
        for (const QString& tail : sidesAside_)
            unlink(encoded(aside_ + tail).constData());
    }

private:
    // A second name keeps the target in place until the new file replaces it; where the
    // filesystem gives none, it moves aside. A folder is no file to replace.
    void keepOld() {
        const QByteArray target = encoded(target_), aside = encoded(aside_);
        if (link(target.constData(), aside.constData()) == 0) {
            old_ = Old::Linked;
        } else if (errno != ENOENT) {
            if (isFolder(target_)) cannotWrite();
            if (std::rename(target.constData(), aside.constData()) == 0)
                old_ = Old::Moved;
            else if (errno != ENOENT)
                cannotWrite();
        }
    }

    [[noreturn]] void cannotWrite() const {
        throw rt::RunError(QStringLiteral("cannot write ") + target_);
    }

    enum class Old { None, Linked, Moved };
    QString staged_, target_, aside_;
    Old old_ = Old::None;
    bool placed_ = false;
    QStringList sidesAside_;
};

} // namespace

void CreateEmptyFile(const QString& path, const QString& password) {
    ado::RequireRegularSideFiles(path);
    removeFile(path);
    // SQLite writes a database's first page only with its first change
    QStringList statements { QStringLiteral("PRAGMA user_version=0") };
    if (!password.isEmpty())
        statements
            << QStringLiteral("CREATE TABLE StandInPassword (Pwd TEXT)")
            << QStringLiteral("INSERT INTO StandInPassword VALUES (%1)").arg(Quoted(password));
    if (!runOnFile(path, statements)) throw rt::RunError(QStringLiteral("cannot create ") + path);
}

void MakeFile(const QString& path, const QString& password,
    const std::function<void(ado::Connection&)>& fill) {
    CreateEmptyFile(path, password);
    try {
        ado::Connection cn;
        OpenFile(cn, path, password);
        fill(cn);
        cn.Close();
    } catch (...) {
        removeFile(path);
        throw;
    }
}

void WriteFiles(const QStringList& targets, bool replace,
    const std::function<void(const QStringList& staged)>& build) {
    for (const QString& target : targets) {
        if (!replace && QFileInfo::exists(target)) throw rt::RunError(thereAlready(target));
        ado::RequireRegularSideFiles(target);
    }
    QStringList staged;
    for (const QString& target : targets) {
        const QFileInfo info(target);
        if (!QDir().mkpath(info.absolutePath()))
            throw rt::RunError(QStringLiteral("cannot create the folder ") + info.absolutePath());
        staged << target + QStringLiteral(".new-")
                + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    }
    std::vector<Placing> placing;
    try {
        build(staged);
        // all in place or none: a target that cannot be written gives the earlier ones back
        for (qsizetype i = 0; i < targets.size(); ++i) {
            placing.emplace_back(staged[i], targets[i]);
            placing.back().put(replace);
        }
    } catch (...) {
        for (auto p = placing.rbegin(); p != placing.rend(); ++p)
            p->undo();
        for (const QString& s : staged)
            removeFile(s);
        throw;
    }
    for (Placing& p : placing)
        p.done();
}

void OpenFile(ado::Connection& cn, const QString& path, const QString& password) {
    cn.setConnectionString(DesktopConnectionString(path, password));
    cn.Open();
}

QString Text(int n) {
    return QStringLiteral("Text(%1) COLLATE NOCASE").arg(n);
}

QString Quoted(const QString& s) {
    return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\'');
}

bool HasTable(ado::Connection& cn, const QString& table) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select name From sqlite_master Where type = 'table' And name = '%1'")
                .arg(table),
        cn);
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

void UniqueKey(ado::Connection& cn, const QString& table, const QString& column) {
    cn.Execute(QStringLiteral("CREATE UNIQUE INDEX %1_%2 ON %1 (%2)").arg(table, column));
}

void CreateTable(ado::Connection& cn, const QString& table, const std::vector<Column>& columns) {
    QStringList parts;
    for (const auto& c : columns)
        parts << c.name + QLatin1Char(' ') + c.type;
    cn.Execute(QStringLiteral("Create Table %1 (%2)").arg(table, parts.join(QStringLiteral(", "))));
}

void CreateSharedTables(ado::Connection& cn, const StoreSetup& setup) {
    CreateTable(cn, QStringLiteral("System"), { { QStringLiteral("Ver"), Text(30) } });
    cn.Execute(QStringLiteral("Insert Into System Values( '%1' )").arg(rt::Quote(setup.version)));
    CreateTable(cn, QStringLiteral("Brand"),
        { { QStringLiteral("BrandID"), QStringLiteral("Long") },
            { QStringLiteral("BrandName"), Text(50) } });
    for (const auto& b : setup.brands)
        cn.Execute(QStringLiteral("Insert Into Brand Values( %1, '%2' )")
                       .arg(b.id)
                       .arg(rt::Quote(b.name)));
    CreateTable(cn, QStringLiteral("Pta_BrandID"),
        { { QStringLiteral("BrandID"), QStringLiteral("Long") },
            { QStringLiteral("BrandCar"), Text(50) } });
    for (const auto& b : setup.ptaBrands)
        cn.Execute(QStringLiteral("Insert Into Pta_BrandID Values( %1, '%2' )")
                       .arg(b.id)
                       .arg(rt::Quote(b.name)));
    CreateTable(cn, QStringLiteral("LastID"),
        { { QStringLiteral("NameID"), Text(50) },
            { QStringLiteral("LastID"), QStringLiteral("Long") } });
    for (const auto& c : setup.counters)
        cn.Execute(QStringLiteral("Insert Into LastID Values( '%1', %2 )")
                       .arg(rt::Quote(c.first))
                       .arg(c.second));
    // The staging table must exist before a run: the run drops it unguarded.
    std::vector<Column> staging { { QStringLiteral("BrandID"), QStringLiteral("Long") },
        { QStringLiteral("PartNO"), Text(40) }, { QStringLiteral("Kind"), Text(1) } };
    for (int k = 1; k <= 5; ++k) {
        staging.push_back({ QStringLiteral("AltNO_%1").arg(k), Text(40) });
        staging.push_back({ QStringLiteral("AKind_%1").arg(k), Text(1) });
    }
    staging.push_back({ QStringLiteral("EName"), Text(40) });
    staging.push_back({ QStringLiteral("TName"), Text(60) });
    for (int k = 1; k <= 12; ++k)
        staging.push_back({ QStringLiteral("Model_%1").arg(k), Text(30) });
    staging.push_back({ QStringLiteral("Description"), Text(60) });
    staging.push_back({ QStringLiteral("Import"), Text(30) });
    staging.push_back({ QStringLiteral("Price"), QStringLiteral("Currency") });
    staging.push_back({ QStringLiteral("DisPrice"), Text(30) });
    staging.push_back({ QStringLiteral("Sale"), QStringLiteral("Currency") });
    CreateTable(cn, QStringLiteral("PriceList"), staging);
}

void CreateStore(const QString& path, const StoreSetup& setup,
    const std::function<void(ado::Connection&)>& fill) {
    MakeFile(path, setup.password, [&](ado::Connection& cn) {
        cn.BeginTrans();
        CreateSharedTables(cn, setup);
        if (fill) fill(cn);
        cn.CommitTrans();
    });
}

std::vector<Column> PriceRowTableColumns() {
    std::vector<Column> cols;
    for (const QString& name : PriceRowColumns()) {
        QString type;
        if (name == QLatin1String("Price") || name == QLatin1String("Sale"))
            type = QStringLiteral("Currency");
        else if (name == QLatin1String("Kind") || name.startsWith(QLatin1String("AKind")))
            type = Text(1);
        else if (name == QLatin1String("TName") || name == QLatin1String("Description"))
            type = Text(60);
        else if (name.startsWith(QLatin1String("Model")) || name == QLatin1String("Import")
            || name == QLatin1String("DisPrice"))
            type = Text(30);
        else if (name == QLatin1String("EName"))
            type = Text(40);
        else
            type = Text(50);
        cols.push_back({ name, type });
    }
    return cols;
}

void InsertPriceRow(ado::Connection& cn, const QString& table, const PriceRow& r) {
    cn.Execute(PriceRowInsertStatement(table, r));
}

void CreatePriceList(const QString& path, const PriceTables& tables, const QString& password) {
    MakeFile(path, password, [&](ado::Connection& cn) {
        CreateTable(cn, QStringLiteral("PriceList_Count"),
            { { QStringLiteral("Count"), QStringLiteral("Long") } });
        const auto cols = PriceRowTableColumns();
        cn.BeginTrans();
        for (const auto& [n, rows] : tables) {
            cn.Execute(QStringLiteral("Insert Into PriceList_Count Values( %1 )").arg(n));
            const QString table = QStringLiteral("PriceList_%1").arg(n);
            CreateTable(cn, table, cols);
            for (const auto& r : rows)
                InsertPriceRow(cn, table, r);
        }
        CreateTable(cn, QStringLiteral("PriceListAll"), cols);
        cn.CommitTrans();
    });
}

PriceRow MakePriceRow(const QString& kind, const QString& partNo, const QString& eName,
    const QString& tName, double price, double sale, const QStringList& altNos,
    const QString& model1) {
    PriceRow r;
    r.Kind = kind;
    r.PartNO = partNo;
    r.PartNew = partNo;
    QString f = partNo;
    f.remove(QLatin1Char(' ')).remove(QLatin1Char('/')).remove(QLatin1Char('-'));
    r.FPartNew = f;
    for (int k = 0; k < altNos.size() && k < 5; ++k)
        r.AltNO[k] = altNos[k];
    r.EName = eName;
    r.TName = tName;
    r.Model[0] = model1;
    r.Price = rt::Currency::fromDouble(price);
    r.Sale = rt::Currency::fromDouble(sale);
    return r;
}

} // namespace storekit
