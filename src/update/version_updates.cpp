// Update members of the classic store versions whose part rows differ from the standard ones:
// lookup by the squeezed number, search texts in place of the Thai sort form, their own price
// columns and discount rule; and "P.61 (Bar)", which also rewrites the rows of the match key.
#include "classic_update.h"

#include "common/mduValue.h"

namespace update {

namespace {

using Discount = ClassicRules::Discount;

// "P.48 (Bar)" and "P.49 (Bar)".
const ClassicRules kSqueezedWithDiscount {
    .discount = Discount::Always,
    .bySqueezedNumber = true,
};

// "P.45 (Bar)" rows keep their prices in Price1 and Sale1.
const ClassicRules kSearchTextsPrice1 {
    .discount = Discount::Never,
    .bySqueezedNumber = true,
    .searchTexts = true,
    .priceColumn = QStringLiteral("Price1"),
    .saleColumn = QStringLiteral("Sale1"),
};

// "P.64 (Bar)" and "P.65 (Bar)".
const ClassicRules kSearchTexts {
    .discount = Discount::Never,
    .bySqueezedNumber = true,
    .searchTexts = true,
};

const ClassicRules kP61 { .discount = Discount::Always };

int16_t run(frmKordane& f, const PartValues& v, const ClassicRules& rules) {
    UpdateClassic(f, v, rules);
    return 0;
}

} // namespace

int16_t UpdatePartP48(frmKordane& f, PartValues& v) {
    return run(f, v, kSqueezedWithDiscount);
}

int16_t UpdatePartP49(frmKordane& f, PartValues& v) {
    return run(f, v, kSqueezedWithDiscount);
}

int16_t UpdatePartP45(frmKordane& f, PartValues& v) {
    return run(f, v, kSearchTextsPrice1);
}

int16_t UpdatePartP64(frmKordane& f, PartValues& v) {
    return run(f, v, kSearchTexts);
}

int16_t UpdatePartP65(frmKordane& f, PartValues& v) {
    return UpdatePartP64(f, v);
}

// The second phase rewrites the rows whose PartNO is the match key, of any kind, and leaves the
// key in the caller's part number; a key the store lacks is not staged.
int16_t UpdatePartP61(frmKordane& f, PartValues& v) {
    UpdateClassic(f, v, kP61);
    v.PartNO = mduValue::MakeMatchKey(v.PartNO);
    const QString condition = PartCondition(QString(), QStringLiteral("PartNO"), v.PartNO);
    if (FindPart(f, condition)) RewriteParts(f, v, condition, kP61);
    return 0;
}

} // namespace update
