// What a test sees of a file on disk: see files.h.
#include "files.h"

#include "platform/ado/ado.h"
#include "storekit/storekit.h"

#include <QFile>
#include <gtest/gtest.h>

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

void SmallStore(const QString& path) {
    storekit::CreateEmptyFile(path);
    ado::Connection cn;
    storekit::OpenFile(cn, path);
    cn.Execute(QStringLiteral("Create Table T (A Long)"));
    cn.Execute(QStringLiteral("Insert Into T Values (1)"));
    cn.Close();
    ASSERT_EQ(JournalFormat(path), kRollbackJournal);
    ASSERT_EQ(SideFiles(path), QStringList());
}

} // namespace testenv
