// Insertion members of "V.34", "V.42", "V.43", "V.45" and "V.46 (Bar)": their part rows as value
// lists, run by the one engine.
#include "shared_rows.h"

#include "app/members.h"

namespace insert {

namespace {

// The common head and tail around a version's amounts, zeros and truth values.
QString rowWith(const char* prices) {
    return CommonHead() + QStringLiteral(", ") + QLatin1String(prices) + QStringLiteral(", ")
        + CommonTail();
}

} // namespace

// Position 24 marks the staged part's own row; position 25 tells whether its prices differ.
void InsertNewPartsV34(frmKordane& f, int16_t& n) {
    static const Member m = [] {
        Member v34 = MemberOfMainRow(rowWith("<Price>, 0, <Sale>, 0, 0, 0, 0, 1, <price differs>"));
        v34.replacementRow = ReplacementRowOf(
            ParseRow(rowWith("<Price>, 0, <Sale>, 0, 0, 0, 0, 0, <price differs>")));
        return v34;
    }();
    DrainStagedParts(f, m, n);
}

void InsertNewPartsV42(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(rowWith("<Price>, 0, <Sale>, 0, 0, 0, True, False"));
    DrainStagedParts(f, m, n);
}

// "P.44 (Bar)" inserts exactly the same rows.
void InsertNewPartsV43(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(rowWith("<Price>, 0, <Sale>, 0, 0, 0, 0, True, False"));
    DrainStagedParts(f, m, n);
}

// An empty cell after the Thai name; the model text comes before the description.
void InsertNewPartsV45(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(
        QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', '<AKind_1>', '<AltNO_1>', "
                       "'', '<EName>', '<Thai sort key>', '<TName>', '', '<model text>', "
                       "'<Description>', '', '<Import>', '', <Price>, 0, <Sale>, 0, True, False, ")
        + CommonTail());
    DrainStagedParts(f, m, n);
}

// Every row of one call carries the date the call started on.
void InsertNewPartsV46(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(
        rowWith("<Price>, 0, <Sale>, 0, True, False, ''") + QStringLiteral(", <run date>"));
    DrainStagedParts(f, m, n);
}

} // namespace insert
