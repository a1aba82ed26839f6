#include "DefaultSort.h"

#include "core/Utf8Text.h"

#include <algorithm>

namespace valdora::host {

namespace {

/// One code unit as QString's case-insensitive comparison folds it: the low half of a surrogate pair
/// stands for the whole character, folded; every other unit is folded alone.
char32_t foldedUnit(char16_t unit, char16_t before)
{
    char32_t character = unit;
    if (QChar::isLowSurrogate(unit) && QChar::isHighSurrogate(before))
        character = QChar::surrogateToUcs4(before, unit);
    return QChar::toCaseFolded(character);
}

} // namespace

void DefaultSort::reserve(qsizetype contacts)
{
    m_entries.reserve(static_cast<std::size_t>(contacts));
}

DefaultSort::Folded DefaultSort::fold(QStringView text)
{
    const auto folded = [&text](auto&& put) {
        char16_t before = 0;
        for (const QChar c : text) {
            if (!put(foldedUnit(c.unicode(), before)))
                return false;
            before = c.unicode();
        }
        return true;
    };
    // Nearly every name folds to 16-bit units; one that does not is kept apart in full code points.
    const std::size_t start = m_narrow.size();
    const bool narrow = folded([this](char32_t unit) {
        if (unit > 0xFFFF)
            return false;
        m_narrow.push_back(static_cast<char16_t>(unit));
        return true;
    });
    if (narrow)
        return {start, static_cast<quint32>(text.size()), false};
    m_narrow.resize(start);
    const std::size_t wideStart = m_wide.size();
    folded([this](char32_t unit) {
        m_wide.push_back(unit);
        return true;
    });
    return {wideStart, static_cast<quint32>(text.size()), true};
}

DefaultSort::Folded DefaultSort::fold(QByteArrayView utf8)
{
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char byte) { return (byte & 0x80) == 0; });
    if (!ascii)
        return fold(QStringView(utf8Verbatim(utf8)));
    // An ASCII character is one code unit, and only A to Z fold.
    const std::size_t start = m_narrow.size();
    for (const char byte : utf8)
        m_narrow.push_back(static_cast<char16_t>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte));
    return {start, static_cast<quint32>(utf8.size()), false};
}

void DefaultSort::add(const ContactId& uid, qint64 record, QByteArrayView company, QByteArrayView contact)
{
    const Folded companyKey = fold(company);
    const Folded contactKey = fold(contact);
    m_entries.push_back({uid, record, companyKey, contactKey});
}

void DefaultSort::add(const ContactId& uid, qint64 record, QStringView company, QStringView contact)
{
    const Folded companyKey = fold(company);
    const Folded contactKey = fold(contact);
    m_entries.push_back({uid, record, companyKey, contactKey});
}

int DefaultSort::compare(const Folded& left, const Folded& right) const
{
    if (!left.wide && !right.wide)
        return std::u16string_view(m_narrow)
            .substr(left.start, left.length)
            .compare(std::u16string_view(m_narrow).substr(right.start, right.length));
    const auto unit = [this](const Folded& text, std::size_t i) -> char32_t {
        return text.wide ? m_wide[text.start + i] : m_narrow[text.start + i];
    };
    const std::size_t common = std::min(left.length, right.length);
    for (std::size_t i = 0; i < common; ++i)
        if (const char32_t a = unit(left, i), b = unit(right, i); a != b)
            return a < b ? -1 : 1;
    // A text that is the start of the other comes first.
    return left.length == right.length ? 0 : (left.length < right.length ? -1 : 1);
}

bool DefaultSort::less(const Entry& left, const Entry& right) const
{
    if (const int c = compare(left.company, right.company))
        return c < 0;
    if (const int c = compare(left.contact, right.contact))
        return c < 0;
    return left.uid < right.uid;
}

void DefaultSort::takeSorted(QStringList& ids, QList<qint64>& records)
{
    std::sort(m_entries.begin(), m_entries.end(),
              [this](const Entry& left, const Entry& right) { return less(left, right); });
    ids.clear();
    records.clear();
    ids.reserve(static_cast<qsizetype>(m_entries.size()));
    records.reserve(static_cast<qsizetype>(m_entries.size()));
    for (Entry& entry : m_entries) {
        ids.append(std::move(entry.uid));
        records.append(entry.record);
    }
    m_entries = {};
    m_narrow = {};
    m_wide = {};
}

} // namespace valdora::host
