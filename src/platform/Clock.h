// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <functional>

// Date-time values are days since 1899-12-30 as a double, with millisecond resolution.
double Now();
inline constexpr double MsPerDay = 86400000.0;

// A date-time value (local days since 1899-12-30) as milliseconds since 1970 in UTC, and back.
qint64 utcMsFromDays(double days);
double daysFromUtcMs(qint64 ms);
// The local calendar day of a date-time value.
QDate dateOfDays(double days);

// Tests replace the clock; an empty function restores the real one.
void setClockOverride(std::function<double()> clock);

// An elapsed time as "n:ss": the minutes of the hour without a leading zero, a colon and two-digit
// seconds. Hours are not shown.
QString formatMinutesSeconds(double days);

// Splits the fractional part of a day count into hours, minutes, seconds and milliseconds of the
// day, rounded to whole milliseconds.
struct TimeOfDay
{
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};
TimeOfDay splitTimeOfDay(double days);
