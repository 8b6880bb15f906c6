// The classic-schema update engine. Every classic update member runs the same steps (find the
// part, stage it when the store lacks it, rewrite each matching row, confirm its prices); the
// members differ only in the rules below, so they share this one engine.
#pragma once

#include "app/members.h"

namespace update {

struct ClassicRules {
    enum class Discount {
        ByVersion, // only for the store versions whose part rows carry DisPrice
        Always,
        Never,
    };
    Discount discount = Discount::ByVersion;
    // Parts are found by the squeezed number in FPartNO (blanks, "/" and "-" removed), so a
    // price-list number matches its store row however either of them spells it.
    bool bySqueezedNumber = false;
    // Names go to the part table with their search texts EFind / TFind, not the Thai sort form.
    bool searchTexts = false;
    // Part-table columns of the list and sale price (rewrite and read-back).
    QString priceColumn = QStringLiteral("Price");
    QString saleColumn = QStringLiteral("Sale");
};

// "Where [Kind = '<trimmed kind>' And ]<column> = '<number>'" on Pta<BrandID>; the kind clause
// only when the trimmed kind is not empty.
QString PartCondition(const QString& kind, const QString& column, const QString& number);

// Opens "Select UpRec, PartID From Pta<B> <condition>" on rsLookup; true when it has a row.
bool FindPart(frmKordane& f, const QString& condition);

// Appends the row's values to the staging table and reads the staged row back; raises when the
// read-back finds nothing.
void StagePart(frmKordane& f, const PartValues& v);

// Rewrites every store row of the condition with the row's texts and prices, each row's prices
// confirmed by a read-back that raises when it finds nothing.
void RewriteParts(
    frmKordane& f, const PartValues& v, const QString& condition, const ClassicRules& rules);

// Lookup, then staging or rewrite, under the part condition of the rules.
void UpdateClassic(frmKordane& f, const PartValues& v, const ClassicRules& rules);

} // namespace update
