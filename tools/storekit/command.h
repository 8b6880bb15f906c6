// The storekit command: its arguments read, the files written, what it did or why not told.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace storekit {

// The command line after the program's name. Exit status: 0 written (or the help shown), 1 a
// file could not be written (or is there already and --replace was not given), 2 a usage error
// (nothing written).
int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace storekit
