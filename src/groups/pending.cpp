// Placeholder until the group procedures land.
#include "app/members.h"
int16_t groups::RebuildAltGroup(
    frmKordane&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&) {
    MissingMember("RebuildAltGroup");
}
void groups::ReorganizeAltGroups(frmKordane&) {
    MissingMember("ReorganizeAltGroups");
}
int32_t NextKey(frmKordane&, const QString&) {
    MissingMember("NextKey");
}
int32_t NextKeySql(frmKordane&, const QString&) {
    MissingMember("NextKeySql");
}
int32_t NextKeyAccess(frmKordane&, const QString&) {
    MissingMember("NextKeyAccess");
}
