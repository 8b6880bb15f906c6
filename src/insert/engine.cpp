// The classic insertion engine: what one staged part writes inside its transaction (lookups, new
// keys, part and code rows, the group step); the drain loop around it is shared (drain.h).
#include "engine.h"

#include "drain.h"

#include "app/members.h"
#include "common/mduDate.h"
#include "common/mduValue.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text.h"

#include <QStringList>
#include <array>
#include <map>
#include <memory>

namespace insert {

namespace {

const std::map<QString, Val>& valueNames() {
    static const std::map<QString, Val> names {
        { QStringLiteral("key"), Val::Key },
        { QStringLiteral("Kind"), Val::Kind },
        { QStringLiteral("PartNO"), Val::Number },
        { QStringLiteral("search code"), Val::SearchCode },
        { QStringLiteral("squeezed"), Val::Squeezed },
        { QStringLiteral("part code"), Val::PartCode },
        { QStringLiteral("AKind_1"), Val::AKind1 },
        { QStringLiteral("AltNO_1"), Val::AltNO1 },
        { QStringLiteral("EName"), Val::EName },
        { QStringLiteral("TName"), Val::TName },
        { QStringLiteral("Thai sort key"), Val::ThaiSortKey },
        { QStringLiteral("EName model"), Val::ENameModel },
        { QStringLiteral("TName model"), Val::TNameModel },
        { QStringLiteral("model text"), Val::ModelText },
        { QStringLiteral("Description"), Val::Description },
        { QStringLiteral("Import"), Val::Import },
        { QStringLiteral("DisPrice"), Val::DisPrice },
        { QStringLiteral("Price"), Val::Price },
        { QStringLiteral("Sale"), Val::Sale },
        { QStringLiteral("price differs"), Val::PriceDiffers },
        { QStringLiteral("B"), Val::BrandID },
        { QStringLiteral("run date"), Val::RunDate },
    };
    return names;
}

std::optional<Val> nameOf(const QString& item) {
    if (item.size() < 3 || !item.startsWith(QLatin1Char('<')) || !item.endsWith(QLatin1Char('>')))
        return std::nullopt;
    const QString name = item.mid(1, item.size() - 2);
    auto it = valueNames().find(name);
    if (it == valueNames().end())
        throw rt::RunError(QStringLiteral("unknown value <%1> in a part-row layout").arg(name));
    return it->second;
}

// One staged row as read, with what is derived from it.
struct Staged {
    QString kind, partNo;
    std::array<QString, 5> aKind, altNo;
    QString eName, tName;
    std::array<QString, 12> models;
    QString description, import, disPrice;
    rt::Currency price, sale;
    QString modelText, thaiSortKey;
};

// The part a row describes: the staged part itself or the part of one replacement slot.
struct Target {
    int32_t key = 0;
    QString kind, number;
};

class Drain {
public:
    Drain(frmKordane& f, const Member& m)
        : f_(f)
        , m_(m)
        , b_(QString::number(f.mBrandID)) { }

    void run(int16_t n);

private:
    bool uses(Val v) const;
    Staged readStaged(bool withDisPrice);
    void insertOne(const std::vector<Staged>& rows);
    int32_t takePart(const Staged& s, const QString& kind, const QString& number, int slot);
    QString lookupText(const QString& kind, const QString& number, int slot) const;
    QString rowText(const Row& row, const Staged& s, const Target& t) const;
    QString valueText(Val v, const Staged& s, const Target& t) const;

