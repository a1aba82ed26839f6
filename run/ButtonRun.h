#pragma once

#include "ContactRoad.h"
#include "ProgramProfile.h"
#include "ProgressWriter.h"
#include "RunJournalling.h"
#include "RunState.h"
#include "RunSummary.h"
#include "ScopeChooser.h"

#include "settings/ProgramSession.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace valdora::run {

/// Runs one button over the contacts in scope: computes each member's value, applies the overwrite
/// rule and writes every member of a contact in one write; a write that does not go through is shown
/// and logged and the run goes on. The same routine serves Valdora and ValdoraAuto: the program's
/// profile says which road (ContactRoad) the run takes to its contacts.
class ButtonRun {
public:
    ButtonRun(ProgramSession& session, RunHost host, ProgramProfile profile, ScopeChooser* scopes = nullptr);
    ~ButtonRun();
    ButtonRun(const ButtonRun&) = delete;
    ButtonRun& operator=(const ButtonRun&) = delete;

    /// Runs the button of that file name ("~101.ini").
    RunSummary Process_Button(const QString& buttonFileName);

    /// The progress values' writer (observe it to see the sequence).
    ProgressWriter& progress() { return m_progress; }
    /// ValdoraAuto's warning screens: asked before a member is written; false stops the button there
    /// (the members written before stay written, nothing more of the button is written).
    void setConfirmWrite(std::function<bool(const RunMember&)> confirm)
    {
        m_confirmWrite = std::move(confirm);
    }
    /// ValdoraAuto's done notice: called once the end-of-write step of the contact on screen has run,
    /// that is after every member of the button went through its write.
    void setAfterEndOfWrite(std::function<void()> afterEndOfWrite)
    {
        m_afterEndOfWrite = std::move(afterEndOfWrite);
    }
    /// ValdoraAuto's missing-button message: the field whose trigger names a button that has no file
    /// ("" when none is known; the message then names the button's stored target).
    void setMissingButtonField(std::function<QString(const QString& buttonFileName)> fieldOf)
    {
        m_missingButtonField = std::move(fieldOf);
    }
    /// The user's run journal: Valdora's runs over a lookup or all contacts are entered into it, so
    /// that they can be undone and their failed contacts retried.
    void setJournal(journal::JournalWriter* journal) { m_journal.journal = journal; }
    /// The next run covers just these contacts, the failed contacts of that journalled run, and is
    /// journalled as its retry.
    void setRetry(qint64 run, std::vector<host::ContactId> contacts)
    {
        m_journal.retryOf = run;
        m_journal.contacts = std::move(contacts);
    }
    /// Makes the run's road instead of the program's profile (a preview brings its own, which writes
    /// nothing).
    using RoadMaker = std::function<std::unique_ptr<ContactRoad>(const RoadParts&)>;
    void setRoadMaker(RoadMaker maker) { m_roadMaker = std::move(maker); }
    /// The present date and time of the error log (tests pin it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// The text to write for a member: its computed value combined with the field's present value.
    QString Validate(int member);

    /// The members of the last run.
    const std::vector<RunMember>& members() const { return m_state.members; }
    /// The highest field id of the last run's table.
    int maxFields() const { return m_maxFields; }

private:
    std::unique_ptr<ContactRoad> makeRoad();
    bool prepare(const QString& buttonFileName, RunSummary& summary);
    bool addMember(const QString& fileName, bool fromCombo);
    bool resolveTarget(RunMember& member, const ButtonFile& button);
    void processContact(const host::ContactId& id, RunSummary& summary);
    /// Computes every member's value for the contact the road made current; false when a member's
    /// computation failed (said so): nothing of the contact is to be written.
    bool computeMembers(const host::ContactId& id);
    /// After the values are computed: true when the contact is not to be written, because the bar is
    /// to unload or a counter failed (the run then stops at this contact).
    bool mustNotWrite(RunSummary& summary);
    Routine routine(RoutineKind kind, const char* name) const { return {m_profile.module(), kind, name}; }

    ProgramSession& m_session;
    RunHost m_host;
    ProgramProfile m_profile;
    ScopeChooser* m_scopes;
    ProgressWriter m_progress;
    std::function<bool(const RunMember&)> m_confirmWrite;
    std::function<void()> m_afterEndOfWrite;
    std::function<QString(const QString&)> m_missingButtonField;
    std::function<QDateTime()> m_clock;
    JournalRequest m_journal;
    RoadMaker m_roadMaker;

    qint16 m_type = -1;
    int m_maxFields = 0;
    RunState m_state;
    /// Declared after the state it works on.
    std::unique_ptr<ContactRoad> m_road;
};

} // namespace valdora::run
