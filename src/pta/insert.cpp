// New-part insertion of the Pta_ schema: each staged part and its replacement numbers that the
// store lacks get a key, name keys and initials, a part row and a price row (for "P.68 (Bar)"
// also a barcode row and vehicle-model links), then one replacement group. The rows of each
// version are value lists read by one engine; the drain loop is the classic engine's.
#include "pta.h"

#include "common/mduDate.h"
#include "common/mduValue.h"
#include "insert/drain.h"
#include "platform/runtime/text.h"

#include <QRegularExpression>
#include <map>
#include <memory>
#include <vector>

namespace pta {

namespace {

using rt::Quote;
using rt::Trim;

// The values a row layout can name. Key, PartKey and MatchKey belong to the part the row
// describes (the staged part or a replacement part); the others to the staged row.
enum class Field {
    Key,
    BrandID,
    BrandName,
    Label,
    PartKey,
    MatchKey,
    ENameID,
    TNameID,
    ChrEName,
    FEName,
    EName,
    ChrTName,
    FTName,
    TName,
    Description,
    Model,
    Import,
    Price,
    DisPrice,
    Sale,
    RunDate,
};

// A row as its statement spells it: literal text with <name> standing for a value, each value
// pasted with its quotes doubled.
class Layout {
public:
    explicit Layout(const QString& valueList) {
        static const std::map<QString, Field> names {
            { QStringLiteral("key"), Field::Key },
            { QStringLiteral("B"), Field::BrandID },
            { QStringLiteral("brand name"), Field::BrandName },
            { QStringLiteral("label"), Field::Label },
            { QStringLiteral("part key"), Field::PartKey },
            { QStringLiteral("match key"), Field::MatchKey },
            { QStringLiteral("ENameID"), Field::ENameID },
            { QStringLiteral("TNameID"), Field::TNameID },
            { QStringLiteral("ChrEName"), Field::ChrEName },
            { QStringLiteral("FEName"), Field::FEName },
            { QStringLiteral("EName"), Field::EName },
            { QStringLiteral("ChrTName"), Field::ChrTName },
            { QStringLiteral("FTName"), Field::FTName },
            { QStringLiteral("TName"), Field::TName },
            { QStringLiteral("Description"), Field::Description },
            { QStringLiteral("model"), Field::Model },
            { QStringLiteral("Import"), Field::Import },
            { QStringLiteral("Price"), Field::Price },
            { QStringLiteral("DisPrice"), Field::DisPrice },
            { QStringLiteral("Sale"), Field::Sale },
            { QStringLiteral("run date"), Field::RunDate },
        };
        static const QRegularExpression placeholder(QStringLiteral("<([^<>]+)>"));
        qsizetype from = 0;
        for (auto it = placeholder.globalMatch(valueList); it.hasNext();) {
            const auto m = it.next();
            const auto name = names.find(m.captured(1));
            if (name == names.end())
                throw rt::RunError(
                    QStringLiteral("unknown value %1 in a Pta_ row layout").arg(m.captured(0)));
            pieces_.push_back({ valueList.mid(from, m.capturedStart() - from), name->second });
            from = m.capturedEnd();
        }
        tail_ = valueList.mid(from);
    }

