// The registry of this process's open connections and the files they have open.
#include "open_connections.h"

#include <QString>
#include <vector>

namespace ado {

namespace {

struct OpenConnection {
    Connection* connection;
    QString file;
};
std::vector<OpenConnection>& openConnections() {
    static std::vector<OpenConnection> open;
    return open;
}

} // namespace

void RegisterOpen(Connection* connection, const QString& file) {
    openConnections().push_back({ connection, file });
}

void ForgetOpen(const Connection* connection) {
    std::erase_if(openConnections(),
        [connection](const OpenConnection& c) { return c.connection == connection; });
}

std::vector<Connection*> OpenConnections() {
    std::vector<Connection*> out;
    for (const OpenConnection& c : openConnections())
        out.push_back(c.connection);
    return out;
}

Connection* OtherConnectionOn(const QString& file, const Connection* self) {
    for (const OpenConnection& c : openConnections())
        if (c.connection != self && !file.isEmpty() && c.file == file) return c.connection;
    return nullptr;
}

} // namespace ado
