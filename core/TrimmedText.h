#pragma once

#include <QStringView>

namespace valdora {

/// `text` without the characters at either end that `isBlank` takes for blanks. What counts as a
/// blank differs: the INI files know spaces and tabs, numbers and dates also no-break spaces.
template <typename IsBlank> QStringView trimmedWhere(QStringView text, IsBlank isBlank)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace valdora
