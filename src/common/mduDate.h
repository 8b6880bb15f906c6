// Stateless date helpers: Buddhist-era date texts (day/month/year) and the run date yyyymmdd.
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

namespace mduDate {

// Parts of a date text day "/" month "/" year; 0 when the part is missing or not numeric.
int16_t DayOfText(const QString& s);
int16_t MonthOfText(const QString& s);
int16_t YearOfText(const QString& s);

// day "/" month "/" (year + 543), no leading zeros; an invalid date raises RunError.
QString ThaiDateText(const QDate& d);
// year, month in two digits, day in two digits, read as one number.
int32_t DateNumber(const QString& s);
// Today's date in the Buddhist era as yyyymmdd, read from the clock at each call.
int32_t RunDate();

} // namespace mduDate
