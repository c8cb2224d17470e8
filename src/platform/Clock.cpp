// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace {
std::function<double()>& override_()
{
    static std::function<double()> instance;
    return instance;
}
constexpr qint64 MsPerDayInt = 86400000;
const QDate DayZero(1899, 12, 30);
// Days from the clock's day zero to 1970-01-01.
constexpr double UnixEpochDays = 25569.0;
} // namespace

double Now()
{
    if (override_())
        return override_()();
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = DayZero.daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / MsPerDay;
}

void setClockOverride(std::function<double()> clock)
{
    override_() = std::move(clock);
}

TimeOfDay splitTimeOfDay(double days)
{
    TimeOfDay t;
    if (!std::isfinite(days))
        return t;
    double fraction = std::fabs(days - std::trunc(days));
    auto ms = static_cast<long long>(std::llround(fraction * MsPerDay));
    ms %= static_cast<long long>(MsPerDay);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.millisecond = static_cast<int>(ms % 1000);
    return t;
}

QString formatMinutesSeconds(double days)
{
    const TimeOfDay t = splitTimeOfDay(days);
    return QString::number(t.minute) + QLatin1Char(':') +
           QStringLiteral("%1").arg(t.second, 2, 10, QLatin1Char('0'));
}

qint64 utcMsFromDays(double days)
{
    const double whole = std::floor(days);
    const auto ms = static_cast<int>(std::llround((days - whole) * MsPerDay));
    QDateTime local(DayZero.addDays(static_cast<qint64>(whole)), QTime(0, 0));
    return local.addMSecs(ms).toMSecsSinceEpoch();
}

double daysFromUtcMs(qint64 ms)
{
    // The local offset from UTC changes a few times a year at most: it is looked up once per UTC
    // day, and for each time only on a day on which it changes.
    static thread_local qint64 cachedDay = std::numeric_limits<qint64>::min();
    static thread_local int offsetAtStart = 0;
    static thread_local int offsetAtEnd = 0;
    const qint64 day = ms >= 0 ? ms / MsPerDayInt : -((-ms + MsPerDayInt - 1) / MsPerDayInt);
    if (day != cachedDay) {
        cachedDay = day;
        offsetAtStart = QDateTime::fromMSecsSinceEpoch(day * MsPerDayInt).offsetFromUtc();
        offsetAtEnd = QDateTime::fromMSecsSinceEpoch((day + 1) * MsPerDayInt - 1).offsetFromUtc();
    }
    const int offset =
        offsetAtStart == offsetAtEnd ? offsetAtStart : QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
    return double(ms + qint64(offset) * 1000) / MsPerDay + UnixEpochDays;
}

QDate dateOfDays(double days)
{
    return DayZero.addDays(static_cast<qint64>(std::floor(days)));
}
