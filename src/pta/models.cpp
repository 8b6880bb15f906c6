// Links of a part to vehicle models: Pta_ModelID (one row per brand and model), Pta_BrandCar
// (part, brand, model) and Pta_Model (part, model). Rows are only ever added.
#include "pta.h"

#include "common/mduValue.h"
#include "platform/runtime/text.h"

namespace pta {

namespace {

QString num(int32_t v) {
    return QString::number(v);
}

QString quoted(const QString& s) {
    return QLatin1Char('\'') + rt::Quote(s) + QLatin1Char('\'');
}

// A model that squeezes to nothing names no model: linking it would add a model row whose
// match key is empty, shared by every such text.
bool namesModel(const QString& model) {
    return !mduValue::MakeMatchKey(model).isEmpty();
}

void insertModelRow(frmKordane& f, int32_t modelId, const QString& model) {
    f.Execute(f.cnStore(),
        QStringLiteral("Insert Into Pta_ModelID Values( 0, ") + num(f.mBrandID)
            + QStringLiteral(", ") + num(modelId) + QStringLiteral(", ")
            + quoted(f.mBrandName + model) + QStringLiteral(", ")
            + quoted(mduValue::MakeMatchKey(model)) + QStringLiteral(", ") + quoted(model)
            + QStringLiteral(", '', 0 )"));
}

void insertLinkRow(frmKordane& f, int32_t partId, int32_t modelId, const QString& model) {
    f.Execute(f.cnStore(),
        QStringLiteral("Insert Into Pta_BrandCar Values( ") + num(partId) + QStringLiteral(", ")
            + num(f.mBrandID) + QStringLiteral(", ") + num(modelId) + QStringLiteral(", ")
            + quoted(f.mBrandName) + QStringLiteral(", ") + quoted(model) + QStringLiteral(" )"));
}

void insertPlaceholderLink(frmKordane& f, int32_t partId) {
    f.Execute(f.cnStore(),
        QStringLiteral("Insert Into Pta_BrandCar Values( ") + num(partId) + QStringLiteral(", ")
            + num(f.mBrandID) + QStringLiteral(", 0, ") + quoted(f.mBrandName)
            + QStringLiteral(", '' )"));
}

void insertModelPair(frmKordane& f, int32_t partId, int32_t modelId) {
    f.Execute(f.cnStore(),
        QStringLiteral("Insert Into Pta_Model Values( ") + num(partId) + QStringLiteral(", ")
            + num(modelId) + QStringLiteral(" )"));
}

bool partHas(frmKordane& f, const char* table, int32_t partId, const QString& more = {}) {
    return HasRow(f, f.rsLookup,
        QStringLiteral("Select PartID From ") + QLatin1String(table)
            + QStringLiteral(" Where PartID = ") + num(partId) + more);
}

// The model's key: found, or new with its model row; 0 when the allocation failed, so that no
// model row or link carries the key of the placeholders.
int32_t modelKey(frmKordane& f, const QString& model, bool& isNew) {
    isNew = false;
    if (FindModelID(f, f.mBrandName + model) == 1) return TakeValue(f, QStringLiteral("ModelID"));
    const int32_t key = NextKey(f, QStringLiteral("ModelID"));
    if (key == 0) return 0;
    insertModelRow(f, key, model);
    isNew = true;
    return key;
}

} // namespace

int16_t FindModelID(frmKordane& f, const QString& brandModel) {
    f.Open(f.rsLookup, f.cnStore(),
        QStringLiteral("Select Distinct ModelID From Pta_ModelID Where FBModel = ")
            + quoted(mduValue::MakeMatchKey(brandModel)) + QLatin1Char(' '));
    if (f.rsLookup.Eof()) {
        f.rsLookup.Close();
        return 0;
    }
    return 1;
}

int16_t HasBrandCarLink(frmKordane& f, int32_t partId, int32_t brandId, int32_t modelId) {
    return partHas(f, "Pta_BrandCar", partId,
               QStringLiteral(" And BrandID = ") + num(brandId) + QStringLiteral(" And ModelID = ")
                   + num(modelId))
        ? 1
        : 0;
}

int16_t LinkCarModels(frmKordane& f, int32_t partId, const std::array<QString, 12>& models) {
    bool named = false;
    for (const QString& model : models) {
        if (!namesModel(model)) continue;
        named = true;
        bool isNew = false;
        const int32_t key = modelKey(f, model, isNew);
        if (key == 0) continue;
        if (isNew || HasBrandCarLink(f, partId, f.mBrandID, key) == 0)
            insertLinkRow(f, partId, key, model);
    }
    if (named) return 0;
    if (!partHas(f, "Pta_BrandCar", partId)) insertPlaceholderLink(f, partId);
    if (!partHas(f, "Pta_Model", partId)) insertModelPair(f, partId, 0);
    return 0;
}

int16_t LinkCarModel(frmKordane& f, int32_t partId, QString& model) {
    model = mduValue::CleanText(model);
    if (!namesModel(model)) {
        if (partHas(f, "Pta_BrandCar", partId, QStringLiteral(" And BrandID = ") + num(f.mBrandID)))
            return 0;
        insertPlaceholderLink(f, partId);
        insertModelPair(f, partId, 0);
        return 0;
    }
    bool isNew = false;
    const int32_t key = modelKey(f, model, isNew);
    if (key == 0) return 0;
    if (HasBrandCarLink(f, partId, f.mBrandID, key) == 0) insertLinkRow(f, partId, key, model);
    if (!HasRow(f, f.rsLookup,
            QStringLiteral("Select ModelID From Pta_Model Where PartID = ") + num(partId)
                + QStringLiteral(" And ModelID = ") + num(key)))
        insertModelPair(f, partId, key);
    return 0;
}

} // namespace pta
