// The rebuild of one replacement group: the part, up to five given parts and the part's
// present partners become one closed group, written row by row inside the caller's transaction.
#include "app/members.h"
#include "groups.h"

namespace groups {

namespace {

QString num(int32_t v) {
    return QString::number(v);
}

[[noreturn]] void tooManyRows(frmKordane& f, const char* what) {
    f.rsLookup.Close();
    throw rt::RunError(QStringLiteral("More %1 rows than counted").arg(QLatin1String(what)));
}

// The member list: the part, the five given keys, then the part's partners in store order.
// The slot at index count is spare.
struct MemberList {
    std::vector<int32_t> keys;
    int32_t count = 0;
};

MemberList readMembers(frmKordane& f, int32_t partId, const std::array<int32_t, 5>& alts) {
    const int64_t counted = int64_t(CountAltGroup(f, f.mBrandID, partId)) + 6;
    if (counted > INT32_MAX) rt::throwOverflow(QStringLiteral("group member count"));
    MemberList m;
    m.count = int32_t(counted);
    const bool found = OpenAltGroup(f, f.mBrandID, partId) == 1;
    if (!found) m.count = 6;
    m.keys.assign(size_t(m.count) + 1, 0);
    m.keys[0] = partId;
    for (size_t k = 0; k < alts.size(); ++k)
        m.keys[k + 1] = alts[k];
    if (!found) return m;
    for (int32_t i = 6; !f.rsLookup.Eof(); ++i) {
        if (i >= m.count) tooManyRows(f, "group");
        m.keys[size_t(i)] = f.rsLookup.Field(QStringLiteral("PartID")).toInt32();
        f.rsLookup.MoveNext();
    }
    f.rsLookup.Close();
    return m;
}

// Each member in list order gets its rows replaced by its links to every other member, or
// by the lone row when it is alone.
template<typename LinkRow>
void writeLinks(frmKordane& f, const MemberList& m, int32_t i, LinkRow link) {
    bool linked = false;
    for (int32_t j = 0; j < m.count; ++j) {
        if (j == i || m.keys[size_t(j)] <= 0) continue;
        f.Execute(f.cnStore(), link(m.keys[size_t(i)], m.keys[size_t(j)]));
        linked = true;
    }
    if (!linked) f.Execute(f.cnStore(), link(m.keys[size_t(i)], 0));
}

} // namespace

int16_t RebuildAltGroupAltG(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2,
    int32_t& alt3, int32_t& alt4, int32_t& alt5) {
    const QString b = num(f.mBrandID);
    MemberList m = readMembers(f, partId, { alt1, alt2, alt3, alt4, alt5 });

    int32_t facCount = CountPartFac(f, f.mBrandID, partId);
    std::vector<int32_t> facIds;
    if (OpenPartFac(f, f.mBrandID, partId) == 1) {
        facIds.assign(size_t(facCount) + 1, 0);
        for (int32_t k = 0; !f.rsLookup.Eof(); ++k) {
            if (k >= facCount) tooManyRows(f, "Fac");
            facIds[size_t(k)] = f.rsLookup.Field(QStringLiteral("FacID")).toInt32();
            f.rsLookup.MoveNext();
        }
        f.rsLookup.Close();
    } else {
        facCount = 0;
    }

    DedupAltMembers(m.keys, m.count);
    if (facCount > 0) DedupFacList(facIds, facCount);
    // A part without Fac links leaves the members' own Fac links alone rather than wiping
    // them from the whole group.
    bool hasFac = false;
    for (int32_t k = 0; k < facCount; ++k)
        hasFac = hasFac || facIds[size_t(k)] > 0;

    for (int32_t i = 0; i < m.count; ++i) {
        const int32_t member = m.keys[size_t(i)];
        if (member <= 0) continue;
        f.Execute(f.cnStore(),
            QStringLiteral("Delete From AltG") + b + QStringLiteral(" Where PartID = ")
                + num(member));
        if (hasFac)
            f.Execute(f.cnStore(),
                QStringLiteral("Delete From FacD") + b + QStringLiteral(" Where PartID = ")
                    + num(member));
        writeLinks(f, m, i, [&](int32_t x, int32_t y) {
            return QStringLiteral("Insert Into AltG") + b + QStringLiteral(" Values( 0, ") + num(x)
                + QStringLiteral(", ") + num(y) + QStringLiteral(" )");
        });
        for (int32_t k = 0; hasFac && k < facCount; ++k) {
            if (facIds[size_t(k)] <= 0) continue;
            f.Execute(f.cnStore(),
                QStringLiteral("Insert Into FacD") + b + QStringLiteral(" Values( 0, ")
                    + num(member) + QStringLiteral(", ") + num(facIds[size_t(k)])
                    + QStringLiteral(" )"));
        }
    }
    return 0;
}

int16_t RebuildAltGroupPta(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2,
    int32_t& alt3, int32_t& alt4, int32_t& alt5) {
    const QString sfx = PtaSuffix(f);
    MemberList m = readMembers(f, partId, { alt1, alt2, alt3, alt4, alt5 });
    DedupAltMembers(m.keys, m.count);
    for (int32_t i = 0; i < m.count; ++i) {
        const int32_t member = m.keys[size_t(i)];
        if (member <= 0) continue;
        f.Execute(f.cnStore(),
            QStringLiteral("Delete From Pta_AltG_") + sfx + QStringLiteral(" Where PartID = ")
                + num(member));
        writeLinks(f, m, i, [&](int32_t x, int32_t y) {
            return QStringLiteral("Insert Into Pta_AltG_") + sfx + QStringLiteral(" Values( ")
                + num(x) + QStringLiteral(", ") + num(y) + QStringLiteral(" )");
        });
    }
    return 0;
}

int16_t RebuildAltGroup(frmKordane& f, int32_t& partId, int32_t& alt1, int32_t& alt2, int32_t& alt3,
    int32_t& alt4, int32_t& alt5) {
    if (IsPtaVersion(f.mStoreVersion))
        return RebuildAltGroupPta(f, partId, alt1, alt2, alt3, alt4, alt5);
    return RebuildAltGroupAltG(f, partId, alt1, alt2, alt3, alt4, alt5);
}

} // namespace groups
