// The error of a member whose store version is not built yet.
#include "members.h"

void MissingMember(const char* name) {
    throw rt::RunError(
        QStringLiteral("%1 is not available in this build").arg(QLatin1String(name)));
}
