// The phases of BuildPriceList after the sheets are built, reachable on their own for tests.
#pragma once

#include "app/frmKordane.h"
#include "platform/runtime/value.h"

#include <QStringList>
#include <cstdint>

namespace prepare {

// Rows of the work table that go to each of the tables 1 to 50; table 51 takes the rest.
constexpr int32_t kSplitChunk = 10000;
constexpr int16_t kLastSplitTable = 51;

// The statements that rid a raw sheet of Nulls, padded kind codes, rows without a part number
// and placeholder models, in the order they run.
QStringList NormalisingStatements(int16_t sheet);

// The brand's spelling of a part or replacement number, and the store's form of the number.
QString BrandPartNumber(const QString& brand, const rt::Value& value);
QString BrandPartNew(const QString& brand, const QString& partNo);

// Copies one normalised raw sheet into the work table PriceList.
void BuildWorkTableRows(frmKordane& f, int16_t sheet);
// Keeps only the highest-priced rows of each (Kind, FPartNew) of the work table.
void RemoveDuplicates(frmKordane& f);
// The numbered table of the row at 0-based position l in PartNO order.
int16_t SplitTableNumber(int32_t l, int32_t chunk = kSplitChunk);
// Moves every row of the work table into its numbered table; answers the highest table number
// it filled, 0 when the work table was empty.
int16_t SplitWorkTable(frmKordane& f, int32_t chunk = kSplitChunk);

} // namespace prepare
