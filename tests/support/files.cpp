// What a test sees of a file on disk: see files.h.
#include "files.h"

#include <QFile>

namespace testenv {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray JournalFormat(const QString& path) {
    return FileBytes(path).mid(18, 2);
}

QStringList SideFiles(const QString& path) {
    QStringList out;
    for (const char* tail : { "-wal", "-shm", "-journal" })
        if (QFile::exists(path + QLatin1String(tail))) out << path + QLatin1String(tail);
    return out;
}

} // namespace testenv
