#include "FieldOptions.h"

#include <algorithm>

namespace valdora::editor {

namespace {

// The digits box holds digits only (its key filter and validator see to that); a box of digits too
// long for the count reads as the largest count.
std::optional<qlonglong> digitsNumber(const QString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong number = digits.toLongLong(&ok);
    return ok ? number : LargestTruncateDigits;
}

} // namespace

FieldOptionsEntries fieldOptionsOf(const AutoNumberPage& page)
{
    // Without truncation the count is the run's "keep everything" (254 by default), which means
    // nothing to the user: the box stays empty, and an empty box keeps that count on OK.
    return {page.intTruncateA != 0,
            page.intTruncateA != 0 ? QString::number(page.intTruncateDigitsA) : QString(),
            page.intCapsA != 0};
}

FieldOptionsProblem checkFieldOptions(const FieldOptionsEntries& entries)
{
    if (entries.truncate && entries.digits.isEmpty())
        return FieldOptionsProblem::DigitsMissing;
    if (entries.digits.isEmpty())
        return FieldOptionsProblem::None;
    const std::optional<qlonglong> number = digitsNumber(entries.digits);
    if (!number || *number < 1)
        return FieldOptionsProblem::DigitsBelowOne;
    return FieldOptionsProblem::None;
}

AutoNumberPage withFieldOptions(AutoNumberPage page, const FieldOptionsEntries& entries)
{
    page.intTruncateA = entries.truncate ? 1 : 0;
    page.intCapsA = entries.upperCase ? 1 : 0;
    if (const std::optional<qlonglong> number = digitsNumber(entries.digits))
        page.intTruncateDigitsA = static_cast<int>(std::clamp<qlonglong>(*number, 1, LargestTruncateDigits));
    return page;
}

} // namespace valdora::editor
