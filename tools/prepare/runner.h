// The preparation runner: parses the command line, opens the price-list database (and the store
// where the operation reads it) by the window's connection rules, runs one operation.
#pragma once

#include "prepare/operations.h"

#include <QStringList>
#include <QTextStream>

namespace prepare {

// Exit codes of the runner.
enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

// args without the program name; answers to the question are read from in. The operations are
// those of the table unless a test gives its own. With stopOnSignals (the command's own process)
// INT, TERM and HUP, and PIPE (the reader of the output gone), are caught from the first open of
// a file on: the operation stops at its next pump, its files are closed and the process ends of
// the signal, never saying it is done; before that, at the question too, they end it at once,
// nothing being open.
int RunPrepare(const QStringList& args, QTextStream& out, QTextStream& err, QTextStream& in,
    bool rewriteInPlace = false, const std::vector<Operation>& operations = Operations(),
    bool stopOnSignals = false);

} // namespace prepare
