#include "TargetDecimals.h"

namespace valdora::run {

namespace {

QString decimalPattern(int places)
{
    // With no places the point goes too: a whole-number field gets "24", not "24.".
    if (places <= 0)
        return QStringLiteral("0");
    return QStringLiteral("0.") + QString(places, u'0');
}

} // namespace

QString inDecimalPlaces(const TextLocale& locale, const QString& value, int places)
{
    if (!locale.isNumeric(value))
        return value;
    return locale.format(locale.toDouble(value), decimalPattern(places));
}

} // namespace valdora::run
