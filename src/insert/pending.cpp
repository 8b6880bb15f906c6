// Placeholder until the insertion engine lands.
#include "app/members.h"
void insert::InsertNewPartsSql31(frmKordane&, int16_t&) {
    MissingMember("InsertNewPartsSql31");
}
void insert::InsertNewPartsV31(frmKordane&, int16_t&) {
    MissingMember("InsertNewPartsV31");
}
void insert::InsertNewPartsV33(frmKordane&, int16_t&) {
    MissingMember("InsertNewPartsV33");
}
