// The update dispatch by store version, and the standard update of every classic store version
// without a member of its own.
#include "classic_update.h"

#include "platform/runtime/text.h"

#include <utility>

namespace update {

int16_t UpdatePart(frmKordane& f, PartValues& v) {
    using Member = int16_t (*)(frmKordane&, PartValues&);
    static const std::pair<const char*, Member> members[] = {
        { "P.45 (Bar)", UpdatePartP45 },
        { "P.48 (Bar)", UpdatePartP48 },
        { "P.49 (Bar)", UpdatePartP49 },
        { "P.61 (Bar)", UpdatePartP61 },
        { "P.64 (Bar)", UpdatePartP64 },
        { "P.65 (Bar)", UpdatePartP65 },
        { "P.66 (Bar)", pta::UpdatePartP66 },
        { "P.68 (Bar)", pta::UpdatePartP68 },
    };
    const QString version = rt::Trim(f.mStoreVersion);
    for (const auto& [text, member] : members)
        if (version == QLatin1String(text)) return member(f, v);
    return UpdatePartStd(f, v);
}

int16_t UpdatePartStd(frmKordane& f, PartValues& v) {
    UpdateClassic(f, v, ClassicRules {});
    return 0;
}

} // namespace update