    template<typename ValueOf> QString fill(const ValueOf& valueOf) const {
        QString out;
        for (const auto& [text, field] : pieces_)
            out += text + Quote(valueOf(field));
        return out + tail_;
    }

private:
    std::vector<std::pair<QString, Field>> pieces_;
    QString tail_;
};

// What sets the two Pta_ versions apart.
struct Member {
    int digits; // of the table suffix
    QString label; // the genuine-part label
    Layout partRow, priceRow;
    bool barcodeAndModels; // a barcode row and vehicle-model links with each new part
};

const Member& memberP68() {
    static const Member m { 3, QStringLiteral("แท้"),
        Layout(QStringLiteral(
            "0, 0, 0, 0, 0, 0, 1, 0, 0, <B>, 0, 0, 0, <key>, 0, <ENameID>, <TNameID>, 0, "
            "'<brand name>', '<label>', '', '<part key>', '<match key>', '<part key>', "
            "'<ChrEName>', '<FEName>', '<EName>', '<ChrTName>', '<FTName>', '<TName>', "
            "'<Description>', '', '', '<model>', '<Import>', 1, <Price>, '<DisPrice>', 0, <Sale>, "
            "'', 0, '', '', 0, '', 0, '', 0, 0, 0, 0, 0, 0, 0, 0, '', 0, 0, 0, 0, <run date>")),
        Layout(QStringLiteral(
            "<key>, 0, <B>, 0, '<part key>', '<part key>', '<label>', <Price>, <Sale>, 0, 0")),
        true };
    return m;
}

const Member& memberP66() {
    static const Member m { 2, QStringLiteral("แท้เบิกห้าง"),
        Layout(QStringLiteral(
            "1, 0, 0, 0, 0, <B>, 0, 0, 0, 0, <key>, 0, <ENameID>, <TNameID>, 1, '<label>', '', '', "
            "'<match key>', '<part key>', '<ChrEName>', '<FEName>', '<EName>', '<ChrTName>', "
            "'<FTName>', '<TName>', '', '<brand name>', '', '', <Price>, '<DisPrice>', <Sale>, "
            "'', '', '', 0, 0, 0, 0, 0, '', 0, 0, 0, 0, <run date>")),
        Layout(QStringLiteral("<key>, 0, <B>, '<label>', '', '<part key>', <Price>, <Sale>, 0, 0")),
        false };
    return m;
}

// The key under which the store keeps a number and its kind: squeezed number, "-", squeezed
// kind; the number alone for a blank kind.
QString partKeyOf(const QString& number, const QString& kind) {
    const QString key = mduValue::MakeMatchKey(mduValue::CleanText(number));
    if (Trim(kind).isEmpty()) return key;
    return key + QLatin1Char('-') + mduValue::MakeMatchKey(mduValue::CleanText(kind));
}

QString cut30(const QString& s) {
    return s.left(30);
}

// One staged row as the insertion uses it.
struct Staged {
    QString kind, partNo; // as stored
    QString partKey, matchKey; // the part's number as stored, and its FPartNO
    std::array<QString, 5> altKeys, altMatchKeys; // empty for a slot without a number
    QString eName, tName, model;
    std::array<QString, 12> models;
    QString description, import, disPrice;
    rt::Currency price, sale;
};

Staged readStaged(const ado::Recordset& rs) {
    auto text = [&rs](const QString& name) { return rs.Field(name).toText(); };
    Staged s;
    s.kind = text(QStringLiteral("Kind"));
    s.partNo = text(QStringLiteral("PartNO"));
    s.partKey = partKeyOf(s.partNo, s.kind);
    s.matchKey = NumberKey(s.partNo, s.kind);
    for (int k = 0; k < 5; ++k) {
        const QString number = text(QStringLiteral("AltNO_%1").arg(k + 1));
        // a kind without a number names no replacement part
        if (mduValue::MakeMatchKey(mduValue::CleanText(number)).isEmpty()) continue;
        const QString kind = text(QStringLiteral("AKind_%1").arg(k + 1));
        s.altKeys[k] = partKeyOf(number, kind);
        s.altMatchKeys[k] = NumberKey(number, kind);
    }
    s.eName = mduValue::CleanText(text(QStringLiteral("EName")));
    s.tName = mduValue::CleanText(text(QStringLiteral("TName")));
    for (int k = 0; k < 12; ++k)
        s.models[k] = cut30(mduValue::CleanText(text(QStringLiteral("Model_%1").arg(k + 1))));
    s.model = s.models[0];
    s.description = Trim(text(QStringLiteral("Description")));
    s.import = Trim(text(QStringLiteral("Import")));
    s.price = rs.Field(QStringLiteral("Price")).toCurrency();
    s.disPrice = Trim(text(QStringLiteral("DisPrice")));
    s.sale = rs.Field(QStringLiteral("Sale")).toCurrency();
    if (Trim(s.tName).isEmpty()) s.tName = Trim(s.eName);
    return s;
}

struct NameKeys {
    bool known = false;
    int32_t eKey = 0, tKey = 0;
    QString eInitial, tInitial;
};

class Insertion {
public:
    Insertion(frmKordane& f, const Member& m)
        : f_(f)
        , m_(m)
        , sfx_(TableSuffix(f.mBrandID, m.digits))
        , runDate_(mduDate::RunDate()) { }

    void run(int16_t n) {
        insert::DrainQueue(f_, n, [this] {
            auto rows = std::make_shared<std::vector<Staged>>(1, readStaged(f_.rsList));
            const Staged& s = rows->front();
            return insert::QueuedPart { Trim(s.kind), Trim(s.partNo),
                s.partKey + QStringLiteral(" - ") + s.tName + QStringLiteral("   ") + s.model,
                [this, rows] { insertOne(*rows); },
                [this, rows] { rows->push_back(readStaged(f_.rsList)); } };
        });
    }

private:
    std::optional<int32_t> findPart(const QString& fPartNo) {
        return FirstValue(f_,
            QStringLiteral("Select PartID From Pta_") + sfx_ + QStringLiteral(" Where FPartNO = '")
                + Quote(fPartNo) + QLatin1Char('\''),
            QStringLiteral("PartID"));
    }

