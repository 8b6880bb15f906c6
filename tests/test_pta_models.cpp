// Links of a part to vehicle models in a Pta_ store: placeholders for a part that names no
// model, models found again by their squeezed brand-and-model text, keys in model order.
#include "common/mduValue.h"
#include "pta/pta.h"
#include "test_pta_fixture.h"

using namespace ptatest;

namespace {

std::array<QString, 12> Models(const QStringList& given) {
    std::array<QString, 12> m;
    for (int k = 0; k < given.size() && k < 12; ++k)
        m[size_t(k)] = given[k];
    return m;
}

class ModelLinks : public ::testing::Test {
protected:
    ModelLinks() { s.fx.form.OpenStoreConnection(); }
    frmKordane& form() { return s.fx.form; }
    QStringList link(int partId, const QStringList& models) {
        return s.traced([&] { pta::LinkCarModels(form(), partId, Models(models)); });
    }
    QStringList modelRows() {
        return s.rows("Select RecID, BrandID, ModelID, BrandModel, FModel, Model, Remark, Active, "
                      "FBModel From Pta_ModelID Order By ModelID");
    }
    QStringList linkRows() {
        return s.rows("Select PartID, BrandID, ModelID, BrandCar, Model From Pta_BrandCar "
                      "Order By PartID, ModelID");
    }
    QStringList pairRows() {
        return s.rows("Select PartID, ModelID From Pta_Model Order By PartID, ModelID");
    }
    PtaStore s { QStringLiteral("P.68 (Bar)"), 5 };
};

TEST_F(ModelLinks, PartWithoutModelsGetsPlaceholdersOnlyWhereItHasNoLink) {
    struct Case {
        const char* name;
        QStringList models;
        QStringList before; // statements run on the store first
        QStringList links, pairs; // Pta_BrandCar and Pta_Model of part 27 afterwards
        QStringList trace;
    };
    const Case cases[] = {
        { "twelve blanks, nothing linked", { "", "   " }, {}, { "27|5|0|VURE|" }, { "27|0" },
            { "Select PartID From Pta_BrandCar Where PartID = 27",
                "Insert Into Pta_BrandCar Values( 27, 5, 0, 'VURE', '' )",
                "Select PartID From Pta_Model Where PartID = 27",
                "Insert Into Pta_Model Values( 27, 0 )" } },
        { "a link of another brand keeps the link placeholder out", {},
            { "Insert Into Pta_BrandCar Values( 27, 9, 4, 'OTHER', 'X' )" }, { "27|9|4|OTHER|X" },
            { "27|0" },
            { "Select PartID From Pta_BrandCar Where PartID = 27",
                "Select PartID From Pta_Model Where PartID = 27",
                "Insert Into Pta_Model Values( 27, 0 )" } },
        { "placeholders already there", {},
            { "Insert Into Pta_BrandCar Values( 27, 5, 0, 'VURE', '' )",
                "Insert Into Pta_Model Values( 27, 0 )" },
            { "27|5|0|VURE|" }, { "27|0" },
            { "Select PartID From Pta_BrandCar Where PartID = 27",
                "Select PartID From Pta_Model Where PartID = 27" } },
        // a model that squeezes to nothing names no model: no model row with an empty key
        { "models of blanks and dashes only", { " - ", "/", "*" }, {}, { "27|5|0|VURE|" },
            { "27|0" },
            { "Select PartID From Pta_BrandCar Where PartID = 27",
                "Insert Into Pta_BrandCar Values( 27, 5, 0, 'VURE', '' )",
                "Select PartID From Pta_Model Where PartID = 27",
                "Insert Into Pta_Model Values( 27, 0 )" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.cn.Execute("Delete From Pta_BrandCar");
        s.cn.Execute("Delete From Pta_Model");
        for (const QString& st : c.before)
            s.cn.Execute(st);
        EXPECT_LINES(link(27, c.models), c.trace);
        EXPECT_LINES(linkRows(), c.links);
        EXPECT_LINES(pairRows(), c.pairs);
        EXPECT_LINES(modelRows(), QStringList());
    }
}

TEST_F(ModelLinks, ModelIsFoundAgainAndLinkedOnce) {
    s.cn.Execute("Update LastID Set LastID = 111 Where NameID = 'PartID'");
    s.cn.Execute("Insert Into LastID Values( 'ModelID', 111 )");
    // placeholders of an earlier row without models stay when models are named
    s.cn.Execute("Insert Into Pta_BrandCar Values( 27, 5, 0, 'VURE', '' )");

    const QString lookup
        = "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VURERX9J4X2' ";
    const QStringList first = link(27, { "", "RX9J 4X2" });
    EXPECT_LINES(first.filter("Pta_"),
        QStringList({ lookup,
            "Insert Into Pta_ModelID Values( 0, 5, 112, 'VURERX9J 4X2', "
            "'RX9J4X2', 'RX9J 4X2', '', 0 )",
            "Insert Into Pta_BrandCar Values( 27, 5, 112, 'VURE', 'RX9J 4X2' )" }));
    EXPECT_TRUE(first.filter("LastID").size() >= 1);

    // the same model spelt otherwise: found by its squeezed text, for another part and again
    EXPECT_LINES(link(28, { " rx9j-4x2 " }),
        QStringList({ "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VURErx9j4x2' ",
            "Select PartID From Pta_BrandCar Where PartID = 28 And BrandID = 5 And ModelID = 112",
            "Insert Into Pta_BrandCar Values( 28, 5, 112, 'VURE', ' rx9j-4x2 ' )" }));
    EXPECT_LINES(link(27, { "RX9J 4X2" }),
        QStringList({ lookup,
            "Select PartID From Pta_BrandCar Where PartID = 27 And BrandID = 5 And ModelID = "
            "112" }));

    EXPECT_LINES(
        modelRows(), QStringList { "0|5|112|VURERX9J 4X2|RX9J4X2|RX9J 4X2||0|VURERX9J4X2" });
    EXPECT_LINES(linkRows(),
        QStringList({ "27|5|0|VURE|", "27|5|112|VURE|RX9J 4X2", "28|5|112|VURE| rx9j-4x2 " }));
    EXPECT_LINES(pairRows(), QStringList());
}

// The stored squeezed text must be the lookup key itself, also where cleaning keeps a character
// (the one right after a removed "*"), or the model is added again by every part and run.
TEST_F(ModelLinks, ModelWithCleaningQuirksIsFoundAgain) {
    const char* cases[] = { "RX9J**", "RX9J*'S", "RX9J*,4X2", "RX9J***'", "RX9J, 4X2", "A*B" };
    for (const char* model : cases) {
        SCOPED_TRACE(model);
        s.cn.Execute("Delete From Pta_ModelID");
        s.cn.Execute("Delete From Pta_BrandCar");
        link(27, { model });
        link(28, { model });
        EXPECT_LINES(s.rows("Select ModelID, FBModel From Pta_ModelID"),
            QStringList { "1|" + mduValue::MakeMatchKey("VURE" + QString(model)) });
        EXPECT_LINES(s.rows("Select PartID, ModelID From Pta_BrandCar Order By PartID"),
            QStringList({ "27|1", "28|1" }));
        s.cn.Execute("Update LastID Set LastID = 0 Where NameID = 'ModelID'");
    }
}

TEST_F(ModelLinks, NewModelsTakeKeysInModelOrder) {
    link(27, { "B", "", "A", "", "", "", "", "", "", "", "", "C" });
    EXPECT_LINES(s.rows("Select ModelID, Model From Pta_ModelID Order By ModelID"),
        QStringList({ "1|B", "2|A", "3|C" }));
    EXPECT_LINES(s.rows("Select ModelID From Pta_BrandCar Order By ModelID"),
        QStringList({ "1", "2", "3" }));
}

TEST_F(ModelLinks, FailedKeyAllocationSkipsTheModel) {
    s.cn.Execute("Drop Table LastID");
    link(27, { "RX9J" });
    // no row of key 0 beside the placeholders, and no placeholder for a part that names a model
    EXPECT_LINES(modelRows(), QStringList());
    EXPECT_LINES(linkRows(), QStringList());
    EXPECT_LINES(pairRows(), QStringList());
}

TEST_F(ModelLinks, SingleModelFormCleansAndPairs) {
    QString model = "RX9J, 4X2*";
    const QStringList trace = s.traced([&] { pta::LinkCarModel(form(), 27, model); });
    EXPECT_EQ(model.toStdString(), "RX9J  4X2");
    EXPECT_LINES(trace.filter("Pta_"),
        QStringList({ "Select Distinct ModelID From Pta_ModelID Where FBModel = 'VURERX9J4X2' ",
            "Insert Into Pta_ModelID Values( 0, 5, 1, 'VURERX9J  4X2', 'RX9J4X2', 'RX9J  4X2', '', "
            "0 )",
            "Select PartID From Pta_BrandCar Where PartID = 27 And BrandID = 5 And ModelID = 1",
            "Insert Into Pta_BrandCar Values( 27, 5, 1, 'VURE', 'RX9J  4X2' )",
            "Select ModelID From Pta_Model Where PartID = 27 And ModelID = 1",
            "Insert Into Pta_Model Values( 27, 1 )" }));

    QString blank = "  ";
    EXPECT_LINES(s.traced([&] { pta::LinkCarModel(form(), 27, blank); }),
        QStringList { "Select PartID From Pta_BrandCar Where PartID = 27 And BrandID = 5" });
    QString none;
    EXPECT_LINES(s.traced([&] { pta::LinkCarModel(form(), 28, none); }),
        QStringList({ "Select PartID From Pta_BrandCar Where PartID = 28 And BrandID = 5",
            "Insert Into Pta_BrandCar Values( 28, 5, 0, 'VURE', '' )",
            "Insert Into Pta_Model Values( 28, 0 )" }));
}

} // namespace
