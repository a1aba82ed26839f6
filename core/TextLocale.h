#pragma once

#include "Failure.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

#include <array>
#include <optional>

namespace valdora {

/// The platform's text semantics for numbers and dates, in the user's locale: the numeric test and
/// conversions, patterns such as "0.00000000", the date test and the short date and time forms.
/// A value type: pin a locale by constructing one (tests pin en_US, fr_FR and de_DE).
class TextLocale {
public:
    /// The user's locale (QLocale() at the moment of the call).
    TextLocale();
    explicit TextLocale(const QLocale& locale);

    const QLocale& locale() const { return m_locale; }
    /// The user's decimal separator.
    QChar decimalSeparator() const { return m_decimal; }
    /// The user's monetary decimal separator (ValdoraAuto uses it).
    QChar monetaryDecimalSeparator() const { return m_monetaryDecimal; }

    // Numbers --------------------------------------------------------------------------------------

    /// The numeric test: surrounding blanks, an optional sign, digits with at most one decimal
    /// separator (the user's), an optional exponent. No thousands separators. "" is not numeric.
    bool isNumeric(QStringView text) const;
    /// The number a numeric text stands for; nullopt when the text fails isNumeric.
    std::optional<double> toNumber(QStringView text) const;
    /// Text to double; throws Failure(TypeMismatch) when the text is not numeric.
    double toDouble(QStringView text, Where where = Where::current()) const;
    /// Double to text: up to 15 significant digits, the user's separator, no thousands separators,
    /// no trailing zeros ("7.5", "-0.25", "12"); fixed notation from 1E-05 to 999999999999999, the
    /// "1.5E+20" form beyond.
    QString fromDouble(double value) const;
    /// Formats with a pattern of the "0", "0.", "0.00000000" kind: fixed decimals (as many as there
    /// are zeros after the point), rounded half away from zero, the user's separator. "0." gives the
    /// whole number followed by the separator.
    QString format(double value, QStringView pattern) const;
    /// Text to a whole number, rounding halves to the even neighbour ("2.5" -> 2, "3.5" -> 4);
    /// throws Failure(TypeMismatch) for a text that is not numeric, Failure(Overflow) out of range.
    qint16 toInt16(QStringView text, Where where = Where::current()) const;
    qint32 toInt32(QStringView text, Where where = Where::current()) const;

    // Dates ----------------------------------------------------------------------------------------

    /// The short date format, always with a four-digit year (a two-digit one is widened).
    const QString& shortDateFormat() const { return m_shortDate; }
    /// The time format (the locale's long time format: with seconds).
    const QString& timeFormat() const { return m_time; }

    /// The date test: accepts what a user of the locale types (see TextLocale.cpp for the list).
    bool isDate(QStringView text) const;
    /// The date and time a text stands for (time 00:00 when it has none, date 30 Dec 1899 for a time
    /// alone); nullopt when not a date.
    std::optional<QDateTime> toDateTime(QStringView text) const;
    /// Date to text in the short date format.
    QString dateText(QDate date) const;
    /// Time to text in the time format.
    QString timeText(QTime time) const;
    /// The default text form of a date-time: short date, a blank, the time; the date alone when the
    /// time is exactly midnight, the time alone when the value holds a time alone (isTimeAlone).
    QString dateTimeText(const QDateTime& value) const;

    /// Whether a date-time holds a time alone: its date is 30 Dec 1899, the date a time typed
    /// without a date is given, as on the platform.
    static bool isTimeAlone(const QDateTime& value);
    /// The date that a time typed without a date is given: 30 Dec 1899.
    static QDate timeAloneDate() { return QDate(1899, 12, 30); }

private:
    std::optional<QDate> parseDate(QStringView text) const;
    std::optional<QTime> parseTime(QStringView text) const;

    QLocale m_locale;
    QChar m_decimal;
    QChar m_monetaryDecimal;
    QString m_shortDate;
    QString m_time;
    std::array<char, 3> m_dateOrder{'M', 'd', 'y'}; // order of month, day and year in a short date
    QChar m_dateSeparator{u'/'};
    QChar m_timeSeparator{u':'};
    QString m_amText;
    QString m_pmText;
};

/// Calendar-month boundaries from one date to another (1 Jan -> 31 Jan is 0, 31 Jan -> 1 Feb is 1);
/// negative when `to` is earlier.
int monthDifference(QDate from, QDate to);
/// Calendar days from one date to another; negative when `to` is earlier.
qint64 dayDifference(QDate from, QDate to);
/// A date shifted by a whole number of days.
QDate addDays(QDate date, qint64 days);

} // namespace valdora
