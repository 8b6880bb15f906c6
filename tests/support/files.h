// What a test sees of a file on disk: its bytes, and what stands beside it; a small store.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace testenv {

// The file's bytes; "<missing>" when there is no file.
QByteArray FileBytes(const QString& path);
// The file's format bytes 18 and 19: kRollbackJournal or kWal.
QByteArray JournalFormat(const QString& path);
inline const QByteArray kRollbackJournal("\x01\x01", 2);
inline const QByteArray kWal("\x02\x02", 2);
// The side files (-wal, -shm, -journal) beside the file.
QStringList SideFiles(const QString& path);

// A store with one table T of one row, A = 1, at rest in the rollback-journal mode, nothing
// beside it.
void SmallStore(const QString& path);

} // namespace testenv
