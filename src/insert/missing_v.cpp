// Placeholders: insertion members of the later "V." versions still to come.
#include "app/missing_members.h"

KORDANE_MISSING_INSERT(insert, InsertNewPartsV34)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV42)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV43)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV45)
KORDANE_MISSING_INSERT(insert, InsertNewPartsV46)
