#include "JournalActions.h"

#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"

#include "settings/ButtonReaders.h"

#include <QScopeGuard>

namespace valdora::bar {

namespace {

const QString Paragraph = QStringLiteral("\n\n");

} // namespace

QString JournalActions::captionOf(const QString& buttonFile) const
{
    const QString caption =
        readCaption(ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), buttonFile));
    return caption.isEmpty() ? buttonFile : caption;
}

QString JournalActions::contactName(const QString& contactId) const
{
    host::ContactTable& contacts = m_host.database->Contact();
    contacts.Goto(contactId);
    const QString contact = contacts.Data(host::FieldNumber::Contact);
    const QString company = contacts.Data(host::FieldNumber::Company);
    if (contact.isEmpty() && company.isEmpty())
        return contactId;
    if (company.isEmpty() || contact.isEmpty())
        return contact + company;
    return QStringLiteral("%1 (%2)").arg(contact, company);
}

MessageAnswer JournalActions::ask(const QString& text, MessageButtons buttons, MessageIcon icon)
{
    return m_session.showMessage(text, buttons, icon);
}

JournalActions::Offers JournalActions::offers()
{
    try {
        // Only read here: a damaged journal is kept aside and replaced when an item is used, which
        // tells the user.
        const std::unique_ptr<journal::RunJournal> journal =
            std::make_unique<journal::RunJournal>(journal::RunJournal::defaultPath());
        return {journal->lastUndoable().has_value(), journal->lastWithFailures().has_value()};
    } catch (...) {
        return {};
    }
}

std::vector<ListedRun> JournalActions::listedRuns()
{
    const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(m_session);
    std::vector<ListedRun> listed;
    for (journal::JournalRun& entry : journal->runs()) {
        if (entry.isUndo())
            continue;
        // The user knows the button by its caption, not by its file.
        const QString caption = captionOf(entry.info.button);
        listed.push_back({std::move(entry), caption});
    }
    return listed;
}

void JournalActions::sayNothingTo(RunChoice::Action action)
{
    ask(m_session.messages().get(action == RunChoice::Action::Undo ? OwnText::NothingToUndo
                                                                   : OwnText::NoFailedContacts),
        MessageButtons::Ok, MessageIcon::Information);
}

void JournalActions::undoRun(qint64 runId)
{
    const Messages& texts = m_session.messages();
    const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(m_session);
    std::optional<journal::JournalRun> entry = journal->run(runId);
    // Another program may have undone it while the list was open.
    if (!entry || !canUndo(*entry)) {
        sayNothingTo(RunChoice::Action::Undo);
        return;
    }
    entry->info.button = captionOf(entry->info.button);
    journal::RunUndo undo(*journal, *m_host.database);
    const run::ContactNamer name = [this](const QString& id) { return contactName(id); };
    if (ask(run::undoQuestionText(*entry, undo.plan(runId), texts, name), MessageButtons::YesNo,
            MessageIcon::Question) != MessageAnswer::Yes)
        return;
    // An undo of the same run again only writes back what is left: the contacts that were locked.
    for (;;) {
        const journal::UndoReport report = [&] {
            if (m_busy)
                m_busy(true);
            // The window closes (its last stage written) before the report is shown.
            run::UndoProgress progress(m_session, m_progressWindowDelay, m_progressObserver);
            undo.setContactProgress(
                [&progress](int contact, int total) { progress.contact(contact, total); });
            const auto done = qScopeGuard([&] {
                undo.setContactProgress({});
                if (m_busy)
                    m_busy(false);
            });
            return undo.undo(runId, m_host.database->CurrentUser());
        }();
        const QString text = run::undoReportText(report, texts, name);
        if (report.locked.isEmpty()) {
            ask(text, MessageButtons::Ok,
                report.changedSince.empty() && report.missing.isEmpty() ? MessageIcon::Information
                                                                        : MessageIcon::Exclamation);
            return;
        }
        if (ask(text + Paragraph + texts.get(OwnText::UndoRetryLocked), MessageButtons::RetryCancel,
                MessageIcon::Exclamation) != MessageAnswer::Retry)
            return;
    }
}

void JournalActions::retryRun(qint64 runId)
{
    const Messages& texts = m_session.messages();
    const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(m_session);
    run::RetryPlan plan = run::planRetry(*journal, runId, m_host.database->GetDatabasePath(), texts);
    if (!plan.ready()) {
        ask(plan.refusal, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    const QString question = texts.get(OwnText::RetryQuestion, {{2, plan.contacts.size()}})
                                 .arg(captionOf(plan.run->info.button))
                                 .arg(plan.contacts.size())
                                 .arg(plan.run->id);
    if (ask(question, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
        return;
    retryLoop(*journal, std::move(plan));
}

void JournalActions::offerRetry(const run::RunSummary& summary)
{
    if (summary.journalRun == 0 || (summary.failed == 0 && summary.notReached() == 0))
        return;
    const Messages& texts = m_session.messages();
    const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(m_session);
    run::RetryPlan plan =
        run::planRetry(*journal, summary.journalRun, m_host.database->GetDatabasePath(), texts);
    if (!plan.ready())
        return;
    if (ask(texts.get(OwnText::RunFailedRetry, {{1, plan.contacts.size()}}).arg(plan.contacts.size()),
            MessageButtons::RetryCancel, MessageIcon::Exclamation) != MessageAnswer::Retry)
        return;
    retryLoop(*journal, std::move(plan));
}

void JournalActions::retryLoop(journal::RunJournal& journal, run::RetryPlan plan)
{
    const Messages& texts = m_session.messages();
    for (;;) {
        const run::RunSummary summary = run::retryFailedContacts(m_session, m_host, journal, plan);
        // The contacts that fail again are kept with the retry's own entry.
        const QStringList left =
            summary.journalRun != 0 ? journal.failures(summary.journalRun) : QStringList();
        const QString report = texts.get(OwnText::RetryDone, {{2, summary.written + summary.unchanged}})
                                   .arg(plan.run->id)
                                   .arg(summary.written + summary.unchanged)
                                   .arg(left.size());
        if (left.isEmpty() || summary.journalRun == 0) {
            ask(report, MessageButtons::Ok,
                left.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation);
            return;
        }
        if (ask(report + Paragraph + texts.get(OwnText::RunFailedRetry, {{1, left.size()}}).arg(left.size()),
                MessageButtons::RetryCancel, MessageIcon::Exclamation) != MessageAnswer::Retry)
            return;
        plan = run::planRetry(journal, summary.journalRun, m_host.database->GetDatabasePath(), texts);
        if (!plan.ready())
            return;
    }
}

} // namespace valdora::bar
