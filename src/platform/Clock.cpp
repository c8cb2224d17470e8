#include "platform/Clock.h"

#include <QDateTime>
#include <cmath>

namespace {
std::function<double()>& override_()
{
    static std::function<double()> instance;
    return instance;
}
constexpr double MillisecondsPerDay = 86400000.0;
} // namespace

double Now()
{
    if (override_())
        return override_()();
    static const QDate epoch(1899, 12, 30);
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = epoch.daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / MillisecondsPerDay;
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
    auto ms = static_cast<long long>(std::llround(fraction * MillisecondsPerDay));
    ms %= static_cast<long long>(MillisecondsPerDay);
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
