// The table of preparation operations: name, help line, whether it rewrites tables, whether it
// needs the store, and the function. The runner knows nothing else about them.
#include "operations.h"

#include "later.h"

namespace prepare {

namespace {
// An operation that fills no numbered table.
template<void (*op)(frmKordane&)> std::vector<TableRows> fillsNone(frmKordane& f) {
    op(f);
    return {};
}
} // namespace

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> table {
        { "BuildPriceList",
            "build PriceList_<n> from the raw sheets PriceNew_<n>, keeping the top price", true,
            false, [](frmKordane& f) { return UnlistedFilledTables(f, BuildPriceList(f)); } },
        { "ClearSplitPriceLists", "empty every PriceList_<n> that PriceList_Count lists", true,
            false, fillsNone<ClearSplitPriceLists> },
        { "MergeNewPriceList",
            "merge the later list PriceList_New into PriceNew_1: new prices, new parts", true,
            false, fillsNone<MergeNewPriceList> },
        { "ApplyNewPricesToSplitLists",
            "carry the prices of PriceList_New into PriceList_<n>; new parts to the last table",
            true, false, fillsNone<ApplyNewPricesToSplitLists> },
        { "FixFordPartNumbers", "FORD: squeeze PartNO and AltNO_1..5 of every PriceNew_<n>", true,
            false, fillsNone<FixFordPartNumbers> },
        { "MergeLastFordPriceList",
            "FORD: clean PriceLast_<n> and merge it into PriceNew_1 by squeezed part number", true,
            false, fillsNone<MergeLastFordPriceList> },
        { "NormaliseIsuzuKinds", "ISUZU: kinds 0.00 and 1.00 become 0 and 1 in every PriceNew_<n>",
            true, false, fillsNone<NormaliseIsuzuKinds> },
        { "DropShortIsuzuPartNumbers",
            "ISUZU: delete rows and clear replacements whose part number is under 10 characters",
            true, false, fillsNone<DropShortIsuzuPartNumbers> },
        { "FillIsuzuKinds", "ISUZU: fill empty Kind and AKind_1 from the store's parts, else 0",
            true, true, fillsNone<FillIsuzuKinds> },
        { "SplitAlternateNumbers",
            "ISUZU: clear replacement kinds and cut comma lists in AltNO_1 into AltNO_1..5", true,
            false, fillsNone<SplitAlternateNumbers> },
        { "FixKindCodes",
            "cut Kind and AKind_1..5 to one character in the PriceNew_<n> that "
            "PriceList_Count lists",
            true, false, fillsNone<FixKindCodes> },
        { "ClearUnknownThaiNames", "PriceNew_1: clear TName values that are four question marks",
            true, false, fillsNone<ClearUnknownThaiNames> },
        { "FixEnglishNames",
            "PriceNew_1: clear misread Thai EName values, then copy EName into TName", true, false,
            fillsNone<FixEnglishNames> },
        { "ClearDotModels", "PriceNew_1: clear models that are a single '.'", true, false,
            fillsNone<ClearDotModels> },
        { "NormaliseKindValues", "PriceNew_1: Null kinds become 0, 0.00 and 1.00 become 0 and 1",
            true, false, fillsNone<NormaliseKindValues> },
        { "ClearLatinThaiNames", "PriceNew_1: clear TName values that begin with Latin text", true,
            false, fillsNone<ClearLatinThaiNames> },
        { "FixHondaPartNumbers",
            "HONDA: fill PartNew with the store's spelling of each part number, FPartNO squeezed",
            true, true, fillsNone<FixHondaPartNumbers> },
    };
    return table;
}

} // namespace prepare
