#include "OverwriteRule.h"

namespace valdora::run {

namespace {

// An absent or empty key reads as its default; then only "1" selects.
bool optionOn(const ButtonFile& button, int index, const QString& defaultValue)
{
    QString value = button.read(ButtonKey::at(ButtonKey::Over, index));
    if (value.isEmpty())
        value = defaultValue;
    return value == QStringLiteral("1");
}

} // namespace

OverwriteRule OverwriteRule::fromButton(const ButtonFile& button)
{
    OverwriteRule rule;
    rule.fillEmpty = optionOn(button, 0, QStringLiteral("1"));
    rule.append = optionOn(button, 1, QStringLiteral("1"));
    rule.overwrite = optionOn(button, 2, QString());
    rule.alwaysWrite = optionOn(button, 3, QString());
    const QString separator = button.read(ButtonKey::AppenSep);
    rule.separator = separator.isEmpty() ? QStringLiteral("-") : separator;
    return rule;
}

OverwriteResult OverwriteRule::apply(const QString& present, const QString& computed) const
{
    if (!fillEmpty && !append && !overwrite && !alwaysWrite)
        return {present, false};
    OverwriteResult result;
    if (fillEmpty) {
        if (present.isEmpty())
            result = {computed, true};
        else
            result.text = present;
    }
    if (append) {
        if (!present.isEmpty() && !computed.isEmpty())
            result = {present + separator + computed, true};
        else if (!computed.isEmpty())
            result = {computed, true};
        else
            result.text = present;
    }
    if (overwrite) {
        if (!computed.isEmpty())
            result = {computed, true};
        else
            result.text = present;
    }
    if (alwaysWrite)
        result = {computed, true};
    return result;
}

} // namespace valdora::run
