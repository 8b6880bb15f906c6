// Update members of the classic store versions whose part rows differ from the standard ones:
// lookup by the squeezed number, search texts in place of the Thai sort form, their own price
// columns and discount rule; and "P.61 (Bar)", which also rewrites the rows of the match key.
#include "classic_update.h"

#include "common/mduValue.h"

namespace update {

namespace {

using Discount = ClassicRules::Discount;

const ClassicRules kSqueezedWithDiscount {
    .discount = Discount::Always,
    .bySqueezedNumber = true,
};

const ClassicRules kSearchTexts {
    .discount = Discount::Never,
    .bySqueezedNumber = true,
    .searchTexts = true,
};

ClassicRules searchTextsIn(const char* priceColumn, const char* saleColumn) {
    ClassicRules r = kSearchTexts;
    r.priceColumn = QLatin1String(priceColumn);
    r.saleColumn = QLatin1String(saleColumn);
    return r;
}

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
    static const ClassicRules rules = searchTextsIn("Price1", "Sale1");
    return run(f, v, rules);
}

int16_t UpdatePartP64(frmKordane& f, PartValues& v) {
    static const ClassicRules rules = searchTextsIn("Price", "Sale");
    return run(f, v, rules);
}

int16_t UpdatePartP65(frmKordane& f, PartValues& v) {
    return UpdatePartP64(f, v);
}

// The second phase rewrites the rows whose PartNO is the match key, of any kind, and leaves the
// key in the caller's part number; a key the store lacks is not staged.
int16_t UpdatePartP61(frmKordane& f, PartValues& v) {
    static const ClassicRules rules { .discount = Discount::Always };
    UpdateClassic(f, v, rules);
    v.PartNO = mduValue::MakeMatchKey(v.PartNO);
    const QString condition = PartCondition(QString(), QStringLiteral("PartNO"), v.PartNO);
    if (FindPart(f, condition)) RewriteParts(f, v, condition, rules);
    return 0;
}

} // namespace update
