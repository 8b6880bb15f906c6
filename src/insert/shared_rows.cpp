// Shared pieces of the classic part rows: see shared_rows.h.
#include "shared_rows.h"

namespace insert {

QString CommonHead() {
    return QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', '<AKind_1>', "
                          "'<AltNO_1>', '', '<EName>', '<Thai sort key>', '<TName>', "
                          "'<Description>', '<model text>', '', '<Import>', ''");
}

QString CommonTail() {
    return QStringLiteral("'', 0, 0, 0, 0, 0, <B>, 0, 0, '<part code>', 0, 0, 0, 0, 0, 0, 0");
}

Row ReplacementRowOf(Row mainRow) {
    for (Cell& c : mainRow) {
        if (c.value == Val::AKind1 || c.value == Val::AltNO1 || c.value == Val::Description
            || c.value == Val::Import)
            c = Cell { QStringLiteral("''"), std::nullopt, false };
    }
    return mainRow;
}

Member MemberOfMainRow(const QString& mainRow) {
    Member m;
    m.partRow = ParseRow(mainRow);
    m.replacementRow = ReplacementRowOf(m.partRow);
    m.codeRow = CommonCodeRow();
    return m;
}

} // namespace insert
