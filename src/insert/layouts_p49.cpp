// Insertion members of "P.49 (Bar)", "P.52", "P.61 (Bar)" and "P.64 (Bar)" / "P.65 (Bar)": their
// rows as value lists, run by the one engine.
#include "engine.h"
#include "shared_rows.h"

#include "app/members.h"

namespace insert {

namespace {

// Names with their Thai sort key, then the texts and prices that every part row of the staged
// row carries ("P.49 (Bar)", "P.61 (Bar)").
const QString kSortedNames = QStringLiteral(
    "'<EName>', '<Thai sort key>', '<TName>', '<Description>', '<model text>', '', '<Import>', "
    "'', <Price>, '<DisPrice>', <Sale>");
// Each name beside its name-plus-model text, the texts and the prices ("P.52", "P.64 (Bar)").
const QString kNamesWithModel = QStringLiteral(
    "'<EName model>', '<EName>', '<TName model>', '<TName>', '<Description>', '<model text>', "
    "'', '<Import>', <Price>, 0, <Sale>, 0, 0, '', 0, 0, 0, 0");

Member member(const QString& partRow, Lookup lookup, const Row& codeRow = CommonCodeRow()) {
    Member m = MemberOfMainRow(partRow);
    m.codeRow = codeRow;
    m.lookup = lookup;
    return m;
}

} // namespace

void InsertNewPartsP52(frmKordane& f, int16_t& n) {
    static const Member m
        = member(QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', '<AKind_1>', "
                                "'<AltNO_1>', '', ")
                + kNamesWithModel
                + QStringLiteral(", '', 0, <B>, 0, 0, '<part code>', 0, 0, 0, 0, 0, 0"),
            Lookup::ByNumber);
    DrainStagedParts(f, m, n);
}

void InsertNewPartsP61(frmKordane& f, int16_t& n) {
    static const Member m = member(
        QStringLiteral(
            "0, <key>, '<Kind>', '<squeezed>', '<PartNO>', '<AKind_1>', '<AltNO_1>', '', ")
            + kSortedNames
            + QStringLiteral(", '', 0, 0, 0, 1, 0, '', 0, 0, 0, 0, 0, <B>, 0, 0, '<part code>', "
                             "0, 0, 0, 0, 0, 0, 0"),
        Lookup::ByNumber);
    DrainStagedParts(f, m, n);
}

// "P.64 (Bar)" and "P.65 (Bar)": their search code is the squeezed number.
void InsertNewPartsP64(frmKordane& f, int16_t& n) {
    static const Member m
        = member(QStringLiteral("0, 0, <key>, '<Kind>', '<search code>', '<PartNO>', '<AKind_1>', "
                                "'<AltNO_1>', '', '<PartNO>', ")
                + kNamesWithModel + QStringLiteral(", 0, '', '', 0, 0, 0, '', ''"),
            Lookup::BySqueezedNumber);
    DrainStagedParts(f, m, n);
}

// Every replacement row begins with 0, as the staged part's row does: the value is the same
// column in all of them.
void InsertNewPartsP49(frmKordane& f, int16_t& n) {
    static const Member m = member(
        QStringLiteral("0, <key>, '<Kind>', '<squeezed>', '<PartNO>', '<PartNO>', '<AKind_1>', "
                       "'<AltNO_1>', '', ")
            + kSortedNames + QStringLiteral(", '', '', 1, 0, 0, 0, 0"),
        Lookup::BySqueezedNumber,
        ParseRow(QStringLiteral("<key>, 1, '<Kind>', '<PartNO>', <Price>, <Sale>")));
    DrainStagedParts(f, m, n);
}

} // namespace insert
