// Each store version's insertion member: its rows as value lists, run by the one engine.
#include "engine.h"

#include "app/members.h"

namespace insert {

namespace {

// The 39-value part table of "V.31" and its siblings; "Ver 3.1 SQL" writes its two truth values
// as numbers, and "V.33" carries one more False.
Member v31Family(const char* truth) {
    const QString flags = QLatin1String(truth);
    const QString tail
        = QStringLiteral(", '', 0, 0, 0, 0, 0, <B>, 0, 0, '<part code>', 0, 0, 0, 0, 0, 0, 0");
    Member m;
    m.partRow = ParseRow(QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', "
                                        "'<AKind_1>', '<AltNO_1>', '', '<EName>', "
                                        "'<Thai sort key>', '<TName>', '<Description>', "
                                        "'<model text>', '', '<Import>', '', "
                                        "<Price>, 0, <Sale>, 0, ")
        + flags + tail);
    m.replacementRow = ParseRow(QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', "
                                               "'', '', '', '<EName>', "
                                               "'<Thai sort key>', '<TName>', '', "
                                               "'<model text>', '', '', '', "
                                               "<Price>, 0, <Sale>, 0, ")
        + flags + tail);
    m.codeRow = CommonCodeRow();
    return m;
}

} // namespace

void InsertNewPartsV31(frmKordane& f, int16_t& n) {
    static const Member m = v31Family("True, False");
    DrainStagedParts(f, m, n);
}

void InsertNewPartsSql31(frmKordane& f, int16_t& n) {
    static const Member m = v31Family("1, 0");
    DrainStagedParts(f, m, n);
}

void InsertNewPartsV33(frmKordane& f, int16_t& n) {
    static const Member m = v31Family("True, False, False");
    DrainStagedParts(f, m, n);
}

} // namespace insert
