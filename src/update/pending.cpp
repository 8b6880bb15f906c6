// Placeholder until the update procedures land.
#include "app/members.h"
int16_t update::UpdatePart(frmKordane&, PartValues&) {
    MissingMember("UpdatePart");
}
int16_t update::UpdatePartStd(frmKordane&, PartValues&) {
    MissingMember("UpdatePartStd");
}
void update::PurgeBlankParts(frmKordane&) {
    MissingMember("PurgeBlankParts");
}
