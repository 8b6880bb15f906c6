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
// Where Debian puts an ODBC driver's library on this machine.
QString driverLibrary(const char* file) {
    for (const char* dir : { "/usr/lib/x86_64-linux-gnu/odbc/", "/usr/lib/aarch64-linux-gnu/odbc/",
             "/usr/lib/odbc/" }) {
        const QString path = QString::fromLatin1(dir) + QString::fromLatin1(file);
        if (QFile::exists(path)) return path;
    }
    return {};
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
    const QString lib = driverLibrary("libsqlite3odbc.so");
    const QString tds = driverLibrary("libtdsodbc.so");
    QFile ini(dir + QStringLiteral("/odbcinst.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write(QStringLiteral("[SQL Server]\nDescription=stand-in\nDriver=%1\nSetup=%1\n"
                             "Threading=2\n\n[FreeTDS stand-in]\nDriver=%2\n")
                  .arg(lib, tds)
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
