// Stand-ins for the runtime functions the tool calls: the file search used as an existence
// test, today's date through an injectable clock, the numeric test and 16-bit conversion.
#pragma once

#include "value.h"

#include <QDate>
#include <QString>
#include <functional>

namespace rt {

// True when a search for normal files (not hidden, not folders) matching the pattern finds one.
// The last path element may hold the wildcards * and ?; every other character, brackets
// included, stands for itself, and case counts where the file system tells it apart, so a path
// accepted here is one the desktop-database open finds. Windows-style "\" separators are taken
// as "/". A search that cannot be made (a folder that cannot be read) raises RunError.
bool FileSearchFinds(const QString& pattern);

// Today's date; tests replace the clock.
QDate Today();
void SetClock(std::function<QDate()> clock); // empty function restores the system clock

// The runtime's numeric test: a number, or a text that reads as a decimal number (blanks
// around it, a sign, a decimal point and an exponent allowed).
bool IsNumeric(const Value& v);

// Round to the nearest integer, a half to the even neighbour; range checked by the caller.
double RoundHalfEven(double x);

// The standard conversion to a 16-bit integer: a half to even; out of range raises overflow;
// a Null or a non-numeric text raises a type mismatch.
int16_t CInt(const Value& v);
int32_t CLng(const Value& v);

} // namespace rt
