#pragma once

#include "ContactRoad.h"
#include "RunJournalling.h"
#include "ScopeChooser.h"

#include <QDateTime>

#include <functional>
#include <optional>

namespace valdora::run {

/// Valdora's bar: the contacts of the chosen scope in the open database's contact table, targets by
/// name through the field list, the progress window, and per contact one held record that is written
/// with one SetDataEx and committed; a write that does not go through is shown and logged.
class BarRoad final : public ContactRoad {
public:
    BarRoad(const RoadParts& parts, ScopeChooser* scopes, std::function<QDateTime()> clock,
            JournalRequest journal = {});

    std::unique_ptr<engine::FieldReader> open(int& maxFields) override;
    bool refusesMissingButton(const QString&, const ButtonFile&) override { return false; }
    bool resolveTarget(RunMember& member, const ButtonFile& button) override;
    bool gatherContacts(const ButtonFile& button, RunSummary& summary) override;
    void startContact(const host::ContactId& id) override;
    void decimalsBeforeValidate(RunMember& member, bool single) override;
    void decimalsAfterValidate(RunMember& member, bool single) override;
    void writeContact(RunSummary& summary) override;
    void abandonRecord() override;
    void endRun(RunSummary& summary) override;

    /// Before a contact's values are computed: progress, lock checks, edit mode (the record is held).
    void Start_Write();
    /// After a contact's write: commit check, numbers given back and the error log for a write that
    /// did not go through, counter locks released, flags cleared.
    void End_Write();
    /// Shows the failed write and appends one line per member with a target to error.log.
    void Write_Log(const QString& buttonFileName);

    /// Set when a write did not go through; cleared by Write_Log.
    bool writeFailed() const { return m_writeFailed; }

private:
    host::ContactTable& contacts() const;
    /// The contacts of a scope into the run's list; false when the run ends here (handed over).
    bool collect(Scope scope, RunSummary& summary);
    /// Puts the target field's decimal places on a value and notes them in the member's file.
    void applyHostDecimals(RunMember& member, QString& value);
    void storeDecimals(RunMember& member, const QString& decimals);

    /// Enters the run into the journal before its first write, when it is journalled.
    void beginJournal();
    /// A journal that cannot be written stops the run where it is, before the next write.
    void stopOnJournalFailure(const Failure& failure, RunSummary& summary);

    ScopeChooser* m_scopes;
    std::function<QDateTime()> m_clock;
    JournalRequest m_journalRequest;
    /// The scope as the journal names it; set when the run is journalled.
    std::optional<QString> m_journalScope;
    std::optional<RunJournalling> m_journalling;
    qint64 m_journalRun = 0;
    host::ContactId m_contact;
    bool m_writeFailed = false;
    bool m_lastCommitFailed = false;
    /// The journal failed during the run and the failure was reported.
    bool m_journalFailed = false;
    /// error.log could not be written and that was reported: the run logs no more.
    bool m_logUnwritable = false;
};

} // namespace valdora::run
