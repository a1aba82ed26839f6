// Fuzzes the text semantics of numbers and dates in the three locales the suite is tested in. The
// input's first line is the text under test; what follows it is a pattern for TextLocale::format.
// Besides crashes, it checks that the tests agree with the conversions and that whatever the suite
// writes for a value (fromDouble, format, dateTimeText) reads back as that value.

#include "FuzzSupport.h"

#include "core/TextLocale.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

using valdora::Failure;
using valdora::TextLocale;
using valdora::fuzz::check;

namespace {

// Near the top of the double range, 15 significant digits round past it ("1.79769313486232E+308"),
// as on the platform: such values are left out of the read-back check.
constexpr double ReadBackLimit = 1e307;

const std::array<TextLocale, 3>& locales()
{
    static const std::array<TextLocale, 3> all{TextLocale(QLocale(QStringLiteral("en_US"))),
                                               TextLocale(QLocale(QStringLiteral("fr_FR"))),
                                               TextLocale(QLocale(QStringLiteral("de_DE")))};
    return all;
}

bool isClose(double got, double expected)
{
    return std::fabs(got - expected) <= 1e-13 * std::max(std::fabs(expected), 1e-300);
}

template <typename Int>
void checkWhole(const TextLocale& locale, QStringView text, std::optional<double> number)
{
    try {
        const Int whole = sizeof(Int) == 2 ? locale.toInt16(text) : locale.toInt32(text);
        check(number.has_value(), "a whole number is read only from a numeric text", text.toString());
        check(std::fabs(double(whole) - *number) <= 0.5, "a whole number is the nearest one",
              QString::number(whole), locale.fromDouble(*number));
    } catch (const Failure&) {
        // Not numeric, or out of range: both are reported to the user as the platform does.
    }
}

void checkNumber(const TextLocale& locale, QStringView text, QStringView pattern)
{
    const std::optional<double> number = locale.toNumber(text);
    check(locale.isNumeric(text) == number.has_value(), "the numeric test agrees with toNumber",
          text.toString());
    try {
        const double value = locale.toDouble(text);
        check(number.has_value() && value == *number, "toDouble agrees with toNumber",
              locale.fromDouble(value));
    } catch (const Failure&) {
        check(!number, "toDouble fails only for a text that is not numeric", text.toString());
    }
    checkWhole<qint16>(locale, text, number);
    checkWhole<qint32>(locale, text, number);
    if (!number)
        return;
    check(std::isfinite(*number), "a numeric text is finite", text.toString());
    const QString written = locale.fromDouble(*number);
    if (std::fabs(*number) < ReadBackLimit) {
        const std::optional<double> reread = locale.toNumber(written);
        check(reread.has_value(), "a number written reads back as a number", written);
        check(isClose(*reread, *number), "a number written reads back as itself", locale.fromDouble(*reread),
              written);
    }
    for (const QStringView fixed : {u"0", u"0.", u"0.00", u"0.00000000", u"#.##"})
        (void)locale.format(*number, fixed);
    const QString formatted = locale.format(*number, pattern);
    if (std::fabs(*number) < ReadBackLimit && pattern == u"0.00")
        check(locale.isNumeric(formatted), "a fixed-point text reads back as a number", formatted);
}

void checkDate(const TextLocale& locale, QStringView text)
{
    const std::optional<QDateTime> value = locale.toDateTime(text);
    check(locale.isDate(text) == value.has_value(), "the date test agrees with toDateTime", text.toString());
    if (!value)
        return;
    check(value->isValid(), "a date read is valid", text.toString());
    check(value->date().year() >= 100 && value->date().year() <= 9999, "a date read lies in 100-9999",
          value->toString(Qt::ISODate));
    const QString written = locale.dateTimeText(*value);
    const std::optional<QDateTime> reread = locale.toDateTime(written);
    check(reread.has_value(), "a date written reads back as a date", written);
    check(*reread == *value, "a date written reads back as itself", reread->toString(Qt::ISODate),
          value->toString(Qt::ISODate));
    check(locale.dateText(value->date()) == written.left(locale.dateText(value->date()).size()) ||
              TextLocale::isTimeAlone(*value),
          "a date and time is written date first", written);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    valdora::fuzz::pinEnvironment();
    (void)locales();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = valdora::fuzz::utf8Text(data, size);
    const qsizetype newline = input.indexOf(u'\n');
    const QStringView text = newline < 0 ? QStringView(input) : QStringView(input).first(newline);
    const QStringView pattern = newline < 0 ? QStringView(u"0.00") : QStringView(input).sliced(newline + 1);
    for (const TextLocale& locale : locales()) {
        checkNumber(locale, text, pattern);
        checkDate(locale, text);
    }
    return 0;
}
