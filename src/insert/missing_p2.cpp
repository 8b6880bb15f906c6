// Placeholders: insertion members of P.49 to P.65 still to come.
#include "app/missing_members.h"

KORDANE_MISSING_INSERT(insert, InsertNewPartsP49)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP52)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP61)
KORDANE_MISSING_INSERT(insert, InsertNewPartsP64)
