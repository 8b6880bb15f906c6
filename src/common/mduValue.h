// Stateless text and number helpers: squeezed part numbers, match and search keys, cleaning of
// pasted texts, Thai sort keys, padded brand keys and the joined model text.
// The rules are exact on purpose: keys stored by one run are looked up by the next.
#pragma once

#include "platform/runtime/value.h"

#include <QString>
#include <array>
#include <cstdint>

namespace mduValue {

// Part numbers and keys.
QString SqueezeText(const QString& s); // trimmed, every " ", "/" and "-" removed
QString SqueezePartNo(const QString& s); // same rule as SqueezeText
QString RemoveBlanks(const rt::Value& v); // a Null raises RunError
QString MakeMatchKey(const QString& s); // CleanText, then squeezed
QString IsuzuPartCode(const QString& s);
QString NissanPartCode(const QString& s); // NISSAN and UD
// Search code of a new classic-schema part; storeVersion is the store's version text.
QString PartSearchCode(const QString& brand, const QString& partNo, const QString& storeVersion);
QString FormatPartNo(const rt::Value& v); // Null gives ""
QString FormatPartNoV(const rt::Value& v); // "V" & FormatPartNo, or ""

// Cleaning and conversion.
QString CleanText(const QString& s);
QString CleanTextVar(rt::Value& v); // also rewrites v (left as it was when Null or blank)
QString LeadingDigitsText(const rt::Value& v);
int16_t ToInteger(const rt::Value& v); // 0 unless numeric; out of range raises overflow

// Thai sort forms; a value that is not a text gives "".
QString ThaiSortKey(const rt::Value& v); // classic schema, of the trimmed text
QString ThaiSortKeyPta(const rt::Value& v); // Pta_ schema initials, text kept untrimmed

// Table suffixes of the Pta_ schema: "" when n does not fit.
QString Pad2(int32_t n);
QString Pad3(int32_t n);

// Model_1 trimmed, then ", " & each further non-blank model trimmed, cut to 30 characters.
QString JoinModels(const std::array<QString, 12>& models);

} // namespace mduValue
