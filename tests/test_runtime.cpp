// Runtime stand-ins: conversions, numeric test, currency text, file search; the progress text.
#include "app/frmKordane.h"
#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rt::Currency;
using rt::Value;

TEST(Runtime, Int16ConversionRoundsHalfToEvenAndChecksRange) {
    struct Case {
        Value in;
        int expected;
    };
    const Case cases[]
        = { { Value(2.5), 2 }, { Value(3.5), 4 }, { Value(-2.5), -2 }, { Value("05"), 5 },
              { Value(" 12 "), 12 }, { Value(32767), 32767 }, { Value(-32768), -32768 } };
    for (const auto& c : cases)
        EXPECT_EQ(c.in.toInt16(), c.expected);
    EXPECT_THROW(Value(32768).toInt16(), rt::RunError);
    EXPECT_THROW(Value(32767.5).toInt16(), rt::RunError);
    EXPECT_THROW(Value().toInt16(), rt::RunError);
    EXPECT_THROW(Value("AB").toInt16(), rt::RunError);
    EXPECT_THROW(Value(int64_t(1) << 31).toInt32(), rt::RunError);
}

TEST(Runtime, NumericTest) {
    EXPECT_TRUE(rt::IsNumeric(Value("12")));
    EXPECT_TRUE(rt::IsNumeric(Value(" -1.5 ")));
    EXPECT_TRUE(rt::IsNumeric(Value(7)));
    EXPECT_FALSE(rt::IsNumeric(Value("")));
    EXPECT_FALSE(rt::IsNumeric(Value("1A")));
    EXPECT_FALSE(rt::IsNumeric(Value()));
}

TEST(Runtime, CurrencyTextHasPointOnlyWithFraction) {
    EXPECT_EQ(Currency::fromInt(125).toText(), "125");
    EXPECT_EQ(Currency::parse("12.50").toText(), "12.5");
    EXPECT_EQ(Currency::parse("-0.0001").toText(), "-0.0001");
    EXPECT_EQ(Currency().toText(), "0");
    EXPECT_THROW(Currency::parse("1,5"), rt::RunError);
}

TEST(Runtime, TrimRemovesBlanksOnlyAndQuoteDoubles) {
    EXPECT_EQ(rt::Trim(QString::fromUtf8("  a\tb  ")), QString::fromUtf8("a\tb"));
    EXPECT_EQ(rt::Trim(QString::fromUtf8("\ta ")), QString::fromUtf8("\ta"));
    EXPECT_EQ(rt::Quote("O'Brien''s"), "O''Brien''''s");
}

TEST(Runtime, FileSearchFindsNormalFilesWithWildcards) {
    QTemporaryDir dir;
    QFile f(dir.filePath("PriceList_VURE.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QDir(dir.path()).mkdir("Folder.mdb");
    EXPECT_TRUE(rt::FileSearchFinds(dir.filePath("PriceList_VURE.mdb")));
    EXPECT_TRUE(rt::FileSearchFinds(dir.filePath("PriceList_*.mdb")));
    EXPECT_FALSE(rt::FileSearchFinds(dir.filePath("Missing.mdb")));
    EXPECT_FALSE(rt::FileSearchFinds(dir.filePath("Folder.mdb")));
    EXPECT_FALSE(rt::FileSearchFinds(dir.filePath("nowhere/x.mdb")));
}

TEST(Runtime, InjectableClock) {
    rt::SetClock([] { return QDate(2021, 4, 1); });
    EXPECT_EQ(rt::Today(), QDate(2021, 4, 1));
    rt::SetClock({});
    EXPECT_EQ(rt::Today(), QDate::currentDate());
}

TEST(ProgressText, PercentRoundsDownAndAnEmptyCountIsAnError) {
    const QString label = QStringLiteral("step ");
    EXPECT_EQ(RowProgressText(label, QStringLiteral("VURE"), QStringLiteral("_1"), 3, 1),
        QStringLiteral("step VURE_1  (2)  33 %"));
    EXPECT_EQ(RowProgressText(label, QStringLiteral("VURE"), QStringLiteral("_1"), 3, 3),
        QStringLiteral("step VURE_1  (0)  100 %"));
    EXPECT_THROW(
        RowProgressText(label, QStringLiteral("VURE"), QStringLiteral("_1"), 0, 1), rt::RunError);
}
