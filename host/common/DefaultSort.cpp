#include "DefaultSort.h"

#include "core/Utf8Text.h"

#include <algorithm>
#include <numeric>

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

/// Appends a unit's value plus one in UTF-8's layout, which keeps the order of the values byte by
/// byte and lets no value's bytes begin another's: the zero byte that closes a name is then below
/// every unit, so that a name that is the start of another comes first, as in the sort.
void appendOrdered(QByteArray& key, char32_t unit)
{
    const char32_t value = unit + 1;
    if (value < 0x80) {
        key.append(char(value));
    } else if (value < 0x800) {
        key.append(char(0xC0 | (value >> 6)));
        key.append(char(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        key.append(char(0xE0 | (value >> 12)));
        key.append(char(0x80 | ((value >> 6) & 0x3F)));
        key.append(char(0x80 | (value & 0x3F)));
    } else {
        key.append(char(0xF0 | (value >> 18)));
        key.append(char(0x80 | ((value >> 12) & 0x3F)));
        key.append(char(0x80 | ((value >> 6) & 0x3F)));
        key.append(char(0x80 | (value & 0x3F)));
    }
}

/// A name's folded units, as DefaultSort compares them, closed by a zero byte.
void appendFoldedName(QByteArray& key, QByteArrayView utf8)
{
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char byte) { return (byte & 0x80) == 0; });
    if (ascii) {
        for (const char byte : utf8)
            appendOrdered(key, char32_t(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte));
    } else {
        const QString text = utf8Verbatim(utf8);
        char16_t before = 0;
        for (const QChar c : text) {
            appendOrdered(key, foldedUnit(c.unicode(), before));
            before = c.unicode();
        }
    }
    key.append('\0');
}

} // namespace

QByteArray defaultSortKey(QByteArrayView company, QByteArrayView contact, QStringView uid)
{
    QByteArray key;
    key.reserve(company.size() + contact.size() + uid.size() + 8);
    appendFoldedName(key, company);
    appendFoldedName(key, contact);
    // The ids compare as QString compares them, unit by unit, unfolded.
    for (const QChar c : uid)
        appendOrdered(key, c.unicode());
    return key;
}

DefaultSort::DefaultSort() : m_distinct(0, NameHash{this}, NameEqual{this}) {}

void DefaultSort::reserve(qsizetype contacts)
{
    m_entries.reserve(static_cast<std::size_t>(contacts));
}

char32_t DefaultSort::unit(const Folded& text, std::size_t i) const
{
    return text.wide ? m_wide[text.start + i] : m_narrow[text.start + i];
}

std::size_t DefaultSort::NameHash::operator()(quint32 name) const
{
    const Folded& text = sort->m_names[name];
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (std::size_t i = 0; i < text.length; ++i)
        hash = (hash ^ sort->unit(text, i)) * 1099511628211ull;
    return hash;
}

bool DefaultSort::NameEqual::operator()(quint32 left, quint32 right) const
{
    return sort->compare(sort->m_names[left], sort->m_names[right]) == 0;
}

quint32 DefaultSort::nameOf(const Folded& folded)
{
    m_names.push_back(folded);
    const auto [found, added] = m_distinct.insert(static_cast<quint32>(m_names.size() - 1));
    if (added)
        return *found;
    // Known already: the first one stands for both, and the units just folded go.
    if (folded.wide)
        m_wide.resize(folded.start);
    else
        m_narrow.resize(folded.start);
    m_names.pop_back();
    return *found;
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
    const quint32 companyName = nameOf(fold(company));
    const quint32 contactName = nameOf(fold(contact));
    m_entries.push_back({uid, record, companyName, contactName});
}

void DefaultSort::add(const ContactId& uid, qint64 record, QStringView company, QStringView contact)
{
    const quint32 companyName = nameOf(fold(company));
    const quint32 contactName = nameOf(fold(contact));
    m_entries.push_back({uid, record, companyName, contactName});
}

int DefaultSort::compare(const Folded& left, const Folded& right) const
{
    if (!left.wide && !right.wide)
        return std::u16string_view(m_narrow)
            .substr(left.start, left.length)
            .compare(std::u16string_view(m_narrow).substr(right.start, right.length));
    const std::size_t common = std::min(left.length, right.length);
    for (std::size_t i = 0; i < common; ++i)
        if (const char32_t a = unit(left, i), b = unit(right, i); a != b)
            return a < b ? -1 : 1;
    // A text that is the start of the other comes first.
    return left.length == right.length ? 0 : (left.length < right.length ? -1 : 1);
}

void DefaultSort::takeSorted(QStringList& ids, QList<qint64>& records)
{
    // The distinct names in order, and each contact's names replaced by their places in it.
    std::vector<quint32> names(m_names.size());
    std::iota(names.begin(), names.end(), 0u);
    std::sort(names.begin(), names.end(),
              [this](quint32 left, quint32 right) { return compare(m_names[left], m_names[right]) < 0; });
    std::vector<quint32> place(m_names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        place[names[i]] = static_cast<quint32>(i);
    for (Entry& entry : m_entries) {
        entry.company = place[entry.company];
        entry.contact = place[entry.contact];
    }
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry& left, const Entry& right) {
        if (left.company != right.company)
            return left.company < right.company;
        if (left.contact != right.contact)
            return left.contact < right.contact;
        return left.uid < right.uid;
    });
    ids.clear();
    records.clear();
    ids.reserve(static_cast<qsizetype>(m_entries.size()));
    records.reserve(static_cast<qsizetype>(m_entries.size()));
    for (Entry& entry : m_entries) {
        ids.append(std::move(entry.uid));
        records.append(entry.record);
    }
    m_entries = {};
    m_names = {};
    m_distinct.clear();
    m_narrow = {};
    m_wide = {};
}

} // namespace valdora::host
