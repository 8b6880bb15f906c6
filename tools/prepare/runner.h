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
// those of the table unless a test gives its own.
int RunPrepare(const QStringList& args, QTextStream& out, QTextStream& err, QTextStream& in,
    bool rewriteInPlace = false, const std::vector<Operation>& operations = Operations());

} // namespace prepare
