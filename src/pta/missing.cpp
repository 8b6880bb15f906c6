// Placeholders: Pta_ schema members still to come.
#include "app/missing_members.h"

KORDANE_MISSING_UPDATE(pta, UpdatePartP66)
KORDANE_MISSING_UPDATE(pta, UpdatePartP68)
KORDANE_MISSING_INSERT(pta, InsertNewPartsP66)
KORDANE_MISSING_INSERT(pta, InsertNewPartsP68)
