// The table of preparation operations: name, help line, whether it rewrites tables, whether it
// needs the store, and the function. The runner knows nothing else about them.
#include "operations.h"

#include "later.h"

namespace prepare {

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> table {
        { "BuildPriceList",
            "build PriceList_<n> from the raw sheets PriceNew_<n>, keeping the top price", true,
            false, nullptr, [](frmKordane& f) { return BuildPriceList(f); } },
        { "ClearSplitPriceLists", "empty every PriceList_<n> that PriceList_Count lists", true,
            false, ClearSplitPriceLists },
        { "MergeNewPriceList",
            "merge the later list PriceList_New into PriceNew_1: new prices, new parts", true,
            false, MergeNewPriceList },
        { "ApplyNewPricesToSplitLists",
            "carry the prices of PriceList_New into PriceList_<n>; new parts to the last table",
            true, false, ApplyNewPricesToSplitLists },
        { "FixFordPartNumbers", "FORD: squeeze PartNO and AltNO_1..5 of every PriceNew_<n>", true,
            false, FixFordPartNumbers },
        { "MergeLastFordPriceList",
            "FORD: clean PriceLast_<n> and merge it into PriceNew_1 by squeezed part number", true,
            false, MergeLastFordPriceList },
        { "NormaliseIsuzuKinds", "ISUZU: kinds 0.00 and 1.00 become 0 and 1 in every PriceNew_<n>",
            true, false, NormaliseIsuzuKinds },
        { "DropShortIsuzuPartNumbers",
            "ISUZU: delete rows and clear replacements whose part number is under 10 characters",
            true, false, DropShortIsuzuPartNumbers },
        { "FillIsuzuKinds", "ISUZU: fill empty Kind and AKind_1 from the store's parts, else 0",
            true, true, FillIsuzuKinds },
        { "SplitAlternateNumbers",
            "ISUZU: clear replacement kinds and cut comma lists in AltNO_1 into AltNO_1..5", true,
            false, SplitAlternateNumbers },
        { "FixKindCodes",
            "cut Kind and AKind_1..5 to one character in the PriceNew_<n> that "
            "PriceList_Count lists",
            true, false, FixKindCodes },
        { "ClearUnknownThaiNames", "PriceNew_1: clear TName values that are four question marks",
            true, false, ClearUnknownThaiNames },
        { "FixEnglishNames",
            "PriceNew_1: clear misread Thai EName values, then copy EName into TName", true, false,
            FixEnglishNames },
        { "ClearDotModels", "PriceNew_1: clear models that are a single '.'", true, false,
            ClearDotModels },
        { "NormaliseKindValues", "PriceNew_1: Null kinds become 0, 0.00 and 1.00 become 0 and 1",
            true, false, NormaliseKindValues },
        { "ClearLatinThaiNames", "PriceNew_1: clear TName values that begin with Latin text", true,
            false, ClearLatinThaiNames },
        { "FixHondaPartNumbers",
            "HONDA: fill PartNew with the store's spelling of each part number, FPartNO squeezed",
            true, true, FixHondaPartNumbers },
    };
    return table;
}

} // namespace prepare
