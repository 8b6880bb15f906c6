// The Pta_ schema ("P.66 (Bar)", "P.68 (Bar)"): table suffixes, name keys and the links of a
// part to vehicle models, shared by the update and the insertion of that schema.
#pragma once

#include "app/members.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace pta {

// The FPartNO of a number and its kind: the key under which the schema writes a part and
// finds it again.
QString NumberKey(const QString& number, const QString& kind);

// Reads of one query: whether it gives a row, and the first row's value of a column (none
// when it gives no row). The recordset is closed again either way.
bool HasRow(frmKordane& f, ado::Recordset& rs, const QString& statement);
std::optional<int32_t> FirstValue(frmKordane& f, const QString& statement, const QString& column);
// The first row's value of a column of the open rsLookup, which is closed after the read.
int32_t TakeValue(frmKordane& f, const QString& column);

// The Pta_ table suffix of a brand key: two digits for "P.66 (Bar)", three for "P.68 (Bar)".
// Raises when the key does not fit, before any table is named by it.
QString TableSuffix(int32_t brandId, int digits);

// The key of an English or Thai name: "ENameID" / "TNameID" of a row of Pta_<sfx> whose
// "FEName" / "FTName" holds the name's match key, else the next value of the counter of that
// name (0 when the allocation fails).
enum class NameKind { English, Thai };
int32_t NameKey(frmKordane& f, const QString& sfx, NameKind kind, const QString& name);
// The initial stored beside a name: the first character of its Thai sort form.
QString NameInitial(const QString& name);

// Vehicle-model links of a part: each filled model found or added in Pta_ModelID and linked in
// Pta_BrandCar; placeholder links when the part names no model. Returns 0.
int16_t LinkCarModels(frmKordane& f, int32_t partId, const std::array<QString, 12>& models);
// 1 with rsLookup left open on the model row of the brand-and-model text, else 0 (closed).
int16_t FindModelID(frmKordane& f, const QString& brandModel);
// 1 when the part is linked to the model under the brand; rsLookup closed either way.
int16_t HasBrandCarLink(frmKordane& f, int32_t partId, int32_t brandId, int32_t modelId);
// One model, also paired in Pta_Model; the caller's text becomes its cleaned form. Returns 0.
int16_t LinkCarModel(frmKordane& f, int32_t partId, QString& model);

} // namespace pta
