#pragma once

#include "MessageId.h"
#include "OwnTexts.h"
#include "PluralForms.h"

#include "core/Failure.h"

#include <QList>
#include <QString>

#include <optional>

namespace valdora {

/// The numbered message table that each program carries: an English block 300..587, a French block
/// 1300..1587 and a German block 2300..2587.
class MessageTable {
public:
    /// Valdora's and ValdoraAuto's table.
    static const MessageTable& valdora();
    /// Keelbrook's copy: without rows 585 and 587, and with its own texts of rows 435, 450 and 491.
    static const MessageTable& keelbrook();

    /// The text of a row; nullopt when the table has no such row.
    std::optional<QString> row(int number) const;
    /// The row `languageBase + offset`; "" when there is none or the offset lies outside 0..287.
    QString text(qint16 languageBase, int offset) const;
    /// The numbers of all rows, in ascending order.
    QList<int> numbers() const;

    /// The support address that row 300 names and that follows row 476.
    static QString supportAddress() { return QStringLiteral("support@valdora.example"); }
    /// The maker's web page, which the host menu item of row 312 opens.
    static QString makerWebPage() { return QStringLiteral("https://www.valdora.example/"); }

    struct Row {
        int number;
        const char* utf8Text;
    };

private:
    MessageTable(const Row* rows, int count, bool keelbrook);
    const Row* m_rows;
    int m_count;
    bool m_keelbrook;
};

/// The message table bound to the program's language base (300, 1300 or 2300). This is where the
/// program-wide language base lives; it is 300 until the language setting has been read.
class Messages {
public:
    explicit Messages(const MessageTable& table = MessageTable::valdora(), qint16 languageBase = 300)
        : m_table(&table), m_languageBase(languageBase)
    {}

    qint16 languageBase() const { return m_languageBase; }
    void setLanguageBase(qint16 base) { m_languageBase = base; }

    /// The named message in the current language: row language base + its offset.
    QString get(MessageId id) const { return atOffset(static_cast<int>(id)); }
    /// One of our own texts beyond the table, in the current language.
    QString get(OwnText id) const { return ownText(m_languageBase, id); }
    /// One of our own texts with the words after each count in its singular or plural form: `counts`
    /// pairs a placeholder's number with its count (the caller still fills the placeholders).
    QString get(OwnText id, std::initializer_list<std::pair<int, qint64>> counts) const
    {
        return withPluralForms(get(id), m_languageBase, counts);
    }
    /// The message at an offset (0..287) in the current language.
    QString atOffset(int offset) const { return m_table->text(m_languageBase, offset); }

private:
    const MessageTable* m_table;
    qint16 m_languageBase;
};

class UserSettings;

/// The language base from "Options"/"Language" of application Valdora: Language x 1000 + 300, the
/// key read with `defaultLanguage` when absent. Throws Failure(TypeMismatch) for a value that is not
/// a number (the caller's trap reports it).
qint16 languageBaseFromSettings(const UserSettings& settings, int defaultLanguage,
                                Where where = Where::current());

} // namespace valdora
