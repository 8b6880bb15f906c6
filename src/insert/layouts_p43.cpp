// Insertion members of "P.43", "P.44 (Bar)", "P.45 (Bar)", "P.48 (Bar)" and the one member of
// "P.46 (Bar)", "P.47001 (Bar)", "P.62 (Bar)" and "D.47 (Bar)": part rows as value lists and
// the lookups by squeezed number, run by the one engine.
#include "shared_rows.h"

#include "app/members.h"

namespace insert {

namespace {

// The discount text between the list and the sale price, as the "(Bar)" versions keep it.
const char* const kDiscountPrices = "<Price>, '<DisPrice>', <Sale>, '', 0, 0, 0, True, False, ";

// Parts are found by FPartNO against the squeezed number.
Member bySqueezedNumber(const QString& mainRow) {
    Member m = MemberOfMainRow(mainRow + CommonTail());
    m.lookup = Lookup::BySqueezedNumber;
    return m;
}

} // namespace

void InsertNewPartsP43(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(CommonHead()
        + QStringLiteral(", <Price>, 0, 0, 0, <Sale>, 0, 0, 0, True, False, ") + CommonTail());
    DrainStagedParts(f, m, n);
}

void InsertNewPartsP44(frmKordane& f, int16_t& n) {
    InsertNewPartsV43(f, n);
}

// The search code (the squeezed number for this version) fills FPartNO; the number stands
// again ninth.
void InsertNewPartsP45(frmKordane& f, int16_t& n) {
    static const Member m = bySqueezedNumber(
        QStringLiteral("0, <key>, '<Kind>', '<search code>', '<PartNO>', '<AKind_1>', '<AltNO_1>', "
                       "'', '<PartNO>', '<EName>', '<Thai sort key>', '<TName>', '<Description>', "
                       "'<model text>', '', '<Import>', <Price>, 0, 0, 0, <Sale>, 0, 0, 0, 0, 0, "
                       "0, '', '', '', "));
    DrainStagedParts(f, m, n);
}

void InsertNewPartsP46(frmKordane& f, int16_t& n) {
    static const Member m = MemberOfMainRow(
        CommonHead() + QStringLiteral(", ") + QLatin1String(kDiscountPrices) + CommonTail());
    DrainStagedParts(f, m, n);
}

// The squeezed number fourth and the number twice; slot 1 is written for a negative key too.
void InsertNewPartsP48(frmKordane& f, int16_t& n) {
    static const Member m = [] {
        Member p48 = bySqueezedNumber(
            QStringLiteral("0, <key>, '<Kind>', '<squeezed>', '<PartNO>', '<PartNO>', "
                           "'<AKind_1>', '<AltNO_1>', '', '<EName>', '<Thai sort key>', "
                           "'<TName>', '<Description>', '<model text>', '', '<Import>', '', ")
            + QLatin1String(kDiscountPrices));
        p48.slot1TakesAnyNonZeroKey = true;
        return p48;
    }();
    DrainStagedParts(f, m, n);
}

} // namespace insert
