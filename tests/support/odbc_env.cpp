// Test-local ODBC driver registration and temporary folders.
#include "odbc_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace testenv {

namespace {
std::vector<std::unique_ptr<QTemporaryDir>>& dirs() {
    static std::vector<std::unique_ptr<QTemporaryDir>> d;
    return d;
}
} // namespace

QString TempDir() {
    dirs().push_back(std::make_unique<QTemporaryDir>());
    return dirs().back()->path();
}

void RegisterSqlServerDriver() {
    static bool done = false;
    if (done) return;
    done = true;
    QString dir = TempDir();
    QString lib;
    for (const char* p : { "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so",
             "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so",
             "/usr/lib/odbc/libsqlite3odbc.so" })
        if (QFile::exists(QString::fromLatin1(p))) lib = QString::fromLatin1(p);
    QFile ini(dir + QStringLiteral("/odbcinst.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[SQL Server]\nDescription=stand-in\nDriver=%1\nSetup=%1\n"
                             "Threading=2\n")
                  .arg(lib)
                  .toUtf8());
    ini.close();
    QFile odbcIni(dir + QStringLiteral("/odbc.ini"));
    odbcIni.open(QIODevice::WriteOnly);
    odbcIni.close();
    qputenv("ODBCSYSINI", dir.toLocal8Bit());
    qputenv("ODBCINSTINI", "odbcinst.ini");
    qputenv("ODBCINI", (dir + QStringLiteral("/odbc.ini")).toLocal8Bit());
}

QString SqlServerConnectionString(const QString& sqlitePath) {
    RegisterSqlServerDriver();
    return QStringLiteral("driver={SQL Server};server=localhost;uid=sa;pwd=secret;database=")
        + sqlitePath + QStringLiteral(";");
}

} // namespace testenv
