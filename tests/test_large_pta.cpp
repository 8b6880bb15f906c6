// Large Pta_ stores: the parts read back as kind and number are the parts a run's lookups find,
// and the wholeness checks read the Pta_ tables.
#include "platform/ado/ado.h"
#include "storekit/large_list.h"
#include "storekit/pta_store.h"
#include "support/fake_window.h"
#include "support/odbc_env.h"
#include "support/query_rows.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr int kBrand = 12;
constexpr int kStoreParts = 30;

class LargePtaStore : public ::testing::TestWithParam<const char*> { };

TEST_P(LargePtaStore, AListLikeTheStoreUpdatesItsPartsAndTheChecksSeeWhatIsMissing) {
    const QString version = QLatin1String(GetParam());
    const QString dir = testenv::TempDir();
    const QString store = dir + QStringLiteral("/Velandor.accdb");
    const QString list = dir + QStringLiteral("/PriceList_VURE.mdb");
    storekit::CreateLargeStore(store, version, kBrand, kStoreParts);
    const auto parts = storekit::StoreParts(store, kBrand);
    ASSERT_EQ(parts.size(), size_t(kStoreParts));
    EXPECT_EQ(parts[0].kind + QLatin1Char('|') + parts[0].number, QStringLiteral("0|10000-00001"));
    storekit::LargeListShape shape;
    shape.rows = 40;
    shape.tableRows = 25;
    storekit::CreateLargePriceList(list, shape, parts);
    // 20 new parts and their 20 replacement numbers
    EXPECT_EQ(storekit::MissingListParts(store, list, kBrand).size(), 40);

    FormFixture fx;
    fx.useDesktopStore(list, store);
    fx.form.cmdUpDate_Click();
    ASSERT_EQ(fx.window.messages.size(), 1u);
    EXPECT_EQ(fx.window.messages[0].text, QStringLiteral("เสร็จแล้วจ้า"));
    // the matching rows found their parts: only the new ones were added
    EXPECT_EQ(storekit::StoreParts(store, kBrand).size(), size_t(kStoreParts + 40));
    EXPECT_EQ(storekit::IncompleteParts(store, kBrand, kStoreParts + 1), QStringList());
    EXPECT_EQ(storekit::MissingListParts(store, list, kBrand), QStringList());

    // the last part loses its price and group rows and the counter falls below it; part 1 twice
    const QString sfx = storekit::PtaSuffix(version, kBrand);
    ado::Connection cn;
    storekit::OpenFile(cn, store);
    const QStringList last = testenv::QueryRows(cn,
        QStringLiteral("Select PartID, PartNO From Pta_%1 Order By PartID Desc Limit 1")
            .arg(sfx))[0]
                                 .split(QLatin1Char('|'));
    cn.Execute(QStringLiteral("Delete From Pta_Alt_%1 Where AltID = %2").arg(sfx, last[0]));
    cn.Execute(QStringLiteral("Delete From Pta_AltG_%1 Where PartID = %2").arg(sfx, last[0]));
    cn.Execute(QStringLiteral("Update LastID Set LastID = LastID - 1 Where NameID = 'PartID'"));
    // part 1's number again, under the key that part 3 leaves free (keys are unique)
    cn.Execute(QStringLiteral("Delete From Pta_%1 Where PartID = 3").arg(sfx));
    cn.Execute(QStringLiteral("Insert Into Pta_%1 (PartID, PartNO, FPartNO) Select 3, PartNO, "
                              "FPartNO From Pta_%1 Where PartID = 1")
                   .arg(sfx));
    cn.Close();
    EXPECT_EQ(storekit::IncompleteParts(store, kBrand, kStoreParts + 1),
        QStringList({ "no price row: " + last[1], "no group row: " + last[1],
            "twice: 10000-00001-0", "key above the counter: " + last[1] }));
    EXPECT_EQ(storekit::MissingListParts(store, list, kBrand), QStringList { "10000-00003" });
}

INSTANTIATE_TEST_SUITE_P(Versions, LargePtaStore, ::testing::Values("P.66 (Bar)", "P.68 (Bar)"),
    [](const auto& info) { return std::string(info.index == 0 ? "P66" : "P68"); });

} // namespace
