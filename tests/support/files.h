// What a test sees of a file on disk: its bytes, and what stands beside it.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace testenv {

// The file's bytes; "<missing>" when there is no file.
QByteArray FileBytes(const QString& path);
// The side files (-wal, -shm, -journal) beside the file.
QStringList SideFiles(const QString& path);

} // namespace testenv
