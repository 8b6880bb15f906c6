// Helpers of the insertion tests: staged rows written straight into the store's queue, query
// rows as "a|b|c" lines, parts a store already has, and line lists compared readably.
#pragma once

#include "platform/ado/ado.h"
#include "storekit/classic.h"

#include <QStringList>
#include <string>
#include <utility>
#include <vector>

// Texts compared as UTF-8, so that a failure shows them.
std::vector<std::string> Std(const QStringList& lines);
#define EXPECT_LINES(actual, expected) EXPECT_EQ(Std(actual), Std(QStringList(expected)))

// A text between single quotes, as a statement holds it.
QString Quoted(const QString& s);

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

// "Select <columns> From <rest>", each row as its values joined by "|" (a Null as empty).
QStringList QueryRows(ado::Connection& cn, const QString& columns, const QString& rest);

// A part the store has, with the English name "OLD" and no rows in the store-owned tables.
storekit::ClassicPart StoredPart(int id, const char* kind, const char* partNo);
