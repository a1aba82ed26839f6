#include "UndoAndRetry.h"

#include <set>

namespace valdora::run {

namespace {

/// Changes listed by name in the question before an undo; the rest are counted.
constexpr std::size_t PlanLinesShown = 8;

QString named(const ContactNamer& name, const QString& contactId)
{
    return name ? name(contactId) : contactId;
}

} // namespace

std::unique_ptr<journal::RunJournal> openUserJournal(ProgramSession& session)
{
    std::unique_ptr<journal::RunJournal> journal = journal::RunJournal::openForUser();
    if (!journal->setAside().isEmpty())
        session.showMessage(session.messages()
                                .get(OwnText::JournalSetAside)
                                .arg(journal::RunJournal::defaultPath(), journal->setAside()),
                            MessageButtons::Ok, MessageIcon::Exclamation);
    return journal;
}

QString startedText(const journal::JournalRun& run)
{
    return run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

template <typename Entries> std::size_t distinctContacts(const Entries& entries)
{
    std::set<QString> contacts;
    for (const auto& entry : entries)
        contacts.insert(entry.contact);
    return contacts.size();
}

std::size_t contactsIn(const std::vector<journal::JournalChange>& plan)
{
    return distinctContacts(plan);
}

std::size_t contactsIn(const std::vector<journal::ChangedSince>& left)
{
    return distinctContacts(left);
}

QString undoQuestionText(const journal::JournalRun& run, const std::vector<journal::JournalChange>& plan,
                         const Messages& texts, const ContactNamer& name)
{
    QString when = startedText(run);
    if (run.stand == journal::RunStand::Interrupted)
        when += QStringLiteral(", ") + texts.get(OwnText::RunInterrupted);
    else if (run.stand == journal::RunStand::Stopped)
        when += QStringLiteral(", ") + texts.get(OwnText::RunStopped);
    QString text = texts.get(OwnText::UndoQuestion, {{4, qint64(plan.size())}, {5, qint64(contactsIn(plan))}})
                       .arg(run.id)
                       .arg(run.info.button, when)
                       .arg(plan.size())
                       .arg(contactsIn(plan));
    // The first changes, so that the user sees what goes back before saying yes.
    QStringList lines;
    for (std::size_t i = 0; i < plan.size() && i < PlanLinesShown; ++i)
        lines << texts.get(OwnText::UndoPlanLine)
                     .arg(named(name, plan[i].contact), plan[i].field, plan[i].newValue, plan[i].oldValue);
    if (plan.size() > PlanLinesShown)
        lines << texts.get(OwnText::UndoPlanMore).arg(plan.size() - PlanLinesShown);
    if (!lines.isEmpty())
        text += QStringLiteral("\n\n") + lines.join(u'\n');
    if (run.info.numbers)
        text += QStringLiteral("\n\n") + texts.get(OwnText::UndoNumbersNote);
    return text;
}

QString undoReportText(const journal::UndoReport& report, const Messages& texts, const ContactNamer& name)
{
    QStringList lines{texts.get(OwnText::UndoDone, {{2, report.contacts}, {3, report.fields}})
                          .arg(report.run)
                          .arg(report.contacts)
                          .arg(report.fields)};
    for (const journal::ChangedSince& left : report.changedSince)
        lines << texts.get(OwnText::UndoChangedSince)
                     .arg(named(name, left.contact), left.field, left.holds, left.written);
    for (const QString& contact : report.locked)
        lines << texts.get(OwnText::UndoLocked).arg(named(name, contact)).arg(report.run);
    // A contact no longer in the database has no name to show.
    for (const QString& contact : report.missing)
        lines << texts.get(OwnText::UndoMissing).arg(contact);
    // How many are left and why, after the names: the count is what a long list hides.
    if (!report.complete())
        lines << texts.get(OwnText::UndoLeft, {{1, report.contactsLeft()}})
                     .arg(report.contactsLeft())
                     .arg(report.run)
                     .arg(report.locked.size())
                     .arg(contactsIn(report.changedSince))
                     .arg(report.missing.size());
    else if (report.runUnfinished)
        lines << texts.get(OwnText::UndoUnfinishedRun).arg(report.run);
    if (report.numbers)
        lines << texts.get(OwnText::UndoNumbersNote);
    return lines.join(u'\n');
}

RetryPlan planRetry(journal::RunJournal& journal, std::optional<qint64> runId, const QString& openDatabase,
                    const Messages& messages)
{
    RetryPlan plan;
    if (!runId)
        runId = journal.lastWithFailures();
    if (!runId) {
        plan.refusal = messages.get(OwnText::NoFailedContacts);
        return plan;
    }
    plan.run = journal.run(*runId);
    if (!plan.run) {
        plan.refusal = messages.get(OwnText::NoSuchRun).arg(*runId);
        return plan;
    }
    if (plan.run->info.kind == journal::RunKind::Undo) {
        plan.refusal = messages.get(OwnText::RetryOfUndo).arg(*runId).arg(plan.run->info.of);
        return plan;
    }
    plan.contacts = journal.failures(*runId);
    if (plan.contacts.isEmpty()) {
        plan.refusal = messages.get(OwnText::NoFailedInRun).arg(*runId);
        return plan;
    }
    if (plan.run->info.database != openDatabase)
        plan.refusal = messages.get(OwnText::RetryOtherDatabase).arg(*runId).arg(plan.run->info.database);
    return plan;
}

RunSummary retryFailedContacts(ProgramSession& session, RunHost host, journal::RunJournal& journal,
                               const RetryPlan& plan)
{
    ButtonRun buttonRun(session, host, ProgramProfile::valdora(session.locale()));
    buttonRun.setJournal(&journal);
    buttonRun.setRetry(plan.run->id,
                       std::vector<host::ContactId>(plan.contacts.begin(), plan.contacts.end()));
    return buttonRun.Process_Button(plan.run->info.button);
}

} // namespace valdora::run
