#include "TextSemantics.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace valdora {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Parses [sign] digits [sep digits] [e|E [sign] digits] and gives back the same number in the C
// form ("-12.5e3"), or an empty text when the text does not have that shape.
QByteArray canonicalNumber(QStringView text, QChar separator)
{
    const QStringView body = trimmedBlanks(text);
    QByteArray out;
    qsizetype i = 0;
    if (i < body.size() && (body[i] == u'+' || body[i] == u'-')) {
        if (body[i] == u'-')
            out += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < body.size() && isAsciiDigit(body[i])) {
        out += static_cast<char>(body[i].unicode());
        ++i;
        ++mantissaDigits;
    }
    if (i < body.size() && body[i] == separator) {
        out += '.';
        ++i;
        while (i < body.size() && isAsciiDigit(body[i])) {
            out += static_cast<char>(body[i].unicode());
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return {};
    if (i < body.size() && (body[i] == u'e' || body[i] == u'E')) {
        out += 'e';
        ++i;
        if (i < body.size() && (body[i] == u'+' || body[i] == u'-')) {
            out += static_cast<char>(body[i].unicode());
            ++i;
        }
        int exponentDigits = 0;
        while (i < body.size() && isAsciiDigit(body[i])) {
            out += static_cast<char>(body[i].unicode());
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return {};
    }
    return i == body.size() ? out : QByteArray();
}

// A two-digit year "yy" of the locale's short format becomes "yyyy", so that no date loses its century.
QString widenYear(QString format)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

// The locale's long time format without the time zone ("h:mm:ss AP t" -> "h:mm:ss AP").
QString timeFormatOf(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    format.remove(zone);
    return format.trimmed();
}

enum class Part { Day, Month, Year };

// The order of day, month and year in the locale's short date format.
std::array<Part, 3> dateOrderOf(const QString& format)
{
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    const qsizetype y = format.indexOf(u'y');
    std::array<std::pair<qsizetype, Part>, 3> parts{{{d, Part::Day}, {m, Part::Month}, {y, Part::Year}}};
    std::sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return {parts[0].second, parts[1].second, parts[2].second};
}

// Two-digit years read as the platform reads them: 00-29 are 2000-2029, 30-99 are 1930-1999.
int expandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// The date part of a time typed without a date: the platform's day zero.
const QDate kDayZero(1899, 12, 30);

std::optional<QTime> parseTime(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\s*([AaPp])\\.?[Mm]?\\.?)?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int hour = match.capturedView(1).toInt();
    const int minute = match.capturedView(2).toInt();
    const int second = match.hasCaptured(3) ? match.capturedView(3).toInt() : 0;
    if (match.hasCaptured(4)) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const bool pm = match.capturedView(4).compare(u"p", Qt::CaseInsensitive) == 0;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QDate> parseIsoDate(QStringView text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.capturedView(1).toInt(), match.capturedView(2).toInt(),
                     match.capturedView(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> parseLocaleDate(QStringView text, const std::array<Part, 3>& order)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})([./-])(\\d{1,4})\\2(\\d{1,4})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int day = 0;
    int month = 0;
    int year = 0;
    for (int k = 0; k < 3; ++k) {
        const QStringView field = match.capturedView(k == 0 ? 1 : k + 2);
        const int value = field.toInt();
        switch (order[static_cast<size_t>(k)]) {
        case Part::Day:
            if (field.size() > 2)
                return std::nullopt;
            day = value;
            break;
        case Part::Month:
            if (field.size() > 2)
                return std::nullopt;
            month = value;
            break;
        case Part::Year:
            if (field.size() != 2 && field.size() != 4)
                return std::nullopt;
            year = expandYear(value, static_cast<int>(field.size()));
            break;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// The 15 significant digits of a finite, non-zero magnitude, and its decimal exponent: 2.675 gives
// "267500000000000" and 0.
std::pair<QByteArray, int> significantDigits(double magnitude)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    const QByteArray text(buffer);
    const qsizetype e = text.indexOf('e');
    QByteArray digits = text.left(e);
    digits.remove(1, 1); // the point after the first digit
    return {digits, std::atoi(text.constData() + e + 1)};
}

// Rounds a magnitude to `decimals` places, half away from zero, on its 15-digit decimal form (as
// the platform's Format does, so that 2.675 with two decimals is 2.68). Returns the digits of the
// whole part and of the fraction.
std::pair<QByteArray, QByteArray> roundDecimal(double magnitude, int decimals)
{
    if (magnitude == 0.0)
        return {"0", QByteArray(decimals, '0')};
    auto [digits, exponent] = significantDigits(magnitude);
    // Place the digits around the point: value = 0.d1d2... x 10^(exponent + 1).
    const int pointAt = exponent + 1; // digits before the point
    QByteArray whole;
    QByteArray fraction;
    if (pointAt <= 0) {
        fraction = QByteArray(-pointAt, '0') + digits;
        whole = "0";
    } else if (pointAt >= digits.size()) {
        whole = digits + QByteArray(pointAt - digits.size(), '0');
    } else {
        whole = digits.left(pointAt);
        fraction = digits.mid(pointAt);
    }
    if (fraction.size() < decimals)
        fraction += QByteArray(decimals - fraction.size(), '0');
    const bool roundUp = fraction.size() > decimals && fraction[decimals] >= '5';
    fraction.truncate(decimals);
    if (roundUp) {
        QByteArray all = whole + fraction;
        qsizetype i = all.size() - 1;
        while (i >= 0 && all[i] == '9') {
            all[i] = '0';
            --i;
        }
        if (i < 0)
            all.prepend('1');
        else
            all[i] = static_cast<char>(all[i] + 1);
        whole = all.left(all.size() - decimals);
        fraction = all.right(decimals);
    }
    while (whole.size() > 1 && whole[0] == '0')
        whole.remove(0, 1);
    return {whole, fraction};
}

template <typename Int> Int toWholeNumber(const TextLocale& locale, QStringView text, Where where)
{
    const auto number = locale.toNumber(text);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, where);
    // Halves go to the even neighbour, as the platform's whole-number conversions do.
    const double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw Failure(ErrorNumber::Overflow, where);
    return static_cast<Int>(rounded);
}

} // namespace

TextLocale::TextLocale() : TextLocale(QLocale()) {}

TextLocale::TextLocale(const QLocale& locale)
    : m_locale(locale), m_decimal(locale.decimalPoint().at(0)),
      m_monetaryDecimal(locale.decimalPoint().at(0)),
      m_shortDate(widenYear(locale.dateFormat(QLocale::ShortFormat))), m_time(timeFormatOf(locale))
{}

bool TextLocale::isNumeric(QStringView text) const
{
    return toNumber(text).has_value();
}

std::optional<double> TextLocale::toNumber(QStringView text) const
{
    const QByteArray canonical = canonicalNumber(text, m_decimal);
    if (canonical.isEmpty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(canonical.constData(), &end);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

double TextLocale::toDouble(QStringView text, Where where) const
{
    const auto number = toNumber(text);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, where);
    return *number;
}

QString TextLocale::fromDouble(double value) const
{
    if (value == 0.0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    // The exponent form as the platform writes it: "1E+15", "1.5E-07".
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const QChar sign = exponent.at(0) == u'-' ? u'-' : u'+';
        exponent.remove(0, exponent.at(0) == u'-' || exponent.at(0) == u'+' ? 1 : 0);
        while (exponent.size() > 2 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = mantissa + u'E' + sign + exponent;
    }
    text.replace(u'.', m_decimal);
    return text;
}

QString TextLocale::format(double value, QStringView pattern) const
{
    const qsizetype point = pattern.indexOf(u'.');
    const int decimals = point < 0 ? 0 : static_cast<int>(pattern.mid(point + 1).count(u'0'));
    if (!std::isfinite(value))
        value = 0.0;
    const auto [whole, fraction] = roundDecimal(std::fabs(value), decimals);
    const bool isZero = whole == "0" && fraction.count('0') == fraction.size();
    QString text = (value < 0 && !isZero) ? QStringLiteral("-") : QString();
    text += QString::fromLatin1(whole);
    if (point >= 0) {
        text += m_decimal;
        text += QString::fromLatin1(fraction);
    }
    return text;
}

qint16 TextLocale::toInt16(QStringView text, Where where) const
{
    return toWholeNumber<qint16>(*this, text, where);
}

qint32 TextLocale::toInt32(QStringView text, Where where) const
{
    return toWholeNumber<qint32>(*this, text, where);
}

// The date test accepts, after trimming blanks at both ends:
//   - a date in the locale's order of day, month and year (en_US month/day/year, fr_FR and de_DE
//     day/month/year), its parts joined by "/", "." or "-" (the same one twice), day and month of
//     one or two digits, the year of two digits (00-29 are 2000-2029, 30-99 are 1930-1999) or four;
//   - an ISO date, yyyy-MM-dd;
//   - either date followed by blanks (or "T" for ISO) and a time;
//   - a time alone: h:mm or h:mm:ss, 24-hour, or 12-hour with AM/PM (A/P, a.m./p.m.); its date is
//     the platform's day zero, 30 December 1899.
// Impossible dates ("31/02/2026") and times ("25:00") are rejected. Month names are not accepted.
bool TextLocale::isDate(QStringView text) const
{
    return toDateTime(text).has_value();
}

std::optional<QDateTime> TextLocale::toDateTime(QStringView text) const
{
    const QStringView body = trimmedBlanks(text);
    if (body.isEmpty())
        return std::nullopt;
    if (auto time = parseTime(body))
        return QDateTime(kDayZero, *time);

    const auto order = dateOrderOf(m_shortDate);
    const auto parseDate = [&](QStringView part) -> std::optional<QDate> {
        if (auto iso = parseIsoDate(part))
            return iso;
        return parseLocaleDate(part, order);
    };

    qsizetype split = body.indexOf(u' ');
    if (split < 0 && parseIsoDate(body.left(body.indexOf(u'T'))))
        split = body.indexOf(u'T');
    if (split < 0) {
        if (auto date = parseDate(body))
            return QDateTime(*date, QTime(0, 0));
        return std::nullopt;
    }
    const auto date = parseDate(body.left(split));
    const auto time = parseTime(trimmedBlanks(body.mid(split + 1)));
    if (!date || !time)
        return std::nullopt;
    return QDateTime(*date, *time);
}

QString TextLocale::dateText(QDate date) const
{
    return m_locale.toString(date, m_shortDate);
}

QString TextLocale::timeText(QTime time) const
{
    return m_locale.toString(time, m_time);
}

QString TextLocale::dateTimeText(const QDateTime& value) const
{
    const QTime time = value.time();
    const bool midnight = time.hour() == 0 && time.minute() == 0 && time.second() == 0;
    if (midnight)
        return dateText(value.date());
    if (value.date() == kDayZero)
        return timeText(time);
    return dateText(value.date()) + u' ' + timeText(time);
}

int monthDifference(QDate from, QDate to)
{
    return (to.year() - from.year()) * 12 + (to.month() - from.month());
}

qint64 dayDifference(QDate from, QDate to)
{
    return from.daysTo(to);
}

QDate addDays(QDate date, qint64 days)
{
    return date.addDays(days);
}

} // namespace valdora
