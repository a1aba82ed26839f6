#pragma once

#include "triggers/program/KeelbrookState.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/EventControl.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace valdora::keelbrook::test {

/// A trigger a test database starts with.
struct SeedTrigger {
    host::FieldId fieldId;
    TriggerKind kind;
    QString text;
};

/// An event control whose member 1 answers what the test says, with no host behind it.
class FakeEventControl final : public host::EventControl {
public:
    explicit FakeEventControl(int registerAnswer, int* unregisterCount = nullptr)
        : m_answer(registerAnswer), m_unregisterCount(unregisterCount)
    {}
    int Register(int) override { return m_answer; }
    void Unregister() override
    {
        if (m_unregisterCount)
            ++*m_unregisterCount;
    }
    bool IsHostRunning() override { return m_answer > 0; }

private:
    int m_answer;
    int* m_unregisterCount;
};

/// A Keelbrook run in a temporary program folder and per-user store, with no host running (the host
/// server name is the test's own), over a scripted platform; databases are real embedded ones.
class KeelbrookTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Makes a database of the standard fields in the temporary folder, with these triggers.
    QString makeDatabase(const QString& name, const QList<SeedTrigger>& triggers = {});
    /// Adds a user with a password, which makes the database shared.
    void addUser(const QString& database, const QString& user, const QString& password);
    /// Adds user fields until the database has `count` fields.
    void growFields(const QString& database, int count);
    /// The trigger a database holds now.
    QString triggerIn(const QString& database, host::FieldId id, TriggerKind kind);
    /// Sets Valdora's language option (0, 1 or 2).
    void setLanguage(int language);
    /// The lines of the error report file ("" when there is none).
    QStringList errorReportLines() const;
    /// Opens a database into the state as the OK button would (no login).
    void openIntoState(const QString& database);

    QTemporaryDir m_dir;
    std::unique_ptr<valdora::test::TemporaryUserSettings> m_userSettings;
    QByteArray m_previousServer;
    ScriptedPlatform m_platform;
    std::unique_ptr<ProgramSession> m_session;
    std::unique_ptr<KeelbrookState> m_state;
    int m_endCount = 0;
};

} // namespace valdora::keelbrook::test
