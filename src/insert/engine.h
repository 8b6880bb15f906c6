// The new-part insertion engine of the classic schema: one procedure that drains the brand's
// staged parts, with each store version's part row, replacement row and code row given as data.
#pragma once

#include "app/frmKordane.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace insert {

// The values a cell of a row can name. Key, Kind, Number, SearchCode, Squeezed and PartCode
// belong to the part the row describes (the staged part, or the part of replacement slot k);
// the others come from the staged row.
enum class Val {
    Key,
    Kind,
    Number,
    SearchCode,
    Squeezed,
    PartCode,
    AKind1,
    AltNO1,
    EName,
    TName,
    ThaiSortKey,
    ENameModel,
    TNameModel,
    ModelText,
    Description,
    Import,
    DisPrice,
    Price,
    Sale,
    PriceDiffers,
    BrandID,
    RunDate,
};

struct Cell {
    QString literal; // written as it stands when the cell names no value
    std::optional<Val> value;
    bool quoted = false;
};
using Row = std::vector<Cell>;

// A row from its value list as the statement spells it, values separated by ", ": a literal
// ("0", "True", "''"), a bare value "<name>" or a quoted value "'<name>'". Names: key, Kind,
// PartNO, search code, squeezed, part code, AKind_1, AltNO_1, EName, TName, Thai sort key,
// EName model, TName model, model text, Description, Import, DisPrice, Price, Sale,
// price differs, B, run date. An unknown name raises RunError.
Row ParseRow(const QString& valueList);

enum class Lookup {
    ByNumber, // PartNO, with a kind clause for the part and every slot whose kind is set
    BySqueezedNumber, // FPartNO against the squeezed number; kind clause for the part only
};

// What sets one store version's insertion apart.
struct Member {
    Row partRow; // Pta<B> row of the staged part
    Row replacementRow; // Pta<B> row of a replacement part
    Row codeRow; // Alt<B> row of either
    Lookup lookup = Lookup::ByNumber;
    // Slot 1 is written for any key but 0; everywhere else a key must be above 0.
    bool slot1TakesAnyNonZeroKey = false;
};

// "<key>, '<Kind>', '<PartNO>', <Price>": the code row most versions write.
Row CommonCodeRow();

// Drains the brand's staging queue into the store, one staged part per transaction. n is the
// number of the price-list table just walked, shown in the progress text only.
void DrainStagedParts(frmKordane& f, const Member& m, int16_t n);

} // namespace insert
