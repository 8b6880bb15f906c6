// How a failed assertion shows a QString: as its text. Every test file is compiled with this
// header first (see CMakeLists.txt), so that the printer is the one found wherever an assertion
// on texts is compiled, and the linker cannot keep a copy of the printer that shows bytes.
#pragma once

#include <QString>
#include <ostream>

void PrintTo(const QString& s, std::ostream* os);
