#include "TextLocale.h"

#include "TrimmedText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

// What the suite accepts as a number and as a date, in the locale of the TextLocale.
//
// Numbers (isNumeric, toNumber, toDouble, toInt16, toInt32):
//   blanks* [+|-] digits [sep digits*] [(e|E) [+|-] digits] blanks*
//   blanks* [+|-] sep digits [(e|E) [+|-] digits] blanks*
// where sep is the locale's decimal separator ("." in en_US, "," in fr_FR and de_DE; a "." is then
// not a separator and makes the text non-numeric), blanks are spaces, tabs and no-break spaces.
// No thousands separators, no currency signs, no hexadecimal. A text whose value lies beyond the
// range of a double is not numeric.
//
// Dates (isDate, toDateTime), after surrounding blanks are dropped:
//   - a short date in the locale's order of day, month and year with the locale's date separator
//     ("1/5/2026" or "1/5/26" in en_US, "05/01/2026" in fr_FR, "5.1.26" in de_DE); day and month of
//     one or two digits, a year of four digits or of one or two (00-29 -> 2000-2029, 30-99 ->
//     1930-1999); years 100 to 9999;
//   - an ISO date, yyyy-MM-dd (month and day of one or two digits);
//   - either of these, then blanks (or "T" after an ISO date), then a time;
//   - a time alone; its date is 30 Dec 1899, as on the platform.
// A time is hours, minutes and optional seconds, separated by ":" or the locale's time separator,
// with hours 0-23, or 1-12 followed (or preceded) by the locale's AM/PM text or "AM"/"PM" in any case;
// hours alone only with AM/PM ("9 PM"). Impossible dates ("31/02/2026") and times ("25:00") are
// rejected, and so are month names, weekdays and dates without a year.
//
// Dates are written in the locale's short date widened to a four-digit year ("M/d/yyyy",
// "dd.MM.yyyy") and its time with seconds, without a time zone. A locale whose short date holds
// names or blanks (the C locale's "d MMM yyyy") writes ISO dates instead, and one whose time holds
// words writes "HH:mm:ss", so that every date written is one word that the date test reads back.

namespace valdora {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x00A0) || c == QChar(0x202F);
}

QStringView trimmedBlanks(QStringView text)
{
    return trimmedWhere(text, isBlank);
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

/// A finite double rounded to 15 significant digits: 0.digits x 10^exponent, digits without
/// trailing zeros (empty for zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0.0)
        return d;
    d.negative = value < 0;
    char buffer[64];
    // d.dddddddddddddde+XX: 15 significant digits, independent of the C locale.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.exponent = std::stoi(text.substr(e + 1)) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

/// The whole and fractional digits of a decimal in fixed notation.
void fixedParts(const Decimal& d, std::string& whole, std::string& fraction)
{
    const int length = static_cast<int>(d.digits.size());
    if (d.digits.empty()) {
        whole = "0";
        fraction.clear();
    } else if (d.exponent <= 0) {
        whole = "0";
        fraction = std::string(static_cast<size_t>(-d.exponent), '0') + d.digits;
    } else if (d.exponent >= length) {
        whole = d.digits + std::string(static_cast<size_t>(d.exponent - length), '0');
        fraction.clear();
    } else {
        whole = d.digits.substr(0, static_cast<size_t>(d.exponent));
        fraction = d.digits.substr(static_cast<size_t>(d.exponent));
    }
}

/// Adds one unit in the last place of a digit string; returns false when it carries out of it.
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return true;
        }
        *it = '0';
    }
    return false;
}

bool isFormatLetter(QChar c)
{
    return c == u'd' || c == u'M' || c == u'y' || c == u'h' || c == u'H' || c == u'm' || c == u's' ||
           c == u'z' || c == u'a' || c == u'A' || c == u'p' || c == u'P' || c == u't';
}

/// A format with no-break spaces as plain blanks, so that what we write can be typed back.
QString withPlainBlanks(QString format)
{
    format.replace(QChar(0x202F), u' ');
    format.replace(QChar(0x00A0), u' ');
    return format;
}

/// The short date format with every one- or two-letter year widened to four letters.
QString widenedYear(const QString& format)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        if (!quoted && c == u'y') {
            qsizetype run = 0;
            while (i + run < format.size() && format[i + run] == u'y')
                ++run;
            out += run <= 2 ? QStringLiteral("yyyy") : format.mid(i, run);
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

/// The long time format without its time-zone part ("h:mm:ss AP t" -> "h:mm:ss AP").
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.simplified();
}

