// Placeholders: update members still to come.
#include "app/missing_members.h"

KORDANE_MISSING_UPDATE(update, UpdatePartP45)
KORDANE_MISSING_UPDATE(update, UpdatePartP48)
KORDANE_MISSING_UPDATE(update, UpdatePartP49)
KORDANE_MISSING_UPDATE(update, UpdatePartP61)
KORDANE_MISSING_UPDATE(update, UpdatePartP64)
KORDANE_MISSING_UPDATE(update, UpdatePartP65)
