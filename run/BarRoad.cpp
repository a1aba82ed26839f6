#include "BarRoad.h"

#include "FieldCount.h"
#include "ScopeContacts.h"
#include "TargetDecimals.h"
#include "pb/ProgressArguments.h"

#include "core/ProgramFiles.h"
#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "settings/AutoCommandLine.h"
#include "settings/ButtonReaders.h"
#include "settings/ComposedMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>

#include <algorithm>

namespace valdora::run {

namespace {

const Messages& englishLogTexts()
{
    static const Messages english(MessageTable::valdora(), 300);
    return english;
}

} // namespace

namespace {

bool hasDecimals(qint16 fieldType)
{
    return fieldType == host::FieldType::Numeric || fieldType == host::FieldType::Currency;
}

} // namespace

BarRoad::BarRoad(const RoadParts& parts, ScopeChooser* scopes, std::function<QDateTime()> clock,
                 JournalRequest journal)
    : ContactRoad(parts), m_scopes(scopes), m_clock(std::move(clock)), m_journalRequest(std::move(journal))
{}

host::ContactTable& BarRoad::contacts() const
{
    return host().database->Contact();
}

std::unique_ptr<engine::FieldReader> BarRoad::open(int& maxFields)
{
    // The contact on screen must be there and saved, or the host would lose what the user typed.
    // A record lock alone is no reason to refuse: another run or ValdoraAuto holds it for the short
    // write of one contact, and this run meets that lock, if at all, at its own write of the contact.
    host::ContactTable& table = contacts();
    host::ContactView* view = host().view;
    const host::ContactId shown = view ? view->GetCurrentID() : host::ContactId();
    if (view) {
        table.Goto(shown);
        if (shown != table.Data(host::FieldNumber::UniqueId) || view->hasUnsavedChanges()) {
            session().showMessage(saveContactFirstText(session().messages(), session().applicationTitle()));
            return nullptr;
        }
    }
    progress().setStatus(QStringLiteral("On"));
    maxFields = countFields(table.Fields());
    storeMaxFields(session().userSettings(), maxFields);
    return std::make_unique<engine::TableFieldReader>(table, host().database->Users());
}

bool BarRoad::resolveTarget(RunMember& member, const ButtonFile& /*button*/)
{
    return resolveNamedTarget(member, contacts().Fields());
}

bool BarRoad::gatherContacts(const ButtonFile& button, RunSummary& summary)
{
    const bool otherDatabase = readSavedWithDB(button) != host().database->GetDatabasePath();
    // A retry covers the contacts it is given, without asking.
    const std::optional<Scope> scope = m_journalRequest.isRetry() ? std::optional<Scope>(Scope::CurrentLookup)
                                       : m_scopes                 ? m_scopes->chooseScope(otherDatabase)
                                                                  : std::optional<Scope>(Scope::AllContacts);
    if (!scope)
        return false;
    const QString folder = session().programFolder();
    // The summary of an earlier run is not this one's; cleared before the window starts, so that
    // any summary the window finds is this run's.
    progress().setSummary(QString());
    // The progress window is only a view of the run: one that cannot start changes nothing.
    // It is told who runs, so that it closes when a run ends without saying so (a crash, a kill).
    session().platform().startProgram({folder + u'/' + ProgramFile::Progress,
                                       run::progressWindowArguments(QCoreApplication::applicationPid(),
                                                                    session().messages().languageBase()),
                                       folder});
    state().progressWindowOpen = true;
    progress().setStage(-1);

    if (m_journalRequest.isRetry()) {
        state().contactIds = m_journalRequest.contacts;
        m_journalScope = QStringLiteral("failed contacts of run %1").arg(m_journalRequest.retryOf);
    } else {
        if (!collect(*scope, summary))
            return false;
        if (*scope == Scope::CurrentLookup)
            m_journalScope = QStringLiteral("lookup");
        else if (*scope == Scope::AllContacts)
            m_journalScope = QStringLiteral("all");
    }
    if (!m_journalRequest.journal)
        m_journalScope.reset();
    progress().setTotal(state().total());
    return true;
}

bool BarRoad::collect(Scope scope, RunSummary& summary)
{
    const QString folder = session().programFolder();
    std::vector<host::ContactId>& ids = state().contactIds;
    switch (scope) {
    case Scope::CurrentContact:
        if (session().platform().startProgram({AutoCommandLine::programPath(folder),
                                               AutoCommandLine::directModeArguments(state().currentButton),
                                               folder})) {
            progress().setStage(0);
            state().progressWindowOpen = false;
            summary.handedOver = true;
            return false;
        }
        // ValdoraAuto is not there: the bar does the work itself.
        ids.push_back(host().view ? host().view->GetCurrentID() : host::ContactId());
        return true;
    case Scope::CurrentLookup:
    case Scope::AllContacts:
        ids = contactsOfScope(session(), host(), scope, [this](qsizetype counted) {
            progress().setContactStage(-static_cast<qint64>(counted + 1));
        });
        return true;
    }
    return false;
}

void BarRoad::beginJournal()
{
    if (!m_journalScope || m_journalling)
        return;
    const RunState& run = state();
    const bool numbers = std::any_of(run.members.begin(), run.members.end(),
                                     [](const RunMember& m) { return m.isAutoNumber(); });
    m_journalling.emplace(*m_journalRequest.journal);
    // A run the journal cannot take is not journalled at all: it stops before its first write.
    auto notEntered = qScopeGuard([this] { m_journalling.reset(); });
    m_journalRun = m_journalling->begin(
        {.kind = m_journalRequest.isRetry() ? journal::RunKind::Retry : journal::RunKind::Run,
         .button = run.currentButton,
         .database = host().database->GetDatabasePath(),
         .user = host().database->CurrentUser(),
         .scope = *m_journalScope,
         .of = m_journalRequest.retryOf,
         .numbers = numbers});
    notEntered.dismiss();
}

void BarRoad::startContact(const host::ContactId& id)
{
    // The run is in the journal before the first record is held.
    beginJournal();
    m_contact = id;
    progress().keepStatusOn();
    // The record is held before the present values that the overwrite rule looks at are read, so that
    // no other process writes it between that read and this write.
    if (state().reader->makeCurrent(id))
        Start_Write();
    else
        m_writeFailed = true;
}

void BarRoad::decimalsBeforeValidate(RunMember& member, bool single)
{
    if (single)
        return;
    engine::FieldValueTable& values = state().fieldValues;
    QString computed = values.value(member.target);
    applyHostDecimals(member, computed);
    values.setValue(member.target, computed);
}

void BarRoad::decimalsAfterValidate(RunMember& member, bool single)
{
    if (single)
        applyHostDecimals(member, member.value);
}

void BarRoad::applyHostDecimals(RunMember& member, QString& value)
{
    if (!hasDecimals(member.targetFieldType)) {
        storeDecimals(member, QStringLiteral("-1"));
        return;
    }
    storeDecimals(member, QString::number(member.decimals));
    value = inDecimalPlaces(session().locale(), value, member.decimals);
}

void BarRoad::storeDecimals(RunMember& member, const QString& decimals)
{
    // Rewriting the same value every contact would cost a file write per contact for nothing.
    const ButtonFile button =
        ButtonFile::inFolder(session().ini(), session().buttonFolder(), member.fileName);
    if (!member.storedDecimals)
        member.storedDecimals = readTargetDecimals(button);
    if (*member.storedDecimals == decimals)
        return;
    if (button.write(ButtonKey::TargetDecimals, decimals))
        member.storedDecimals = decimals;
}

void BarRoad::writeContact(RunSummary& summary)
{
    RunState& run = state();
    // A contact that gets back the values it holds is counted unchanged, as its preview and the
    // journal's count of the run have it.
    const bool used = run.anyValueUsed() && run.changesAnyTarget();
    // Numbers are taken before the commit: a crash in between leaves a gap, never a number twice.
    if (!m_writeFailed && !run.takeNumbers()) {
        stopAt(summary);
        return;
    }
    if (!m_writeFailed && m_journalling) {
        // What the contact holds reaches the journal before the write that changes it.
        try {
            m_journalling->beforeWrite(m_contact, run.members);
        } catch (const Failure& failure) {
            stopOnJournalFailure(failure, summary);
            return;
        }
    }
    if (!m_writeFailed) {
        // Values that could not be staged must not be followed by a commit that reports success.
        m_writeFailed = !trapped(session().reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
            QList<host::FieldId> ids;
            QStringList values;
            for (const RunMember& member : run.members) {
                if (!member.computesValue())
                    continue; // a button without a scheme writes nothing into its field
                ids.push_back(member.target);
                values.push_back(member.value);
            }
            contacts().SetDataEx(ids, values);
        });
    }
    bool failed = m_writeFailed;
    End_Write();
    failed = failed || m_lastCommitFailed;
    summary.countContact(failed, used);
    if (m_journalling) {
        try {
            m_journalling->afterWrite(m_contact, failed);
        } catch (const Failure& failure) {
            m_journalFailed = true;
            session().reporter().report(failure, routine(RoutineKind::Sub, "Process_Button"));
            run.stopped = true;
            return;
        }
    }
    if (run.engine->counterFailed())
        run.stopped = true;
}