/// Whether a date format writes only numbers and one separator between them: no month or weekday
/// names, no blanks, no quoted text, so that what it writes is one word that reads back.
bool isNumericDateFormat(const QString& format)
{
    QChar separator;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype run = 0;
            while (i + run < format.size() && format[i + run] == c)
                ++run;
            if (c != u'y' && run > 2)
                return false;
            i += run;
            continue;
        }
        if (c.isLetter() || c.isSpace() || c == u'\'' || (!separator.isNull() && c != separator))
            return false;
        separator = c;
        ++i;
    }
    return !separator.isNull();
}

/// Whether a time format writes only numbers, one separator and the AM/PM marker.
bool isNumericTimeFormat(const QString& format)
{
    QChar separator;
    for (QChar c : format) {
        if (c == u'h' || c == u'H' || c == u'm' || c == u's' || c == u'A' || c == u'P' || c == u'a' ||
            c == u'p' || c == u' ')
            continue;
        if (c.isLetter() || c == u'\'' || (!separator.isNull() && c != separator))
            return false;
        separator = c;
    }
    return !separator.isNull();
}

/// The short date of a locale as the suite writes it: widened to a four-digit year, and the ISO
/// form for a locale whose short date has names or blanks ("d MMM yyyy" of the C locale), which a
/// reader that keeps the text before the first blank would cut.
QString shortDateOf(const QLocale& locale)
{
    const QString format = widenedYear(withPlainBlanks(locale.dateFormat(QLocale::ShortFormat)));
    return isNumericDateFormat(format) ? format : QStringLiteral("yyyy-MM-dd");
}

/// The time of a locale with seconds and without a time zone; "HH:mm:ss" for a locale whose time
/// has words in it (the date test reads digits, separators and AM/PM only).
QString timeOf(const QLocale& locale)
{
    const QString format = withoutTimeZone(withPlainBlanks(locale.timeFormat(QLocale::LongFormat)));
    return isNumericTimeFormat(format) ? format : QStringLiteral("HH:mm:ss");
}

/// The first separator character after the first field of a format ("M/d/yyyy" -> '/').
QChar separatorAfterFirstField(const QString& format, QChar fallback)
{
    qsizetype i = 0;
    while (i < format.size() && !isFormatLetter(format[i]))
        ++i;
    while (i < format.size() && isFormatLetter(format[i]))
        ++i;
    while (i < format.size() && (format[i] == u' ' || format[i] == u'\''))
        ++i;
    return i < format.size() && !isFormatLetter(format[i]) ? format[i] : fallback;
}

/// The order of day, month and year in a date format, as 'd', 'M' and 'y'.
std::array<char, 3> fieldOrder(const QString& format)
{
    std::array<char, 3> order{};
    size_t found = 0;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || (c != u'd' && c != u'M' && c != u'y'))
            continue;
        const char letter = static_cast<char>(c.unicode());
        bool seen = false;
        for (size_t k = 0; k < found; ++k)
            seen = seen || order[k] == letter;
        if (!seen && found < order.size())
            order[found++] = letter;
    }
    if (found != order.size())
        return {'M', 'd', 'y'};
    return order;
}

QChar monetarySeparator(const QLocale& locale, QChar fallback)
{
    const QString sample = locale.toCurrencyString(1.5, QString(), 1);
    const qsizetype one = sample.indexOf(u'1');
    if (one < 0 || one + 1 >= sample.size() || isAsciiDigit(sample[one + 1]))
        return fallback;
    return sample[one + 1];
}

/// Strips a leading or trailing AM/PM marker; returns +1 for PM, 0 for AM, -1 for none.
using Markers = std::array<QStringView, 2>;

int takeMeridiem(QStringView& text, const Markers& amTexts, const Markers& pmTexts)
{
    const auto strip = [&text](const Markers& markers) {
        for (const QStringView marker : markers) {
            if (marker.isEmpty())
                continue;
            if (text.endsWith(marker, Qt::CaseInsensitive)) {
                text = trimmedBlanks(text.chopped(marker.size()));
                return true;
            }
            if (text.startsWith(marker, Qt::CaseInsensitive)) {
                text = trimmedBlanks(text.sliced(marker.size()));
                return true;
            }
        }
        return false;
    };
    if (strip(pmTexts))
        return 1;
    if (strip(amTexts))
        return 0;
    return -1;
}

/// A date of the years 100 to 9999, the range of the platform's dates; nullopt when impossible.
std::optional<QDate> validDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (year < 100 || year > 9999 || !date.isValid())
        return std::nullopt;
    return date;
}

std::optional<qint64> roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;
    if (!(std::fabs(rounded) < 9.0e18))
        return std::nullopt;
    return static_cast<qint64>(rounded);
}

template <typename Int> Int toWhole(const TextLocale& locale, QStringView text, Where where)
{
    const std::optional<double> number = locale.toNumber(text);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, where);
    const std::optional<qint64> rounded = roundHalfEven(*number);
    if (!rounded || *rounded < std::numeric_limits<Int>::min() || *rounded > std::numeric_limits<Int>::max())
        throw Failure(ErrorNumber::Overflow, where);
    return static_cast<Int>(*rounded);
}

} // namespace

