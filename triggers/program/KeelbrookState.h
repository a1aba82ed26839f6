#pragma once

#include "ErrorReportFile.h"

#include "core/Failure.h"
#include "host/Database.h"
#include "settings/ProgramSession.h"
#include "triggers/KeelbrookTrace.h"
#include "triggers/TriggerKind.h"

#include <concepts>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <utility>

namespace valdora::keelbrook {

using triggers::RememberedTrigger;
using triggers::TriggerKind;

/// Makes the database object (the embedded host's in the program, a test's own where it likes).
using DatabaseFactory = std::function<std::unique_ptr<host::Database>()>;

/// Keelbrook's program-wide values, shared by all its windows: the session (platform, per-user
/// store, messages at the language base `offset`), the open database with its contact and field
/// objects, the trace of the procedures entered and the progress marker, the remembered trigger,
/// and the error report that ends the program.
class KeelbrookState {
public:
    /// `version` is the program's "major.minor.revision".
    KeelbrookState(ProgramSession& session, DatabaseFactory databaseFactory, QString version);
    ~KeelbrookState();
    KeelbrookState(const KeelbrookState&) = delete;
    KeelbrookState& operator=(const KeelbrookState&) = delete;

    ProgramSession& session() const { return m_session; }
    /// A message in Keelbrook's language.
    QString text(MessageId id) const { return m_session.messages().get(id); }
    /// The language base of every Keelbrook window (300, 1300 or 2300).
    qint16 offset() const { return m_session.messages().languageBase(); }
    /// Sets the language base from Valdora's "Language" option, German when it is absent. Throws
    /// Failure(TypeMismatch) for a value that is not a number.
    void settleLanguage(Where where = Where::current());
    /// Takes Valdora's settings file (and with it the button folder, where the captions of the
    /// buttons lie) from Valdora's per-user settings.
    void settleSettingsFile();

    /// The procedures entered so far and the progress marker, for the error report.
    triggers::KeelbrookTrace& trace() { return m_trace; }
    const triggers::KeelbrookTrace& trace() const { return m_trace; }

    /// "LastDB" and "LastUser" of Keelbrook's own per-user settings.
    QString lastDatabase() const;
    bool setLastDatabase(const QString& path) const;
    QString lastUser() const;
    bool setLastUser(const QString& user) const;

    /// A new, unopened database object.
    std::unique_ptr<host::Database> createDatabase() const { return m_databaseFactory(); }
    /// Keeps an opened database with its contact object and field definitions.
    void adoptDatabase(std::unique_ptr<host::Database> database, host::ContactTable& contact);
    /// The open database; nullptr before one was opened.
    host::Database* database() const { return m_database.get(); }
    /// The field definitions of the open database. Throws Failure(ObjectNotSet) when none is open.
    host::FieldList& fields(Where where = Where::current()) const;
    /// The open database's file name without its folder (compared with a button's "_DB").
    const QString& databaseName() const { return m_databaseName; }
    /// Releases the field and contact objects and closes the database, whatever fails there.
    void closeDatabase() noexcept;

    /// The database box of the selection window, which the report and add windows show.
    const QString& databasePath() const { return m_databasePath; }
    void setDatabasePath(const QString& path) { m_databasePath = path; }

    /// Set by the add window after it wrote a trigger; read by every listing of the report.
    const std::optional<RememberedTrigger>& rememberedTrigger() const { return m_remembered; }
    void rememberTrigger(RememberedTrigger trigger) { m_remembered = std::move(trigger); }

    /// How the program ends: the program quits its event loop, tests take note.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }
    /// Ends the program (once; later calls do nothing).
    void endProgram();
    bool ended() const { return m_ended; }
    /// True once a failure went to the error report.
    bool failed() const { return m_failed; }

    /// The error report: appends its entry to the report file of the program folder, shows the
    /// message and ends the program.
    void reportFailure(const Failure& failure, const QString& source);
    /// A change the host refused (HostError::WriteRefused: no valid login to a database with
    /// passwords) is no fault of the program: the host's reason is shown, and reading goes on.
    void showRefusal(const Failure& refusal);
    /// The report file: "error_report_Keelbrook.txt" in the program folder.
    QString errorReportPath() const;
    /// The title and version the report names: "Keelbrook 3.1.3".
    QString programText() const;

private:
    ProgramSession& m_session;
    DatabaseFactory m_databaseFactory;
    QString m_version;
    triggers::KeelbrookTrace m_trace;
    std::unique_ptr<host::Database> m_database;
    host::ContactTable* m_contact = nullptr;
    host::FieldList* m_fields = nullptr;
    QString m_databaseName;
    QString m_databasePath;
    std::optional<RememberedTrigger> m_remembered;
    std::function<void()> m_endProgram;
    bool m_ended = false;
    bool m_failed = false;
};

/// Runs `body` under Keelbrook's error trap: a failure goes to the error report, which ends the
/// program; false is returned then. `source` names the window or module in the report.
template <std::invocable Body>
bool reportingFailures(KeelbrookState& state, const QString& source, Body&& body)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const Failure& failure) {
        if (failure.number() == host::HostError::WriteRefused)
            state.showRefusal(failure);
        else
            state.reportFailure(failure, source);
    } catch (const std::bad_alloc&) {
        state.reportFailure(Failure(ErrorNumber::OutOfMemory, Where{}), source);
    } catch (const std::exception& other) {
        state.reportFailure(
            Failure(ErrorNumber::InvalidProcedureCall, QString::fromLocal8Bit(other.what()), Where{}),
            source);
    }
    return false;
}

/// Runs a traced procedure of Keelbrook: enters it into the trace, then runs its body under the
/// procedure's one error trap (see reportingFailures).
template <std::invocable Body>
bool traced(KeelbrookState& state, const QString& source, const QString& procedure, Body&& body)
{
    state.trace().enter(procedure);
    return reportingFailures(state, source, std::forward<Body>(body));
}

} // namespace valdora::keelbrook
