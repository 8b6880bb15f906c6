// Column pieces that the classic part tables of most versions share.
#pragma once

#include "storekit.h"

#include <initializer_list>

namespace storekit::cols {

Column L(const char* name); // 32-bit integer
Column C(const char* name); // currency
Column B(const char* name); // truth value
Column T(const char* name, int length); // text of at most length characters

// UpRec ... Unit: the sixteen columns before the list price in most versions.
std::vector<Column> Head();
// Note ... N7: the seventeen columns that end every part table.
std::vector<Column> Tail();

// The pieces one after another.
std::vector<Column> Join(std::initializer_list<std::vector<Column>> pieces);

} // namespace storekit::cols
