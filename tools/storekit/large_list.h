// Large stores and price lists for trying the tool and for the benchmark: a store with many
// parts, and a price list whose rows partly match them and partly bring new parts with
// replacement numbers.
#pragma once

#include "storekit.h"

#include <cstdint>

namespace storekit {

struct KindNumber {
    QString kind, number;
};

// A store of any version with `parts` existing parts of the brand "VURE" (keys from 1, kind
// "0"); a Pta_ store keeps each number as "<number>-0" and gets the key indexes of a real store.
// Written as WriteFiles writes: a file at path is refused unless replace.
void CreateLargeStore(
    const QString& path, const QString& version, int brandId, int parts, bool replace = false);

// Empty when version is one of the store versions; else a message naming it and them.
QString UnknownVersion(const QString& version);

// The brand's part table in a store of the version ("Pta<key>", or "Pta_<suffix>").
QString PartTable(const QString& version, int brandId);

// Kind and number of every part of the brand in a store file of either schema, in key order; a
// list row of that kind and number is the part for the store's lookups.
std::vector<KindNumber> StoreParts(const QString& storePath, int brandId);

struct LargeListShape {
    int rows = 1000;
    double newShare = 0.5; // share of rows that bring a part the store lacks
    int altsPerNew = 1; // replacement numbers of each new part (0 to 5)
    int tableRows = 10000; // rows of each numbered table
};

// What CreateLargePriceList wrote.
struct LargeListSummary {
    int tables = 0, matching = 0, fresh = 0;
};

// A price list of shape.rows rows in numbered tables of shape.tableRows: rows that are not new
// take the parts of `like` in turn (new prices); new rows get numbers the store lacks and
// their replacement numbers (empty kind, so each is also sent on as a part of its own).
// Rows are written one by one: memory does not grow with the list.
LargeListSummary CreateLargePriceList(const QString& path, const LargeListShape& shape,
    const std::vector<KindNumber>& like, bool replace = false);

// What is wrong with the parts a run inserted into a store (keys above firstNewKey - 1): each
// needs its code row (classic) or price row (Pta_) and a group row, the part-key counter must
// cover it, and no part may be there twice (kind and number; the match key in Pta_). Empty when
// every part is whole. The schema follows the version the store records.
QStringList IncompleteParts(const QString& storePath, int brandId, int firstNewKey);

// The numbers of a large list (rows and replacement numbers) that the store lacks (in a Pta_
// store: no part of their match key).
QStringList MissingListParts(const QString& storePath, const QString& listPath, int brandId);

} // namespace storekit