TextLocale::TextLocale() : TextLocale(QLocale()) {}

TextLocale::TextLocale(const QLocale& locale)
    : m_locale(locale),
      m_decimal(locale.decimalPoint().isEmpty() ? QChar(u'.') : locale.decimalPoint().at(0)),
      m_monetaryDecimal(monetarySeparator(locale, m_decimal)), m_shortDate(shortDateOf(locale)),
      m_time(timeOf(locale)), m_dateOrder(fieldOrder(m_shortDate)),
      m_dateSeparator(separatorAfterFirstField(m_shortDate, u'/')),
      m_timeSeparator(separatorAfterFirstField(m_time, u':')), m_amText(locale.amText()),
      m_pmText(locale.pmText())
{}

// Numbers ------------------------------------------------------------------------------------------

bool TextLocale::isNumeric(QStringView text) const
{
    return toNumber(text).has_value();
}

std::optional<double> TextLocale::toNumber(QStringView text) const
{
    const QStringView t = trimmedBlanks(text);
    std::string ascii;
    ascii.reserve(static_cast<size_t>(t.size()));
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isAsciiDigit(c)) {
            ascii += static_cast<char>(c.unicode());
            ++mantissaDigits;
        } else if (c == m_decimal && !separator) {
            ascii += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ascii += static_cast<char>(t[i++].unicode());
        int exponentDigits = 0;
        for (; i < t.size() && isAsciiDigit(t[i]); ++i, ++exponentDigits)
            ascii += static_cast<char>(t[i].unicode());
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double TextLocale::toDouble(QStringView text, Where where) const
{
    const std::optional<double> number = toNumber(text);
    if (!number)
        throw Failure(ErrorNumber::TypeMismatch, where);
    return *number;
}

QString TextLocale::fromDouble(double value) const
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    const Decimal d = toDecimal(value);
    if (d.digits.empty())
        return QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    // Fixed notation from 1E-05 up to 999999999999999; beyond, the platform's "1.5E+20" form.
    if (d.exponent > 15 || d.exponent < -4) {
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1)
            out += m_decimal + QString::fromLatin1(d.digits.substr(1));
        const int exponent = d.exponent - 1;
        out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return out;
    }
    std::string whole;
    std::string fraction;
    fixedParts(d, whole, fraction);
    out += QString::fromLatin1(whole);
    if (!fraction.empty())
        out += m_decimal + QString::fromLatin1(fraction);
    return out;
}

QString TextLocale::format(double value, QStringView pattern) const
{
    if (!std::isfinite(value))
        return fromDouble(value);
    // Literal text around the digit part of the pattern is copied as it is.
    const auto isDigitPart = [](QChar c) { return c == u'0' || c == u'#' || c == u'.'; };
    qsizetype first = 0;
    while (first < pattern.size() && !isDigitPart(pattern[first]))
        ++first;
    qsizetype last = pattern.size();
    while (last > first && !isDigitPart(pattern[last - 1]))
        --last;
    const QStringView core = pattern.sliced(first, last - first);
    const qsizetype point = core.indexOf(u'.');
    const QStringView wholePattern = point < 0 ? core : core.first(point);
    const QStringView fractionPattern = point < 0 ? QStringView() : core.sliced(point + 1);
    const auto minWhole = static_cast<size_t>(wholePattern.count(u'0'));
    const auto minFraction = static_cast<size_t>(fractionPattern.count(u'0'));
    const auto maxFraction = minFraction + static_cast<size_t>(fractionPattern.count(u'#'));

    const Decimal d = toDecimal(value);
    std::string whole;
    std::string fraction;
    fixedParts(d, whole, fraction);
    // Round half away from zero on the 15-digit decimal the user sees, not on the binary value,
    // so that 2.675 gives 2.68.
    if (fraction.size() > maxFraction) {
        const bool up = fraction[maxFraction] >= '5';
        fraction.resize(maxFraction);
        if (up) {
            std::string all = whole + fraction;
            if (!incrementDigits(all))
                all.insert(all.begin(), '1');
            whole = all.substr(0, all.size() - maxFraction);
            fraction = all.substr(all.size() - maxFraction);
        }
    }
    while (fraction.size() > minFraction && fraction.back() == '0')
        fraction.pop_back();
    fraction.resize(std::max(fraction.size(), minFraction), '0');
    while (!whole.empty() && whole.front() == '0')
        whole.erase(whole.begin());
    if (whole.size() < minWhole)
        whole.insert(0, minWhole - whole.size(), '0');

    const bool nonZero = (whole + fraction).find_first_not_of('0') != std::string::npos;
    QString out = pattern.first(first).toString();
    if (d.negative && nonZero)
        out += u'-';
    out += QString::fromLatin1(whole);
    if (point >= 0)
        out += m_decimal + QString::fromLatin1(fraction);
    out += pattern.sliced(last);
    return out;
}