    void workOutNames(const Staged& s, NameKeys& names) {
        names.known = true;
        if (!Trim(s.eName).isEmpty()) {
            names.eInitial = NameInitial(s.eName);
            names.eKey = NameKey(f_, sfx_, NameKind::English, s.eName);
        }
        if (!Trim(s.tName).isEmpty()) {
            names.tInitial = NameInitial(s.tName);
            names.tKey = NameKey(f_, sfx_, NameKind::Thai, s.tName);
        }
    }

    // A new part's rows, in the order barcode, part, price, model links.
    void writeNew(const Staged& s, const NameKeys& names, int32_t key, const QString& partKey,
        const QString& matchKey) {
        auto value = [&](Field field) -> QString {
            switch (field) {
            case Field::Key:
                return QString::number(key);
            case Field::BrandID:
                return QString::number(f_.mBrandID);
            case Field::BrandName:
                return f_.mBrandName;
            case Field::Label:
                return m_.label;
            case Field::PartKey:
                return partKey;
            case Field::MatchKey:
                return matchKey;
            case Field::ENameID:
                return QString::number(names.eKey);
            case Field::TNameID:
                return QString::number(names.tKey);
            case Field::ChrEName:
                return names.eInitial;
            case Field::FEName:
                return mduValue::MakeMatchKey(s.eName);
            case Field::EName:
                return s.eName;
            case Field::ChrTName:
                return names.tInitial;
            case Field::FTName:
                return mduValue::MakeMatchKey(s.tName);
            case Field::TName:
                return s.tName;
            case Field::Description:
                return s.description;
            case Field::Model:
                return s.model;
            case Field::Import:
                return s.import;
            case Field::Price:
                return s.price.toText();
            case Field::DisPrice:
                return s.disPrice;
            case Field::Sale:
                return s.sale.toText();
            case Field::RunDate:
                return QString::number(runDate_);
            }
            return QString();
        };
        ado::Connection& cn = f_.cnStore();
        if (m_.barcodeAndModels)
            f_.Execute(cn,
                QStringLiteral("Insert Into Pta_BarCode Values( ") + QString::number(key)
                    + QStringLiteral(", ") + QString::number(f_.mBrandID) + QStringLiteral(", '")
                    + Quote(partKey) + QStringLiteral("' )"));
        f_.Execute(cn,
            QStringLiteral("Insert Into Pta_") + sfx_ + QStringLiteral(" Values( ")
                + m_.partRow.fill(value) + QStringLiteral(" )"));
        f_.Execute(cn,
            QStringLiteral("Insert Into Pta_Alt_") + sfx_ + QStringLiteral(" Values( ")
                + m_.priceRow.fill(value) + QStringLiteral(" )"));
        if (m_.barcodeAndModels) LinkCarModels(f_, key, s.models);
    }

    // The replacement parts of one staged row; names are worked out once for the row.
    std::array<int32_t, 5> takeReplacements(
        const Staged& s, NameKeys& names, const QString& partKey) {
        std::array<int32_t, 5> alt {};
        for (size_t k = 0; k < alt.size(); ++k) {
            const QString& altKey = s.altKeys[k];
            if (altKey.isEmpty() || altKey == partKey) continue;
            if (auto found = findPart(s.altMatchKeys[k])) {
                alt[k] = *found;
                continue;
            }
            alt[k] = NextKey(f_, QStringLiteral("PartID"));
            if (alt[k] <= 0) continue;
            if (!names.known) workOutNames(s, names);
            writeNew(s, names, alt[k], altKey, s.altMatchKeys[k]);
        }
        return alt;
    }

    // The part once, then the replacement numbers of each of its staged rows, each written
    // with the row that names it.
    void insertOne(const std::vector<Staged>& rows) {
        const Staged& s = rows.front();
        NameKeys names;
        int32_t partId = 0;
        if (auto found = findPart(s.matchKey)) {
            partId = *found;
        } else {
            partId = NextKey(f_, QStringLiteral("PartID"));
            workOutNames(s, names);
            if (partId > 0) writeNew(s, names, partId, s.partKey, s.matchKey);
        }

        insert::SlotKeys alt { takeReplacements(s, names, s.partKey) };
        for (size_t r = 1; r < rows.size(); ++r) {
            NameKeys rowNames;
            alt.push_back(takeReplacements(rows[r], rowNames, s.partKey));
        }
        insert::GroupReplacements(f_, partId, alt,
            QStringLiteral("Insert Into Pta_AltG_") + sfx_ + QStringLiteral(" Values( ")
                + QString::number(partId) + QStringLiteral(", 0 )"));
    }

    frmKordane& f_;
    const Member& m_;
    const QString sfx_;
    const int32_t runDate_;
};

} // namespace

void InsertNewPartsP66(frmKordane& f, int16_t& n) {
    Insertion(f, memberP66()).run(n);
}

void InsertNewPartsP68(frmKordane& f, int16_t& n) {
    Insertion(f, memberP68()).run(n);
}

} // namespace pta
