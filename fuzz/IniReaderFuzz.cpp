// Fuzzes the INI reader with the bytes of a file, as both encodings read it: the parse itself,
// that a document written back reads the same, that setting a key changes that key alone, that
// removing a section removes that section alone, and that IniLib reads the same values from disk.

#include "FuzzSupport.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "settings/Cp1252.h"
#include "settings/IniDocument.h"
#include "settings/IniLib.h"

#include <QFile>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

using valdora::IniDocument;
using valdora::IniEncoding;
using valdora::fuzz::check;

namespace {

// Keys looked at per document: each set rebuilds the index, so a long file is not walked whole.
constexpr qsizetype KeysPerDocument = 8;

struct Entry {
    QString section;
    QString key;
    QString value;
};

// Every value the document reads, section by section (first key of a name only).
std::vector<Entry> entriesOf(const IniDocument& document)
{
    std::vector<Entry> entries;
    for (const QString& section : document.sectionNames()) {
        for (const QString& key : document.keyNames(section)) {
            const std::optional<QString> value = document.value(section, key);
            check(value.has_value(), "a listed key has a value", key);
            entries.push_back({section, key, *value});
        }
    }
    return entries;
}

void checkSameEntries(const std::vector<Entry>& got, const std::vector<Entry>& expected, const char* property)
{
    check(got.size() == expected.size(), property, QString::number(got.size()),
          QString::number(expected.size()));
    for (std::size_t i = 0; i < got.size(); ++i) {
        check(got[i].section == expected[i].section && got[i].key == expected[i].key, property,
              got[i].section + u'/' + got[i].key, expected[i].section + u'/' + expected[i].key);
        check(got[i].value == expected[i].value, property, got[i].value, expected[i].value);
    }
}

// Whether a value survives being written in the document's encoding.
bool isRepresentable(const QString& value, IniEncoding encoding)
{
    return encoding == IniEncoding::Utf8 ? QString::fromUtf8(value.toUtf8()) == value
                                         : valdora::Cp1252::canEncode(value);
}

void checkRoundTrip(const IniDocument& document, IniEncoding encoding, const std::vector<Entry>& entries)
{
    const QByteArray written = document.serialize();
    const IniDocument reread = IniDocument::parse(written, encoding);
    checkSameEntries(entriesOf(reread), entries, "a document written back reads the same");
    check(reread.serialize() == written, "a document written back is written the same",
          QString::fromLatin1(reread.serialize().toHex()), QString::fromLatin1(written.toHex()));
}

// Sets each listed key to a value taken from another key, then a new key in each section: the key
// reads the new value (also after a write and a read) and every other key keeps its own.
void checkSetValue(IniDocument document, IniEncoding encoding, const std::vector<Entry>& entries)
{
    std::vector<Entry> expected = entries;
    const auto count = std::min<std::size_t>(entries.size(), KeysPerDocument);
    for (std::size_t i = 0; i < count; ++i) {
        const QString value = entries[(i + 1) % entries.size()].value + entries[i].key;
        // A file may hold names that a write refuses (a NUL, a lone CR, an empty section name).
        if (!IniDocument::isStorableSection(entries[i].section) ||
            !IniDocument::isStorableKey(entries[i].key) || !IniDocument::isStorableValue(value) ||
            !isRepresentable(value, encoding))
            continue;
        check(document.setValue(entries[i].section, entries[i].key, value), "a storable value is stored",
              value);
        expected[i].value = value;
    }
    checkSameEntries(entriesOf(document), expected, "setting a key changes that key alone");
    checkRoundTrip(document, encoding, expected);

    const QString added = QStringLiteral("FuzzAdded");
    for (const QString& section : document.sectionNames()) {
        if (document.value(section, added) || !IniDocument::isStorableSection(section))
            continue;
        check(document.setValue(section, added, QStringLiteral(" padded ")), "a new key is stored", section);
        check(document.value(section, added) == QStringLiteral(" padded "), "a new key reads back",
              document.value(section, added).value_or(QStringLiteral("<absent>")));
    }
}

void checkRemoveSection(IniDocument document, const std::vector<Entry>& entries)
{
    const QStringList sections = document.sectionNames();
    if (sections.isEmpty())
        return;
    const QString& removed = sections.first();
    check(document.removeSection(removed), "a listed section is removed", removed);
    check(!document.value(removed, QStringLiteral("x")).has_value() && document.keyNames(removed).isEmpty(),
          "a removed section is gone", removed);
    std::vector<Entry> kept;
    for (const Entry& entry : entries) {
        if (entry.section.toCaseFolded() != removed.toCaseFolded())
            kept.push_back(entry);
    }
    checkSameEntries(entriesOf(document), kept, "removing a section keeps the others");
}

// IniLib reads the settings file and button files from disk, in Windows-1252, cut to 126 characters.
void checkIniLib(QByteArrayView bytes, const std::vector<Entry>& entries)
{
    static valdora::ScriptedPlatform platform;
    static const valdora::ErrorReporter reporter(platform, QStringLiteral("Fuzz"), [] { return QString(); });
    static const valdora::IniLib ini(reporter);
    static const QString path = valdora::fuzz::scratchFolder() + QStringLiteral("/Input.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        check(false, "the scratch file is written", path);
    file.close();
    const auto count = std::min<std::size_t>(entries.size(), KeysPerDocument);
    for (std::size_t i = 0; i < count; ++i) {
        const Entry& entry = entries[i];
        const QString expected = entry.value.isEmpty() ? QStringLiteral("default") : entry.value.left(126);
        const QString got =
            ini.GetKeyValue(entry.section, entry.key, QStringLiteral("default"), {}, {}, path);
        check(got == expected, "IniLib reads the value the document holds", got, expected);
    }
    check(platform.messages().isEmpty(), "IniLib reads without a failure report",
          platform.messages().isEmpty() ? QString() : platform.messages().first().text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    valdora::fuzz::pinEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const IniEncoding encoding : {IniEncoding::Cp1252, IniEncoding::Utf8}) {
        const IniDocument document = IniDocument::parse(bytes, encoding);
        const std::vector<Entry> entries = entriesOf(document);
        checkRoundTrip(document, encoding, entries);
        checkSetValue(document, encoding, entries);
        checkRemoveSection(document, entries);
        if (encoding == IniEncoding::Cp1252)
            checkIniLib(bytes, entries);
    }
    return 0;
}
