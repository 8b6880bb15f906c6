// Texts in test assertions: line lists compared as UTF-8, so that a failure shows them;
// test-name suffixes.
#pragma once

#include "qstring_print.h"

#include <QStringList>
#include <ostream>
#include <string>
#include <vector>

namespace testenv {

std::vector<std::string> Std(const QStringList& lines);
// A store version (and "_Odbc" for the SQL server) as a test-name suffix: "V.33" -> "V_33".
std::string ParamName(const char* version, bool odbc = false);

} // namespace testenv

#define EXPECT_LINES(actual, ...)                                                                  \
    EXPECT_EQ(testenv::Std(actual), testenv::Std(QStringList(__VA_ARGS__)))
