// FreeTDS's settings: which TDS version a login goes out with. FreeTDS left to choose the protocol
// tries a second one once the first has timed out, and that one waits without any bound; with the
// version it tries first fixed, the login ends within its timeout. A version the user set stands.
#include "freetds_settings.h"

#include "ado.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <optional>

namespace ado {

bool NamesTdsVersion(const QByteArray& v) {
    static const char* const names[]
        = { "4.2", "50", "5.0", "70", "7.0", "7.1", "7.2", "7.3", "7.4", "8.0" };
    for (const char* name : names)
        if (v == name) return true;
    return false;
}

// Lines read as FreeTDS reads them: blanks collapsed, names in lower case, a value ending at ';'
// or '#'.
QByteArray TdsVersionInConfFile(const QString& path, const QByteArray& server) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray section, global, own;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line[0] == ';' || line[0] == '#') continue;
        const qsizetype eq = line.indexOf('=');
        const QByteArray name = (eq < 0 ? line : line.left(eq)).simplified().toLower();
        if (name.startsWith('[')) {
            section = name.mid(1, name.indexOf(']') - 1);
            continue;
        }
        if (eq < 0 || name != "tds version") continue;
        QByteArray value = line.mid(eq + 1);
        for (char stop : { ';', '#' })
            if (qsizetype at = value.indexOf(stop); at >= 0) value.truncate(at);
        value = value.simplified();
        if (section == "global")
            global = value;
        else if (section == server)
            own = value;
    }
    return own.isEmpty() ? global : own;
}

QStringList FreeTdsConfFiles() {
    QStringList files;
    if (qEnvironmentVariableIsSet("FREETDSCONF")) files << qEnvironmentVariable("FREETDSCONF");
    if (qEnvironmentVariableIsSet("FREETDS"))
        files << qEnvironmentVariable("FREETDS") + QStringLiteral("/etc/freetds.conf");
    files << QDir::homePath() + QStringLiteral("/.config/freetds.conf")
          << QDir::homePath() + QStringLiteral("/.freetds.conf")
          << QStringLiteral("/etc/freetds/freetds.conf");
    return files;
}

// FreeTDS's ODBC driver reads these files only for a server named there, never for server= as
// the store's string gives it, so a version found there is passed on through TDSVER.
QByteArray TdsVersionInFreeTdsConf(const QString& server) {
    // the section is the host, without port or instance
    QString host = server;
    if (qsizetype cut = host.indexOf(QRegularExpression(QStringLiteral("[,\\\\]"))); cut >= 0)
        host.truncate(cut);
    const QByteArray section = host.toUtf8().toLower();
    for (const QString& file : FreeTdsConfFiles()) {
        const QByteArray version = TdsVersionInConfFile(file, section);
        if (NamesTdsVersion(version)) return version;
    }
    return {};
}

// A version in TDSVER, in the connection string (which TDSVER would override) or in freetds.conf
// stands. The settings are read again at every open, so what this layer put in TDSVER is its own
// to change.
void SettleTdsVersion(const QString& connectionString) {
    static std::optional<QByteArray> ours;
    if (qEnvironmentVariableIsSet("TDSVER") && (!ours || qgetenv("TDSVER") != *ours)) return;
    const auto attrs = ParseConnectionString(connectionString);
    const auto given = attrs.find(QStringLiteral("tds_version"));
    QByteArray version;
    if (given == attrs.end() || !NamesTdsVersion(given->second.toUtf8())) {
        const auto server = attrs.find(QStringLiteral("server"));
        version = TdsVersionInFreeTdsConf(server == attrs.end() ? QString() : server->second);
        if (version.isEmpty()) version = "7.4";
    }
    if (version.isEmpty())
        qunsetenv("TDSVER");
    else
        qputenv("TDSVER", version);
    ours = version;
}

} // namespace ado
