// Placeholders: insertion members of P.43 to P.48 still to come.
#include "app/missing_members.h"

KORDANE_MISSING_INSERT(insert, InsertNewPartsP43)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP44)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP45)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP46)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP48)