qint16 TextLocale::toInt16(QStringView text, Where where) const
{
    return toWhole<qint16>(*this, text, where);
}

qint32 TextLocale::toInt32(QStringView text, Where where) const
{
    return toWhole<qint32>(*this, text, where);
}

// Dates --------------------------------------------------------------------------------------------

std::optional<QDate> TextLocale::parseDate(QStringView text) const
{
    const QStringView t = trimmedBlanks(text);
    // ISO: yyyy-MM-dd.
    const QList<QStringView> iso = t.split(u'-');
    if (iso.size() == 3 && iso[0].size() == 4 && allDigits(iso[0]) && allDigits(iso[1]) &&
        iso[1].size() <= 2 && allDigits(iso[2]) && iso[2].size() <= 2) {
        return validDate(iso[0].toInt(), iso[1].toInt(), iso[2].toInt());
    }
    const QList<QStringView> parts = t.split(m_dateSeparator);
    if (parts.size() != 3)
        return std::nullopt;
    int day = 0;
    int month = 0;
    int year = 0;
    for (size_t k = 0; k < m_dateOrder.size(); ++k) {
        const QStringView part = trimmedBlanks(parts[static_cast<qsizetype>(k)]);
        if (!allDigits(part))
            return std::nullopt;
        const int number = part.toInt();
        switch (m_dateOrder[k]) {
        case 'd':
            if (part.size() > 2)
                return std::nullopt;
            day = number;
            break;
        case 'M':
            if (part.size() > 2)
                return std::nullopt;
            month = number;
            break;
        default:
            if (part.size() == 4)
                year = number;
            else if (part.size() <= 2)
                year = number < 30 ? 2000 + number : 1900 + number;
            else
                return std::nullopt;
        }
    }
    return validDate(year, month, day);
}

std::optional<QTime> TextLocale::parseTime(QStringView text) const
{
    QStringView t = trimmedBlanks(text);
    const int meridiem = takeMeridiem(t, {m_amText, u"AM"}, {m_pmText, u"PM"});
    QList<QStringView> parts = t.split(u':');
    if (parts.size() == 1 && m_timeSeparator != u':')
        parts = t.split(m_timeSeparator);
    if (parts.size() > 3 || (parts.size() == 1 && meridiem < 0))
        return std::nullopt;
    int fields[3] = {0, 0, 0};
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QStringView part = parts[k];
        if (!allDigits(part) || part.size() > 2)
            return std::nullopt;
        fields[k] = part.toInt();
    }
    int hour = fields[0];
    if (meridiem >= 0) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (meridiem == 1 ? 12 : 0);
    }
    const QTime time(hour, fields[1], fields[2]);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

bool TextLocale::isDate(QStringView text) const
{
    return toDateTime(text).has_value();
}

std::optional<QDateTime> TextLocale::toDateTime(QStringView text) const
{
    const QStringView t = trimmedBlanks(text);
    if (t.isEmpty())
        return std::nullopt;
    if (const auto date = parseDate(t))
        return QDateTime(*date, QTime(0, 0));
    if (const auto time = parseTime(t))
        return QDateTime(timeAloneDate(), *time);
    // An ISO date and time joined by "T".
    if (t.size() > 11 && t[10] == u'T') {
        const auto date = parseDate(t.first(10));
        const auto time = parseTime(t.sliced(11));
        if (date && time)
            return QDateTime(*date, *time);
    }
    // A date, blanks and a time; a date format may hold blanks itself ("5. 1. 2026"), so every
    // blank is tried as the split.
    for (qsizetype i = 1; i + 1 < t.size(); ++i) {
        if (!isBlank(t[i]))
            continue;
        const auto date = parseDate(t.first(i));
        if (!date)
            continue;
        if (const auto time = parseTime(t.sliced(i + 1)))
            return QDateTime(*date, *time);
    }
    return std::nullopt;
}

QString TextLocale::dateText(QDate date) const
{
    return m_locale.toString(date, m_shortDate);
}

QString TextLocale::timeText(QTime time) const
{
    return withPlainBlanks(m_locale.toString(time, m_time));
}

bool TextLocale::isTimeAlone(const QDateTime& value)
{
    return value.date() == timeAloneDate();
}

QString TextLocale::dateTimeText(const QDateTime& value) const
{
    if (isTimeAlone(value))
        return timeText(value.time());
    if (value.time() == QTime(0, 0))
        return dateText(value.date());
    return dateText(value.date()) + u' ' + timeText(value.time());
}

// Calendar -----------------------------------------------------------------------------------------

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