void BarRoad::abandonRecord()
{
    // Moving off the record drops what was staged and the lock this run took, without a commit.
    if (host().database)
        trapped(session().reporter(), routine(RoutineKind::Sub, "End_Write"),
                [&] { contacts().Goto(host::ContactId()); });
}

void BarRoad::stopOnJournalFailure(const Failure& failure, RunSummary& summary)
{
    stopAt(summary);
    m_journalFailed = true;
    session().reporter().report(failure, routine(RoutineKind::Sub, "Process_Button"));
}

void BarRoad::endRun(RunSummary& summary)
{
    summary.journalRun = m_journalRun;
    if (!m_journalling)
        return;
    try {
        m_journalling->finish(m_journalRequest.retryOf, state().contactIds, summary.stopped, m_contact);
    } catch (const Failure& failure) {
        // A journal that already stopped the run has said why once.
        if (!m_journalFailed)
            session().reporter().report(failure, routine(RoutineKind::Sub, "Process_Button"));
    }
    m_journalling.reset();
}

void BarRoad::Start_Write()
{
    trapped(session().reporter(), routine(RoutineKind::Sub, "Start_Write"), [&] {
        progress().setContactStage(state().processed);
        host::ContactTable& table = contacts();
        if (table.isLocked())
            m_writeFailed = true;
        table.Edit();
        if (table.LockLevel() != 1)
            m_writeFailed = true;
    });
}

