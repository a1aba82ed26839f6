#include "IniDocument.h"

#include "Cp1252.h"

#include "core/TrimmedText.h"

#include <QStringDecoder>

#include <utility>

namespace valdora {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView text)
{
    return trimmedWhere(text, isBlank);
}

QString folded(QStringView text)
{
    return text.toString().toCaseFolded();
}

bool hasLineBreakOrNul(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    }
    return false;
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// The platform's reading of a value: blanks dropped, then one pair of matching quotes.
QString readValue(QStringView raw)
{
    QStringView value = trimmedBlanks(raw);
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

// The mark at the head of the file is taken off before this; a mark that follows it is text of the
// first line, which Qt's plain decoding would drop and a write and a read would then lose.
QString decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

IniDocument::IniDocument(IniEncoding encoding) : m_encoding(encoding) {}

IniDocument IniDocument::parse(QByteArrayView bytes, IniEncoding encoding)
{
    IniDocument document(encoding);
    if (bytes.startsWith(QByteArrayView(Utf8Bom))) {
        document.m_encoding = IniEncoding::Utf8;
        document.m_byteOrderMark = true;
        bytes = bytes.sliced(3);
    }
    // Split on the bytes, not the text: neither encoding has a "\n" byte inside a character, and each
    // line keeps the bytes it came from, so a line the document does not change is written back as it
    // was, even bytes its encoding cannot read (a Latin-1 letter in a UTF-8 store).
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool lastLine = end < 0;
        if (lastLine)
            end = bytes.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && bytes[lineEnd - 1] == '\r')
            --lineEnd;
        const QByteArrayView lineBytes = bytes.sliced(start, lineEnd - start);
        Line line = parseLine(document.decodeLine(lineBytes));
        line.bytes = lineBytes.toByteArray();
        line.read = true;
        document.m_lines.push_back(std::move(line));
        start = end + 1;
    }
    document.rebuildIndex();
    return document;
}

QString IniDocument::decodeLine(QByteArrayView bytes) const
{
    return m_encoding == IniEncoding::Utf8 ? decodeUtf8(bytes) : Cp1252::decode(bytes);
}

QByteArray IniDocument::encodeLine(const QString& text) const
{
    return m_encoding == IniEncoding::Utf8 ? text.toUtf8() : Cp1252::encode(text);
}

IniDocument::Line IniDocument::parseLine(QString text)
{
    Line line;
    const QStringView content = trimmedBlanks(text);
    if (content.startsWith(u'[')) {
        const qsizetype close = content.indexOf(u']');
        line.kind = LineKind::Section;
        line.name = trimmedBlanks(content.sliced(1, (close < 0 ? content.size() : close) - 1)).toString();
    } else if (!content.startsWith(u';')) {
        const qsizetype equals = content.indexOf(u'=');
        if (equals > 0) {
            const QStringView name = trimmedBlanks(content.first(equals));
            if (!name.isEmpty()) {
                line.kind = LineKind::Key;
                line.name = name.toString();
                line.value = readValue(content.sliced(equals + 1));
            }
        }
    }
    line.text = std::move(text);
    return line;
}

QByteArray IniDocument::serialize() const
{
    QByteArray bytes = m_byteOrderMark ? QByteArray(Utf8Bom) : QByteArray();
    qsizetype size = bytes.size();
    for (const Line& line : m_lines)
        size += (line.read ? line.bytes.size() : line.text.size() * 3) + 2;
    bytes.reserve(size);
    for (const Line& line : m_lines) {
        bytes += line.read ? line.bytes : encodeLine(line.text);
        bytes += "\r\n";
    }
    return bytes;
}

