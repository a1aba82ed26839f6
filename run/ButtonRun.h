#pragma once

#include "OverwriteRule.h"
#include "ProgressWriter.h"
#include "RunVariant.h"
#include "ScopeChooser.h"

#include "engine/FieldValueTable.h"
#include "host/Application.h"
#include "host/ContactView.h"
#include "host/Database.h"
#include "settings/ProgramSession.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace valdora::engine {
class FieldReader;
class ValueEngine;
} // namespace valdora::engine

namespace valdora::run {

/// The host objects a run works on. Valdora needs the database and the application; ValdoraAuto only
/// the contact view.
struct RunHost {
    host::Database* database = nullptr;
    host::Application* application = nullptr;
    host::ContactView* view = nullptr;
};

/// One member of a run: a single button is its own member 0; a Combo has one per enabled slot.
struct RunMember {
    QString fileName;
    qint16 type = -1;
    host::FieldId target = -1;
    QString targetName;
    bool targetIsType6 = false;
    qint16 targetFieldType = -1;
    qint16 decimals = 0;
    OverwriteRule rule;
    QString value;
    bool valueUsed = false;
    std::optional<QString> storedDecimals; ///< "TargetDecimals" as last read or written
};

/// Runs one button over the contacts in scope: computes each member's value, applies the overwrite
/// rule and writes every member of a contact in one write; a write that does not go through is shown
/// and logged and the run goes on. The same routine serves Valdora and ValdoraAuto (RunVariant).
class ButtonRun {
public:
    ButtonRun(ProgramSession& session, RunHost host, RunVariant variant, ScopeChooser* scopes = nullptr);
    ~ButtonRun();
    ButtonRun(const ButtonRun&) = delete;
    ButtonRun& operator=(const ButtonRun&) = delete;

    /// Runs the button of that file name ("~101.ini").
    RunSummary Process_Button(const QString& buttonFileName);

    /// The progress values' writer (observe it to see the sequence).
    ProgressWriter& progress() { return m_progress; }
    /// ValdoraAuto's notice screens: asked before a member is written; false skips the write.
    void setConfirmWrite(std::function<bool(const RunMember&)> confirm)
    {
        m_confirmWrite = std::move(confirm);
    }
    /// The present date and time of the error log (tests pin it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// The text to write for a member: its computed value combined with the field's present value.
    QString Validate(int member);
    /// Before a contact's values are computed: progress, lock checks, edit mode (the record is held).
    void Start_Write();
    /// After a contact's write: commit check, numbers given back and the error log for a write that
    /// did not go through, counter locks released, flags cleared.
    void End_Write();
    /// Shows the failed write and appends one line per member with a target to error.log.
    void Write_Log(const QString& buttonFileName);

    /// The members of the last run.
    const std::vector<RunMember>& members() const { return m_members; }
    /// Set when a write did not go through; cleared by Write_Log.
    bool writeFailed() const { return m_writeFailed; }
    /// The highest field id of the last run's table.
    int maxFields() const { return m_maxFields; }

private:
    bool prepare(const QString& buttonFileName, RunSummary& summary);
    bool addMember(const QString& fileName, bool fromCombo);
    bool resolveTarget(RunMember& member, const ButtonFile& button);
    bool gatherContacts(std::optional<Scope> scope, RunSummary& summary);
    void walkSelection(host::ContactTable& contacts);
    void processContact(const host::ContactId& id, RunSummary& summary);
    /// Computes every member's value; `makeCurrent` false when the contact is current (and held) already.
    void computeMembers(const host::ContactId& id, bool makeCurrent);
    void applyHostDecimals(RunMember& member, QString& value);
    void applyStoredDecimals(RunMember& member);
    void storeDecimals(RunMember& member, const QString& decimals);
    /// Writes the used members into the contact on screen; false when a write failed (reported).
    bool writeOnScreen();
    /// After the values are computed: true when the contact is not to be written, because the bar is
    /// to unload or a counter failed (the run then stops at this contact).
    bool mustNotWrite(RunSummary& summary);
    bool anyValueUsed() const;
    /// Advances the counters of the AutoNumber members whose numbers this contact uses.
    bool takeNumbers();
    void giveBackNumbers();
    /// Ends the run at the current contact, which is counted as failed and not written.
    void stopAt(RunSummary& summary);
    void abandonRecord();
    host::ContactTable& contacts();
    Routine routine(RoutineKind kind, const char* name) const { return {m_variant.module, kind, name}; }

    ProgramSession& m_session;
    RunHost m_host;
    RunVariant m_variant;
    ScopeChooser* m_scopes;
    ProgressWriter m_progress;
    std::function<bool(const RunMember&)> m_confirmWrite;
    std::function<QDateTime()> m_clock;

    QString m_currentButton;
    qint16 m_type = -1;
    int m_maxFields = 0;
    bool m_otherDatabase = false;
    bool m_writeFailed = false;
    bool m_lastCommitFailed = false;
    bool m_progressOpen = false;
    bool m_stopped = false;
    std::vector<RunMember> m_members;
    engine::FieldValueTable m_fieldValues;
    std::vector<host::ContactId> m_contactIds;
    qint32 m_total = 0;
    qint32 m_processed = 0;
    std::unique_ptr<engine::FieldReader> m_reader;
    std::unique_ptr<engine::ValueEngine> m_engine;
};

} // namespace valdora::run