void BarRoad::End_Write()
{
    trapped(session().reporter(), routine(RoutineKind::Sub, "End_Write"), [&] {
        m_lastCommitFailed = false;
        host::ContactTable& table = contacts();
        // A record this run could not hold is not written at all: a commit that took the lock
        // after all would write a value whose number was never taken.
        if (!m_writeFailed) {
            const QString written = table.Update();
            if (table.Data(host::FieldNumber::UniqueId) != written)
                m_writeFailed = true;
        }
        m_lastCommitFailed = m_writeFailed;
        const QString databaseFailure = m_writeFailed ? table.lastWriteFailure() : QString();
        if (!databaseFailure.isEmpty()) {
            // The database itself failed (a full disk, a damaged file): said once as it is, not as a
            // locked contact, and the run stops, since every later write would fail the same way.
            state().giveBackNumbers();
            m_writeFailed = false;
            state().stopped = true;
            throw Failure(ErrorNumber::PathFileAccessError, databaseFailure);
        }
        if (m_writeFailed) {
            // Not committed: the numbers go back, exactly, while their counters are still locked.
            state().giveBackNumbers();
            Write_Log(state().currentButton);
            if (table.LockLevel() == 1)
                abandonRecord();
        }
    });
    state().releaseAfterWrite();
}

void BarRoad::Write_Log(const QString& buttonFileName)
{
    Q_UNUSED(buttonFileName);
    // The failed write is dealt with even when the log cannot take it: a flag left set would fail
    // every contact after this one.
    const auto dealtWith = qScopeGuard([this] { m_writeFailed = false; });
    trapped(session().reporter(), routine(RoutineKind::Sub, "Write_Log"), [&] {
        host::ContactTable& table = contacts();
        const QString contact = table.Data(host::FieldNumber::Contact);
        const QString company = table.Data(host::FieldNumber::Company);
        const Messages& text = session().messages();
        session().showMessage(contactLockedText(text, contact, company));
        // A log that could not be written was reported once, with its path; the run goes on without it.
        if (m_logUnwritable)
            return;
        QFile log(session().dataFolder() + QStringLiteral("/error.log"));
        const auto logFailure = [&] {
            m_logUnwritable = true;
            return Failure(ErrorNumber::PathFileAccessError,
                           QStringLiteral("The error log %1 cannot be written: %2")
                               .arg(log.fileName(), log.errorString()));
        };
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
            throw logFailure();
        const QString stamp = session().locale().dateTimeText(m_clock());
        QByteArray lines;
        for (const RunMember& member : state().members) {
            if (member.target <= 0)
                continue;
            // One file for every program and language that writes it (the bar, its command line):
            // its lines are in English, whatever the language of the program that adds them.
            const QString line = errorLogLineText(englishLogTexts(), {.when = stamp,
                                                                      .contact = contact,
                                                                      .company = company,
                                                                      .value = member.value,
                                                                      .targetName = member.targetName}) +
                                 QStringLiteral("\r\n");
            lines += line.toUtf8();
        }
        // One write per failed contact, so lines of two programs appending at once do not interleave.
        if (log.write(lines) != lines.size() || !log.flush())
            throw logFailure();
    });
}

} // namespace valdora::run
