// Helpers of the insertion tests: staged rows written straight into the store's queue, query
// rows as "a|b|c" lines and parts a store already has.
#pragma once

#include "platform/ado/ado.h"
#include "storekit/classic.h"
#include "support/lines.h"

#include <QStringList>
#include <utility>
#include <vector>

// A staged row; price, disPrice and sale are statement texts, so "Null" stands for a Null.
struct Staged {
    QString kind {}, partNo {};
    std::vector<std::pair<QString, QString>> alts {}; // kind and number of slots 1, 2, ...
    QString eName {}, tName {};
    QStringList models {};
    QString description {}, import {};
    QString price = QStringLiteral("0"), disPrice = QStringLiteral("''"),
            sale = QStringLiteral("0");
};
// Appends the row to the store's staging table under the brand.
void StageRow(ado::Connection& cn, int brandId, const Staged& s);
// An index on the staging table's numbers, as the run's own staging table has: rows of one
// number then come in the order staged.
void IndexStaging(ado::Connection& cn);

// "Select <columns> From <rest>", each row as its values joined by "|" (a Null as empty).
QStringList QueryRows(ado::Connection& cn, const QString& columns, const QString& rest);

// A part the store has, with the English name "OLD" and no rows in the store-owned tables.
storekit::ClassicPart StoredPart(int id, const char* kind, const char* partNo);
