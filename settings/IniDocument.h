#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace valdora {

/// The character encoding of an INI file's bytes.
enum class IniEncoding {
    Cp1252, ///< button files and the settings file
    Utf8,   ///< the per-user store
};

/// One parsed INI file. Every line is kept byte for byte, so a change rewrites one line (or adds some)
/// and keeps every other line, comment and blank as it was: its bytes, also those that are not valid in
/// the file's encoding. Sections and keys are matched without regard to case; the first section of a
/// name and the first key of a name in it count. Lines end with CRLF when written; CRLF or LF are read.
///
/// Values are read as the platform reads them: blanks around the value are dropped, and one pair of
/// matching quotes (" or ') around it is removed. A value written with blanks at its edges, or that
/// itself starts and ends with the same quote, is written inside double quotes, so that every value
/// reads back exactly as written.
class IniDocument {
public:
    /// An empty document.
    explicit IniDocument(IniEncoding encoding = IniEncoding::Cp1252);
    /// Parses a file's bytes. A leading UTF-8 byte-order mark makes the file UTF-8 whatever
    /// `encoding` says (a file saved so by a text editor), and is written back.
    static IniDocument parse(QByteArrayView bytes, IniEncoding encoding);
    /// The file's bytes: every line followed by CRLF, lines not changed in the bytes they were read from.
    QByteArray serialize() const;

    /// The value of a key; nullopt when the section or key is absent (an empty value is "").
    std::optional<QString> value(QStringView section, QStringView key) const;
    /// Sets a key, adding the section (at the end) and the key (after the section's last line)
    /// when they are absent. False, and the document unchanged, when the section, key or value
    /// cannot be stored (see isStorableSection, isStorableKey, isStorableValue).
    bool setValue(const QString& section, const QString& key, const QString& value);
    /// Removes every section of that name with all its lines; true when one was there.
    bool removeSection(QStringView section);

    /// Section names in file order, as first spelled (each name once).
    QStringList sectionNames() const;
    /// The key names of a section in file order, as first spelled; empty when the section is absent.
    QStringList keyNames(QStringView section) const;

    /// A section name can be stored when it is not blank and holds no "]" nor line break.
    static bool isStorableSection(QStringView section);
    /// A key can be stored when it is not blank, holds no "=" nor line break, and does not start
    /// with "[" or ";".
    static bool isStorableKey(QStringView key);
    /// A value can be stored when it holds no line break nor NUL (it would break the file's lines).
    static bool isStorableValue(QStringView value);

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        QString text; // verbatim
        LineKind kind = LineKind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value as read
        /// The bytes the line was read from, without its line end; `read` is false for a line written
        /// or added since.
        QByteArray bytes;
        bool read = false;
    };
    struct Section {
        QString name;
        qsizetype header = 0;           // line index of the header
        qsizetype end = 0;              // line index past the section's last line
        QHash<QString, qsizetype> keys; // folded key name -> line index (first of the name)
        QStringList keyOrder;
    };

    static Line parseLine(QString text);
    QString decodeLine(QByteArrayView bytes) const;
    QByteArray encodeLine(const QString& text) const;
    static QString storedValueText(const QString& value);
    void rebuildIndex();
    const Section* findSection(QStringView name) const;

    IniEncoding m_encoding;
    bool m_byteOrderMark = false;
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;          // first occurrence of each name, in file order
    QHash<QString, qsizetype> m_sectionIndex; // folded name -> index into m_sections
};

} // namespace valdora
