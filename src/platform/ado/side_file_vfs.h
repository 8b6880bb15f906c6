// SQLite's side files (-journal, -wal, -shm) checked where SQLite itself looks for, opens and
// removes them: a VFS over the unix one, the default of the process, so that one planted while a
// file is open (a named pipe would make the next read wait for good) ends that statement instead.
#pragma once

#include <QString>
#include <sys/types.h>

class QSqlError;

namespace ado {

// Makes the guarding VFS the process's default, once; SQLite's opens in Qt's driver go through
// it as well. Call it before the first open of a stand-in file.
void GuardSideFiles();

// The refusal of a side file: "The file '…' beside the database is a named pipe, not a regular
// file", and the like for a folder, a symbolic link, a socket or a device.
QString NotARegularSideFile(const QString& side, mode_t mode);

// The refusal the guard made last on this thread, which it forgets; empty when there is none.
QString TakeSideFileRefusal();

// The refusal behind a failure of SQLite's that a refusal ends in (it cannot open, look for or
// remove a file); empty for any other failure. Either way the refusal is forgotten.
QString SideFileRefusalBehind(const QSqlError& e);

} // namespace ado