void IniDocument::rebuildIndex()
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section* current = nullptr; // the open section when it is the first of its name
    for (qsizetype i = 0; i < static_cast<qsizetype>(m_lines.size()); ++i) {
        const Line& line = m_lines[static_cast<std::size_t>(i)];
        if (line.kind == LineKind::Section) {
            if (current)
                current->end = i;
            current = nullptr;
            const QString key = folded(line.name);
            if (!m_sectionIndex.contains(key)) {
                m_sectionIndex.insert(key, static_cast<qsizetype>(m_sections.size()));
                m_sections.push_back(
                    Section{.name = line.name, .header = i, .end = i + 1, .keys = {}, .keyOrder = {}});
                current = &m_sections.back();
            }
        } else if (current && line.kind == LineKind::Key) {
            const QString key = folded(line.name);
            if (!current->keys.contains(key)) {
                current->keys.insert(key, i);
                current->keyOrder.append(line.name);
            }
        }
    }
    if (current)
        current->end = static_cast<qsizetype>(m_lines.size());
}

const IniDocument::Section* IniDocument::findSection(QStringView name) const
{
    const auto found = m_sectionIndex.constFind(folded(trimmedBlanks(name)));
    return found == m_sectionIndex.cend() ? nullptr : &m_sections[static_cast<std::size_t>(*found)];
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keys.constFind(folded(trimmedBlanks(key)));
    if (line == found->keys.cend())
        return std::nullopt;
    return m_lines[static_cast<std::size_t>(*line)].value;
}

QString IniDocument::storedValueText(const QString& value)
{
    const bool blankEdge = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool quotedLook = value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    return (blankEdge || quotedLook) ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    if (!isStorableSection(section) || !isStorableKey(key) || !isStorableValue(value))
        return false;
    const QString stored = storedValueText(value);
    const Section* found = findSection(section);
    if (found) {
        const auto existing = found->keys.constFind(folded(trimmedBlanks(key)));
        if (existing != found->keys.cend()) {
            // Keep the line's text up to and including "=", so the key's spelling stays.
            Line& line = m_lines[static_cast<std::size_t>(*existing)];
            line.text = line.text.left(line.text.indexOf(u'=') + 1) + stored;
            line.value = value;
            line.read = false;
            return true;
        }
        // After the section's last line that is not blank, so blank separators stay below it.
        qsizetype insertAt = found->end;
        while (insertAt > found->header + 1 &&
               trimmedBlanks(m_lines[static_cast<std::size_t>(insertAt - 1)].text).isEmpty())
            --insertAt;
        m_lines.insert(m_lines.begin() + insertAt,
                       parseLine(trimmedBlanks(key).toString() + QLatin1Char('=') + stored));
    } else {
        m_lines.push_back(parseLine(QLatin1Char('[') + trimmedBlanks(section).toString() + QLatin1Char(']')));
        m_lines.push_back(parseLine(trimmedBlanks(key).toString() + QLatin1Char('=') + stored));
    }
    rebuildIndex();
    return true;
}

bool IniDocument::removeSection(QStringView section)
{
    const QString name = folded(trimmedBlanks(section));
    std::vector<Line> kept;
    kept.reserve(m_lines.size());
    bool removing = false;
    bool removed = false;
    for (Line& line : m_lines) {
        if (line.kind == LineKind::Section) {
            removing = folded(line.name) == name;
            removed = removed || removing;
        }
        if (!removing)
            kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
    rebuildIndex();
    return removed;
}

QStringList IniDocument::sectionNames() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(m_sections.size()));
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList IniDocument::keyNames(QStringView section) const
{
    const Section* found = findSection(section);
    return found ? found->keyOrder : QStringList();
}

bool IniDocument::isStorableSection(QStringView section)
{
    return !trimmedBlanks(section).isEmpty() && !section.contains(u']') && !hasLineBreakOrNul(section);
}

bool IniDocument::isStorableKey(QStringView key)
{
    const QStringView name = trimmedBlanks(key);
    return !name.isEmpty() && !name.startsWith(u'[') && !name.startsWith(u';') && !key.contains(u'=') &&
           !hasLineBreakOrNul(key);
}

bool IniDocument::isStorableValue(QStringView value)
{
    return !hasLineBreakOrNul(value);
}

} // namespace valdora
