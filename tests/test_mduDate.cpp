// Date helpers: parts of a date text, Buddhist-era date text, date number and run date.
#include "common/mduDate.h"
#include "platform/runtime/error.h"
#include "platform/runtime/runtime.h"

#include <gtest/gtest.h>

using namespace mduDate;

TEST(MduDate, PartsOfDateText) {
    struct Case {
        QString in;
        int day, month, year;
    };
    const Case cases[] = {
        { "", 0, 0, 0 },
        { "2564", 0, 0, 0 },
        { "1/4/2564", 1, 4, 2564 },
        { "12/11/2565", 12, 11, 2565 },
        { "05/04/2564", 5, 4, 2564 },
        { "/4/2564", 0, 0, 2564 }, // only the year accepts a "/" in the first place
        { "1//2564", 1, 0, 2564 },
        { "1/4", 1, 0, 0 },
        { "1/4/", 1, 4, 0 },
        { "a/b/c", 0, 0, 0 },
        { "1/4/2564/9", 1, 4, 0 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DayOfText(c.in), c.day) << c.in.toStdString();
        EXPECT_EQ(MonthOfText(c.in), c.month) << c.in.toStdString();
        EXPECT_EQ(YearOfText(c.in), c.year) << c.in.toStdString();
    }
    EXPECT_THROW(DayOfText(QStringLiteral("40000/1/2564")), rt::RunError);
    EXPECT_THROW(YearOfText(QStringLiteral("1/1/40000")), rt::RunError);
}

TEST(MduDate, ThaiDateText) {
    struct Case {
        QDate in;
        QString expected;
    };
    const Case cases[] = {
        { QDate(2021, 4, 1), "1/4/2564" },
        { QDate(2022, 1, 5), "5/1/2565" },
        { QDate(2020, 12, 31), "31/12/2563" },
        { QDate(2000, 2, 29), "29/2/2543" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ThaiDateText(c.in), c.expected);
    EXPECT_THROW(ThaiDateText(QDate()), rt::RunError);
}

TEST(MduDate, DateNumber) {
    struct Case {
        QString in;
        int32_t expected;
    };
    const Case cases[] = {
        { "1/4/2564", 25640401 },
        { "12/11/2565", 25651112 },
        { "5/1/2565", 25650105 },
        { "31/12/2563", 25631231 },
        { "1/4/99", 990401 }, // the year is never padded
        { "/4/2564", 25640000 },
        { "", 0 },
        { "a/b/c", 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateNumber(c.in), c.expected) << c.in.toStdString();
    EXPECT_THROW(DateNumber(QStringLiteral("30000/12/2564")), rt::RunError);
}

TEST(MduDate, RunDateReadsTheClockAtEachCall) {
    QDate today(2021, 4, 1);
    rt::SetClock([&today] { return today; });
    EXPECT_EQ(RunDate(), 25640401);
    today = QDate(2021, 4, 2);
    EXPECT_EQ(RunDate(), 25640402);
    rt::SetClock({});
}
