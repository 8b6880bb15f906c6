// Members of store versions not built yet. Each ends the run with an error naming it; a run
// against such a store never passes silently.
#include "members.h"

void MissingMember(const char* name) {
    throw rt::RunError(
        QStringLiteral("%1 is not available in this build").arg(QLatin1String(name)));
}

#define KORDANE_MISSING_UPDATE(ns, fn)                                                             \
    int16_t ns::fn(frmKordane&, PartValues&) {                                                     \
        MissingMember(#fn);                                                                        \
    }
#define KORDANE_MISSING_INSERT(ns, fn)                                                             \
    void ns::fn(frmKordane&, int16_t&) {                                                           \
        MissingMember(#fn);                                                                        \
    }

KORDANE_MISSING_UPDATE(update, UpdatePartP45)
KORDANE_MISSING_UPDATE(update, UpdatePartP48)
KORDANE_MISSING_UPDATE(update, UpdatePartP49)
KORDANE_MISSING_UPDATE(update, UpdatePartP61)
KORDANE_MISSING_UPDATE(update, UpdatePartP64)
KORDANE_MISSING_UPDATE(update, UpdatePartP65)
KORDANE_MISSING_UPDATE(pta, UpdatePartP66)
KORDANE_MISSING_UPDATE(pta, UpdatePartP68)
KORDANE_MISSING_INSERT(pta, InsertNewPartsP66)
KORDANE_MISSING_INSERT(pta, InsertNewPartsP68)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV34)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV42)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV43)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV45)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV46)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP43)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP44)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP45)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP46)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP48)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP49)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP52)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP61)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP64)
