#include "EngineTestBed.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

namespace valdora::engine::test {

const char* readerName(ReaderKind kind)
{
    return kind == ReaderKind::Valdora ? "Valdora" : "Auto";
}

qint16 languageBaseFor(const QString& localeName)
{
    if (localeName.startsWith(u"fr"))
        return 1300;
    if (localeName.startsWith(u"de"))
        return 2300;
    return 300;
}

/// The contact view of ValdoraAuto, in process: the contact on screen is the one the test shows,
/// read from and written to the same embedded database.
class EngineTestBed::ShownContactView final : public host::ContactView {
public:
    ShownContactView(host::ContactTable& contacts, const host::ContactId& shown)
        : m_contacts(contacts), m_shown(shown)
    {}

    host::ContactId GetCurrentID(Where) const override { return m_shown; }
    QString GetField(host::FieldId id, Where where) override
    {
        if (m_contacts.Fields().Type(id, where) == -1) {
            m_lastError = host::HostError::ViewFieldUnknown;
            return {};
        }
        m_lastError = 0;
        m_contacts.Goto(m_shown, where);
        return m_contacts.Data(id, where);
    }
    void SetField(host::FieldId id, const QString& value, Where where) override
    {
        m_contacts.Goto(m_shown, where);
        m_contacts.Edit(where);
        m_contacts.SetDataEx({id}, {value}, where);
        m_contacts.Update(where);
    }
    int GetLastError() const override { return m_lastError; }
    bool hasUnsavedChanges(Where = Where::current()) const override { return false; }

private:
    host::ContactTable& m_contacts;
    const host::ContactId& m_shown;
    int m_lastError = 0;
};

EngineTestBed::EngineTestBed(const QString& localeName, ReaderKind kind)
    : m_pinned(localeName), m_programFolder(m_dir.path() + QStringLiteral("/program")), m_kind(kind)
{
    QDir().mkpath(m_programFolder);
    QDir().mkpath(m_dir.path() + QStringLiteral("/buttons"));
    m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora"), m_programFolder,
                                                 UserSettings(m_userSettings.path()),
                                                 TextLocale(QLocale(localeName)));
    m_session->messages().setLanguageBase(languageBaseFor(localeName));
    m_session->setSettingsFile(m_dir.path() + QStringLiteral("/buttons/Valdora.ini"));

    m_database = createTestDatabase(m_dir.path() + QStringLiteral("/contacts.db"));
    host::ContactTable& table = m_database->Contact();
    m_fieldValues.reset(maxFieldId(*m_database));
    if (kind == ReaderKind::Valdora) {
        m_reader = std::make_unique<TableFieldReader>(table, m_database->Users());
        m_engine = std::make_unique<ValueEngine>(*m_session, *m_reader, m_fieldValues,
                                                 run::ProgramProfile::valdora(m_session->locale()).engine);
    } else {
        m_view = std::make_unique<ShownContactView>(table, m_shown);
        m_reader = std::make_unique<ViewFieldReader>(*m_view, &m_database->Users());
        m_engine =
            std::make_unique<ValueEngine>(*m_session, *m_reader, m_fieldValues,
                                          run::ProgramProfile::valdoraAuto(m_session->locale()).engine);
    }
}

EngineTestBed::~EngineTestBed()
{
    m_engine.reset();
    if (m_database)
        m_database->Close();
}

host::ContactTable& EngineTestBed::contacts()
{
    return m_database->Contact();
}

QString EngineTestBed::writeButton(const QString& fileName, const Keys& keys)
{
    const QString path = m_session->buttonFilePath(fileName);
    for (const auto& [key, value] : keys)
        EXPECT_TRUE(m_session->ini().SetKeyValue(QStringLiteral("Settings"), key, value, path))
            << key.toStdString();
    return fileName;
}

Keys EngineTestBed::fieldKeys(const QString& base, int index, const QString& fieldName)
{
    const QString suffix = index >= 0 ? QString::number(index) : QString();
    const host::FieldList& fields = contacts().Fields();
    const host::FieldId id = fields.FieldID(fieldName);
    return {{base + suffix, fieldName},
            {base + QStringLiteral("ID") + suffix, QString::number(id)},
            {base + QStringLiteral("Type") + suffix, QString::number(fields.Type(id))}};
}

host::FieldId EngineTestBed::fieldId(const QString& name)
{
    return contacts().Fields().FieldID(name);
}

host::ContactId EngineTestBed::addContact(const FieldValues& values)
{
    FieldValues expanded;
    for (auto it = values.begin(); it != values.end(); ++it)
        expanded.insert(it.key(), expand(it.value()));
    const host::ContactId id = addTestContact(*m_database, expanded);
    m_shown = id;
    return id;
}

QString EngineTestBed::compute(qint16 type, const QString& buttonFileName, const host::ContactId& contact,
                               int member)
{
    m_engine->Initialize(type, member, buttonFileName);
    return m_engine->Obtain(type, contact, buttonFileName, member);
}

QString EngineTestBed::expand(const QString& text)
{
    static const QRegularExpression datePattern(QStringLiteral("\\{date:([0-9-]+)\\}"));
    QString result = text;
    result.replace(QStringLiteral("{d}"), QString(m_session->locale().decimalSeparator()));
    static const QRegularExpression userPattern(QStringLiteral("\\{user:([^}]+)\\}"));
    QRegularExpressionMatch match;
    while ((match = userPattern.match(result)).hasMatch())
        result.replace(match.capturedStart(), match.capturedLength(),
                       testUserId(*m_database, match.captured(1)));
    while ((match = datePattern.match(result)).hasMatch()) {
        const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
        result.replace(match.capturedStart(), match.capturedLength(), m_session->locale().dateText(date));
    }
    return result;
}

} // namespace valdora::engine::test
