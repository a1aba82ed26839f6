#pragma once

#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "engine/ViewFieldReader.h"
#include "run/ProgramProfile.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/Database.h"
#include "settings/ProgramSession.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <tuple>
#include <utility>

namespace valdora::engine::test {

/// Which program's engine a test drives.
enum class ReaderKind { Valdora, Auto };

const char* readerName(ReaderKind kind);

/// Key/value pairs of a button file, in the order they are written.
using Keys = QList<std::pair<QString, QString>>;

/// Field values of a contact by field name.
using FieldValues = QMap<QString, QString>;

/// One pinned test environment: locale, user settings, program and button folders, a real embedded
/// database with test fields, button files written through the INI library, and an engine of either
/// program over it. ValdoraAuto's reader reads the contact on screen through a contact view of the
/// same database.
class EngineTestBed {
public:
    EngineTestBed(const QString& localeName, ReaderKind kind);
    ~EngineTestBed();

    ScriptedPlatform& platform() { return m_platform; }
    ProgramSession& session() { return *m_session; }
    ValueEngine& engine() { return *m_engine; }
    FieldValueTable& fieldValues() { return m_fieldValues; }
    host::ContactTable& contacts();
    const TextLocale& locale() const { return m_session->locale(); }
    ReaderKind kind() const { return m_kind; }
    const QString& programFolder() const { return m_programFolder; }
    QString folder() const { return m_dir.path(); }

    /// Writes a button file of the button folder; returns its file name.
    QString writeButton(const QString& fileName, const Keys& keys);
    /// The three keys that name a field as the editor stores them: name, id and type.
    Keys fieldKeys(const QString& base, int index, const QString& fieldName);
    Keys fieldKeys(const QString& base, const QString& fieldName) { return fieldKeys(base, -1, fieldName); }

    /// A new contact holding the values; it becomes the contact on screen.
    host::ContactId addContact(const FieldValues& values);
    /// Makes a contact the one on screen (ValdoraAuto reads that one).
    void showContact(const host::ContactId& id) { m_shown = id; }
    host::FieldId fieldId(const QString& name);

    /// Initialize and Obtain of one member, as the run calls them.
    QString compute(qint16 type, const QString& buttonFileName, const host::ContactId& contact,
                    int member = 0);

    /// Replaces "{d}" by the engine's decimal separator, "{date:yyyy-MM-dd}" by that date in the
    /// locale's short date form and "{user:Name}" by that test user's unique id.
    QString expand(const QString& text);
    /// Message boxes shown so far, as texts.
    QStringList messages() const { return m_platform.messageTexts(); }

private:
    class ShownContactView;

    valdora::test::PinnedLocale m_pinned;
    valdora::test::TemporaryUserSettings m_userSettings;
    QTemporaryDir m_dir;
    QString m_programFolder;
    ReaderKind m_kind;
    ScriptedPlatform m_platform;
    std::unique_ptr<ProgramSession> m_session;
    std::unique_ptr<host::Database> m_database;
    host::ContactId m_shown;
    std::unique_ptr<ShownContactView> m_view;
    std::unique_ptr<FieldReader> m_reader;
    FieldValueTable m_fieldValues;
    std::unique_ptr<ValueEngine> m_engine;
};

/// The name of a row of a table-driven test run in each locale and by each reader:
/// "<row>_<locale>_<reader>".
inline constexpr auto CaseName = [](const auto& info) {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param) + "_" +
           readerName(std::get<2>(info.param));
};

/// The name of a test run in each locale and by each reader: "<locale>_<reader>".
inline constexpr auto LocaleReaderName = [](const auto& info) {
    return std::string(std::get<0>(info.param)) + "_" + readerName(std::get<1>(info.param));
};

/// The language base that goes with a test locale: 300 English, 1300 French, 2300 German.
qint16 languageBaseFor(const QString& localeName);

} // namespace valdora::engine::test