    frmKordane& f_;
    const Member& m_;
    const QString b_;
    int32_t runDate_ = 0;
};

bool Drain::uses(Val v) const {
    for (const Row* row : { &m_.partRow, &m_.replacementRow, &m_.codeRow })
        for (const Cell& c : *row)
            if (c.value == v) return true;
    return false;
}

void Drain::run(int16_t n) {
    const bool withDisPrice = uses(Val::DisPrice);
    // made once per call, once the store is open again: a drain that runs past midnight keeps
    // the date it started with
    auto connected = [this] {
        if (uses(Val::RunDate)) runDate_ = mduDate::RunDate();
    };
    auto read = [&] {
        Staged s = readStaged(withDisPrice);
        if (s.tName.isEmpty()) s.tName = s.eName;
        s.thaiSortKey = mduValue::ThaiSortKey(rt::Value(s.tName));
        return s;
    };
    auto take = [&] {
        auto rows = std::make_shared<std::vector<Staged>>(1, read());
        const Staged& s = rows->front();
        return QueuedPart { s.kind, s.partNo,
            RowPartText(s.kind, s.partNo, RowLabel(s.tName, s.eName, s.modelText)),
            [this, rows] { insertOne(*rows); }, [rows, read] { rows->push_back(read()); } };
    };
    DrainQueue(f_, n, take, connected);
}

Staged Drain::readStaged(bool withDisPrice) {
    ado::Recordset& rs = f_.rsList;
    Staged s;
    auto text = [&rs](const QString& name) { return rt::Trim(rs.Field(name).toText()); };
    s.kind = text(QStringLiteral("Kind"));
    s.partNo = text(QStringLiteral("PartNO"));
    for (int k = 0; k < 5; ++k) {
        s.aKind[k] = text(QStringLiteral("AKind_%1").arg(k + 1));
        s.altNo[k] = text(QStringLiteral("AltNO_%1").arg(k + 1));
    }
    s.eName = text(QStringLiteral("EName"));
    s.tName = text(QStringLiteral("TName"));
    for (int k = 0; k < 12; ++k)
        s.models[k] = rs.Field(QStringLiteral("Model_%1").arg(k + 1)).toText();
    s.description = text(QStringLiteral("Description"));
    s.import = text(QStringLiteral("Import"));
    s.price = rs.Field(QStringLiteral("Price")).toCurrency();
    if (withDisPrice) s.disPrice = text(QStringLiteral("DisPrice"));
    s.sale = rs.Field(QStringLiteral("Sale")).toCurrency();
    s.modelText = mduValue::JoinModels(s.models);
    return s;
}

// The part once, then the replacement numbers of each of its staged rows, each written with
// the row that names it.
void Drain::insertOne(const std::vector<Staged>& rows) {
    const Staged& s = rows.front();
    int32_t partKey = takePart(s, s.kind, s.partNo, 0);
    SlotKeys alt(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const Staged& row = rows[r];
        for (int k = 0; k < 5; ++k) {
            // the kinds take no part in this test: a slot repeating the part's number is skipped
            if (row.altNo[k].isEmpty() || row.altNo[k] == s.partNo) continue;
            alt[r][size_t(k)] = takePart(row, row.aKind[k], row.altNo[k], k + 1);
        }
    }
    GroupReplacements(f_, partKey, alt,
        QStringLiteral("Insert Into AltG") + b_ + QStringLiteral(" Values( 0, ")
            + QString::number(partKey) + QStringLiteral(", 0 )"));
}

QString Drain::lookupText(const QString& kind, const QString& number, int slot) const {
    const bool squeezed = m_.lookup == Lookup::BySqueezedNumber;
    const bool kindClause = !kind.isEmpty() && (slot == 0 || !squeezed);
    QString where = QStringLiteral("Where ");
    if (kindClause)
        where += QStringLiteral("Kind = '") + rt::Quote(kind) + QStringLiteral("' And ");
    if (squeezed)
        where += QStringLiteral("FPartNO = '") + rt::Quote(mduValue::SqueezeText(number))
            + QLatin1Char('\'');
    else
        where += QStringLiteral("PartNO = '") + rt::Quote(number) + QLatin1Char('\'');
    return QStringLiteral("Select ") + QStringLiteral("PartID ") + QStringLiteral("From ")
        + QStringLiteral("Pta") + b_ + QStringLiteral(" ") + where;
}

// The key of the part: found in the store, or new with its part row and code row.
int32_t Drain::takePart(const Staged& s, const QString& kind, const QString& number, int slot) {
    ado::Recordset& rs = f_.rsLookup;
    f_.Open(rs, f_.cnStore(), lookupText(kind, number, slot));
    if (!rs.Eof()) {
        int32_t key = 0;
        try {
            key = rs.Field(QStringLiteral("PartID")).toInt32();
        } catch (...) {
            rs.Close();
            throw;
        }
        rs.Close();
        return key;
    }
    rs.Close();

    const Target t { NextKey(f_, QStringLiteral("Pta") + b_), kind, number };
    const bool write = t.key > 0 || (slot == 1 && m_.slot1TakesAnyNonZeroKey && t.key != 0);
    if (!write) return t.key;
    const Row& row = slot == 0 ? m_.partRow : m_.replacementRow;
    f_.Execute(f_.cnStore(),
        QStringLiteral("Insert Into Pta") + b_ + QStringLiteral(" Values( ") + rowText(row, s, t)
            + QStringLiteral(" )"));
    f_.Execute(f_.cnStore(),
        QStringLiteral("Insert Into Alt") + b_ + QStringLiteral(" Values( ")
            + rowText(m_.codeRow, s, t) + QStringLiteral(" )"));
    return t.key;
}

QString Drain::rowText(const Row& row, const Staged& s, const Target& t) const {
    QStringList values;
    for (const Cell& c : row) {
        if (!c.value)
            values << c.literal;
        else if (c.quoted)
            values << QLatin1Char('\'') + rt::Quote(valueText(*c.value, s, t)) + QLatin1Char('\'');
        else
            values << valueText(*c.value, s, t);
    }
    return values.join(QStringLiteral(", "));
}

QString Drain::valueText(Val v, const Staged& s, const Target& t) const {
    switch (v) {
    case Val::Key:
        return QString::number(t.key);
    case Val::Kind:
        return t.kind;
    case Val::Number:
        return t.number;
    case Val::SearchCode:
        return mduValue::PartSearchCode(f_.mBrandName, t.number, f_.mStoreVersion);
    case Val::Squeezed:
        return mduValue::SqueezeText(t.number);
    case Val::PartCode:
        return t.kind.isEmpty() ? t.number : t.kind + QLatin1Char('-') + t.number;
    case Val::AKind1:
        return s.aKind[0];
    case Val::AltNO1:
        return s.altNo[0];
    case Val::EName:
        return s.eName;
    case Val::TName:
        return s.tName;
    case Val::ThaiSortKey:
        return s.thaiSortKey;
    case Val::ENameModel:
        return rt::Trim(s.eName + QStringLiteral("  ") + s.modelText);
    case Val::TNameModel:
        return rt::Trim(s.tName + QStringLiteral("  ") + s.modelText);
    case Val::ModelText:
        return s.modelText;
    case Val::Description:
        return s.description;
    case Val::Import:
        return s.import;
    case Val::DisPrice:
        return s.disPrice;
    case Val::Price:
        return s.price.toText();
    case Val::Sale:
        return s.sale.toText();
    case Val::PriceDiffers:
        return s.price == s.sale ? QStringLiteral("0") : QStringLiteral("1");
    case Val::BrandID:
        return b_;
    case Val::RunDate:
        return QString::number(runDate_);
    }
    return QString();
}

} // namespace

Row ParseRow(const QString& valueList) {
    Row row;
    for (const QString& item : valueList.split(QStringLiteral(", "))) {
        Cell c;
        const bool quoted = item.size() >= 2 && item.startsWith(QLatin1Char('\''))
            && item.endsWith(QLatin1Char('\''));
        if (auto v = nameOf(quoted ? item.mid(1, item.size() - 2) : item)) {
            c.value = v;
            c.quoted = quoted;
        } else {
            c.literal = item;
        }
        row.push_back(c);
    }
    return row;
}

Row CommonCodeRow() {
    return ParseRow(QStringLiteral("<key>, '<Kind>', '<PartNO>', <Price>"));
}

void DrainStagedParts(frmKordane& f, const Member& m, int16_t n) {
    Drain(f, m).run(n);
}

} // namespace insert
