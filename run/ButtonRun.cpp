#include "ButtonRun.h"

#include "FieldCount.h"
#include "pb/ProgressArguments.h"

#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "engine/ViewFieldReader.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace valdora::run {

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString MaxFieldsKey = QStringLiteral("MaxFields");

bool hasDecimals(qint16 fieldType)
{
    return fieldType == host::FieldType::Numeric || fieldType == host::FieldType::Currency;
}

// The scheme code of a button file. A "Type" that is no number is a damaged definition: read as 0 it
// would run as an AutoNumber and overwrite the target of every contact with numbers.
qint16 schemeCode(const ButtonFile& button, const QString& fileName)
{
    const QString text = button.read(ButtonKey::Type, QStringLiteral("-1"));
    if (const std::optional<qint16> code = typeCodeOf(text))
        return *code;
    throw Failure(ErrorNumber::TypeMismatch,
                  QStringLiteral("The button %1 has the type \"%2\", which is not a scheme number; check the "
                                 "settings for this button")
                      .arg(fileName, text.left(40)));
}

QString decimalPattern(int places)
{
    // With no places the point goes too: a whole-number field gets "24", not "24.".
    if (places <= 0)
        return QStringLiteral("0");
    return QStringLiteral("0.") + QString(places, u'0');
}

} // namespace

ButtonRun::ButtonRun(ProgramSession& session, RunHost host, RunVariant variant, ScopeChooser* scopes)
    : m_session(session), m_host(host), m_variant(variant), m_scopes(scopes),
      m_progress(session.userSettings()), m_clock([] { return QDateTime::currentDateTime(); })
{}

ButtonRun::~ButtonRun() = default;

host::ContactTable& ButtonRun::contacts()
{
    return m_host.database->Contact();
}

RunSummary ButtonRun::Process_Button(const QString& buttonFileName)
{
    RunSummary summary;
    const int reportsBefore = m_session.reporter().reportCount();
    m_progressOpen = false;
    m_stopped = false;
    const bool finished = trapped(m_session.reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
        if (!prepare(buttonFileName, summary))
            return;
        summary.started = true;
        for (const host::ContactId& id : m_contactIds) {
            const int countedBefore = summary.written + summary.unchanged + summary.failed;
            try {
                processContact(id, summary);
            } catch (...) {
                // The contact the run stopped at was not written: it counts as failed, not as unreached.
                if (summary.written + summary.unchanged + summary.failed == countedBefore)
                    ++summary.failed;
                throw;
            }
            if (m_engine->unloadRequested() || m_stopped)
                return;
        }
        if (!m_variant.contactOnScreen && m_processed == m_total) {
            m_progress.setStage(0);
            m_progressOpen = false;
        }
    });
    if (m_engine) {
        abandonRecord();
        m_engine->releaseCounterLocks();
        m_engine->syncCounters();
    }
    summary.stopped = summary.started && (!finished || m_stopped);
    summary.failureReported = m_session.reporter().reportCount() != reportsBefore;
    // A progress window left counting after a run that stopped would wait for contacts that never come.
    if (m_progressOpen)
        m_progress.setStage(0);
    return summary;
}

bool ButtonRun::prepare(const QString& buttonFileName, RunSummary& summary)
{
    const bool onScreen = m_variant.contactOnScreen;
    if (!onScreen) {
        // The contact on screen must be saved and free, or the host would lose what is typed.
        host::ContactTable& table = contacts();
        const host::ContactId shown = m_host.view ? m_host.view->GetCurrentID() : host::ContactId();
        if (m_host.view) {
            table.Goto(shown);
            if (shown != table.Data(host::FieldNumber::UniqueId) || table.isLocked()) {
                m_session.showMessage(m_session.messages().get(354) + QStringLiteral(" ") +
                                      m_session.applicationTitle() + QStringLiteral("\r\n") +
                                      m_session.messages().get(487));
                return false;
            }
        }
        m_progress.setStatus(QStringLiteral("On"));
        m_maxFields = countFields(table.Fields());
        m_session.userSettings().set(Application::Valdora, SettingsSection, MaxFieldsKey,
                                     QString::number(m_maxFields));
        m_reader = std::make_unique<engine::TableFieldReader>(table, m_host.database->Users());
    } else {
        m_maxFields = m_session.userSettings()
                          .get(Application::Valdora, SettingsSection, MaxFieldsKey, QStringLiteral("0"))
                          .toInt();
        host::UserList* users = m_host.database ? &m_host.database->Users() : nullptr;
        m_reader = std::make_unique<engine::ViewFieldReader>(*m_host.view, users);
    }

    m_fieldValues.reset(std::max(m_maxFields, 0));
    m_members.clear();
    m_contactIds.clear();
    m_total = 0;
    m_processed = 0;
    m_writeFailed = false;
    const TextLocale& locale = m_session.locale();
    m_engine = std::make_unique<engine::ValueEngine>(m_session, *m_reader, m_fieldValues,
                                                     onScreen ? engine::EngineOptions::valdoraAuto(locale)
                                                              : engine::EngineOptions::valdora(locale));

    m_currentButton = buttonFileName;
    const ButtonFile button = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), buttonFileName);
    m_type = schemeCode(button, buttonFileName);
    const bool combo = m_type == codeOf(Scheme::Combo);

    if (onScreen && m_type == -1) {
        const Messages& text = m_session.messages();
        m_session.showMessage(text.get(515) + buttonFileName + text.get(516) + QStringLiteral("\r\n") +
                              text.get(517) + button.read(ButtonKey::Target) + text.get(518) +
                              QStringLiteral("\r\n") + text.get(519));
        return false;
    }
    if (!combo && !addMember(buttonFileName, false))
        return false;

    std::optional<Scope> scope = Scope::CurrentContact;
    if (!onScreen) {
        m_otherDatabase = button.read(ButtonKey::SavedWithDB) != m_host.database->GetDatabasePath();
        scope = m_scopes ? m_scopes->chooseScope(m_otherDatabase) : std::optional<Scope>(Scope::AllContacts);
        if (!scope)
            return false;
        // The progress window is only a view of the run: one that cannot start changes nothing.
        // It is told who runs, so that it closes when a run ends without saying so (a crash, a kill).
        m_session.platform().startProgram({m_session.programFolder() + QStringLiteral("/pb.exe"),
                                           run::progressWindowArguments(QCoreApplication::applicationPid()),
                                           m_session.programFolder()});
        m_progressOpen = true;
        m_progress.setStage(-1);
    }
    if (!gatherContacts(scope, summary))
        return false;
    if (!onScreen)
        m_progress.setTotal(m_total);
    summary.inScope = m_total;

    if (combo) {
        for (int slot = 0; slot < m_variant.comboSlots; ++slot) {
            if (button.read(ButtonKey::at(ButtonKey::Button, slot)) != QStringLiteral("1"))
                continue;
            if (!addMember(button.read(ButtonKey::at(ButtonKey::ButtonName, slot)), true))
                return false;
        }
    }
    // Every member is prepared before the first write: a member that cannot run stops the run while
    // nothing is written yet.
    bool ready = true;
    for (std::size_t j = 0; j < m_members.size(); ++j)
        ready = m_engine->Initialize(m_members[j].type, static_cast<int>(j), m_members[j].fileName) && ready;
    return ready;
}

bool ButtonRun::addMember(const QString& fileName, bool fromCombo)
{
    const ButtonFile button = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), fileName);
    RunMember member;
    member.fileName = fileName;
    member.type = schemeCode(button, fileName);
    if (fromCombo && member.type == -1) {
        // A member whose file is gone: the window learns it before the message.
        m_progress.setStage(ProgressWriter::MemberMissing);
        m_progressOpen = false; // that stage closes the window
        m_session.showMessage(m_session.messages().get(477));
        return false;
    }
    if (!resolveTarget(member, button))
        return false;
    member.rule = OverwriteRule::fromButton(button);
    m_members.push_back(std::move(member));
    return true;
}

bool ButtonRun::resolveTarget(RunMember& member, const ButtonFile& button)
{
    member.targetName = button.read(ButtonKey::Target);
    if (!m_variant.contactOnScreen) {
        host::FieldList& fields = contacts().Fields();
        if (!fields.Exists(member.targetName)) {
            m_session.showMessage(m_session.messages().get(355));
            return false;
        }
        member.target = fields.FieldID(member.targetName);
        member.targetFieldType = fields.Type(member.target);
        member.decimals = fields.DecimalPlaces(member.target);
    } else {
        member.target =
            static_cast<host::FieldId>(button.read(ButtonKey::TargetID, QStringLiteral("-1")).toInt());
        if (member.target == -1) {
            const Messages& text = m_session.messages();
            m_session.platform().showMessage({text.get(520), text.get(521)});
            return false;
        }
        host::ContactView& view = *m_host.view;
        if (view.GetField(member.target).isEmpty() &&
            view.GetLastError() == host::HostError::ViewFieldUnknown) {
            m_session.showMessage(m_session.messages().get(355));
            return false;
        }
        member.targetFieldType =
            static_cast<qint16>(button.read(ButtonKey::TargetType, QStringLiteral("-1")).toInt());
    }
    member.targetIsType6 = member.targetFieldType == host::FieldType::Currency;
    // The table has an entry for every field the run writes, whatever the scan found.
    if (member.target > m_fieldValues.maxFields())
        m_fieldValues.setValue(member.target, QString());
    return true;
}

bool ButtonRun::gatherContacts(std::optional<Scope> scope, RunSummary& summary)
{
    if (m_variant.contactOnScreen) {
        m_contactIds.push_back(m_host.view->GetCurrentID());
        m_total = 1;
        return true;
    }
    const QString folder = m_session.programFolder();
    switch (*scope) {
    case Scope::CurrentContact:
        if (m_session.platform().startProgram({folder + QStringLiteral("/ValdoraAuto.exe"),
                                               {QStringLiteral("*") + m_currentButton},
                                               folder})) {
            m_progress.setStage(0);
            m_progressOpen = false;
            summary.handedOver = true;
            return false;
        }
        // ValdoraAuto is not there: the bar does the work itself.
        m_contactIds.push_back(m_host.view ? m_host.view->GetCurrentID() : host::ContactId());
        m_total = 1;
        return true;
    case Scope::CurrentLookup: {
        const QString lookupFile = folder + QStringLiteral("/~currentLU.LKU");
        m_host.application->SaveCurrentLookup(lookupFile);
        contacts().LoadLookUpQuery(lookupFile);
        walkSelection(contacts());
        return true;
    }
    case Scope::AllContacts:
        contacts().Query(QString());
        walkSelection(contacts());
        return true;
    }
    return false;
}

void ButtonRun::walkSelection(host::ContactTable& table)
{
    table.MoveFirst();
    while (!table.isEOF()) {
        ++m_total;
        m_progress.setContactStage(-static_cast<qint64>(m_total));
        m_contactIds.push_back(table.Data(host::FieldNumber::UniqueId));
        table.MoveNext();
    }
}

void ButtonRun::processContact(const host::ContactId& id, RunSummary& summary)
{
    for (const RunMember& member : m_members)
        m_fieldValues.clear(member.target);
    ++m_processed;

    if (m_variant.contactOnScreen) {
        computeMembers(id, true);
        if (mustNotWrite(summary))
            return;
        const bool wrote = writeOnScreen();
        const bool used = anyValueUsed(); // a declined or failed member is no longer counted as used
        End_Write();
        if (m_engine->counterFailed())
            stopAt(summary);
        else if (!wrote)
            ++summary.failed;
        else
            (used ? summary.written : summary.unchanged) += 1;
        return;
    }

    m_progress.keepStatusOn();
    // The record is held before the present values that the overwrite rule looks at are read, so that
    // no other process writes it between that read and this write.
    if (m_reader->makeCurrent(id))
        Start_Write();
    else
        m_writeFailed = true;
    computeMembers(id, false);
    if (mustNotWrite(summary))
        return;
    const bool used = anyValueUsed();
    // Numbers are taken before the commit: a crash in between leaves a gap, never a number twice.
    if (!m_writeFailed && !takeNumbers()) {
        stopAt(summary);
        return;
    }
    if (!m_writeFailed) {
        // Values that could not be staged must not be followed by a commit that reports success.
        m_writeFailed = !trapped(m_session.reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
            QList<host::FieldId> ids;
            QStringList values;
            for (const RunMember& member : m_members) {
                if (!computesValue(member.type))
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
    if (failed)
        ++summary.failed;
    else
        (used ? summary.written : summary.unchanged) += 1;
    if (m_engine->counterFailed())
        m_stopped = true;
}

bool ButtonRun::mustNotWrite(RunSummary& summary)
{
    if (m_engine->unloadRequested())
        return true;
    if (!m_engine->counterFailed())
        return false;
    stopAt(summary);
    return true;
}

bool ButtonRun::anyValueUsed() const
{
    return std::any_of(m_members.begin(), m_members.end(), [](const RunMember& m) { return m.valueUsed; });
}

bool ButtonRun::takeNumbers()
{
    for (std::size_t j = 0; j < m_members.size(); ++j) {
        const RunMember& member = m_members[j];
        if (member.type == codeOf(Scheme::AutoNumber) && member.valueUsed &&
            !m_engine->Update_AutoNumber(static_cast<int>(j)))
            return false;
    }
    return true;
}

void ButtonRun::giveBackNumbers()
{
    for (std::size_t j = m_members.size(); j-- > 0;)
        m_engine->giveBack(static_cast<int>(j));
}

void ButtonRun::stopAt(RunSummary& summary)
{
    // A counter that cannot be trusted: nothing of this contact is written and the run ends here.
    giveBackNumbers();
    abandonRecord();
    m_engine->releaseCounterLocks();
    for (RunMember& member : m_members)
        member.valueUsed = false;
    ++summary.failed;
    m_stopped = true;
}

void ButtonRun::abandonRecord()
{
    // Moving off the record drops what was staged and the lock this run took, without a commit.
    if (!m_variant.contactOnScreen && m_host.database)
        trapped(m_session.reporter(), routine(RoutineKind::Sub, "End_Write"),
                [&] { contacts().Goto(host::ContactId()); });
}

void ButtonRun::computeMembers(const host::ContactId& id, bool makeCurrent)
{
    // Validate compares with the present value of this contact, also for a member that reads nothing.
    if (makeCurrent)
        m_reader->makeCurrent(id);
    const bool single = m_type != codeOf(Scheme::Combo);
    for (std::size_t j = 0; j < m_members.size(); ++j) {
        RunMember& member = m_members[j];
        const int index = static_cast<int>(j);
        if (computesValue(member.type)) {
            m_engine->setTargetIsType6(member.targetIsType6);
            const QString value = m_engine->Obtain(member.type, id, member.fileName, index);
            if (m_engine->unloadRequested())
                return;
            m_fieldValues.setValue(member.target, value);
        }
        if (!single && !m_variant.contactOnScreen) {
            QString computed = m_fieldValues.value(member.target);
            applyHostDecimals(member, computed);
            m_fieldValues.setValue(member.target, computed);
        }
        member.value = Validate(index);
        if (single && !m_variant.contactOnScreen)
            applyHostDecimals(member, member.value);
        if (m_variant.contactOnScreen)
            applyStoredDecimals(member);
    }
}

void ButtonRun::applyHostDecimals(RunMember& member, QString& value)
{
    if (!hasDecimals(member.targetFieldType)) {
        storeDecimals(member, QStringLiteral("-1"));
        return;
    }
    storeDecimals(member, QString::number(member.decimals));
    const TextLocale& locale = m_session.locale();
    if (locale.isNumeric(value))
        value = locale.format(locale.toDouble(value), decimalPattern(member.decimals));
}

void ButtonRun::applyStoredDecimals(RunMember& member)
{
    const ButtonFile button =
        ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), member.fileName);
    const int places = button.read(ButtonKey::TargetDecimals, QStringLiteral("-1")).toInt();
    const TextLocale& locale = m_session.locale();
    if (places >= 0 && locale.isNumeric(member.value))
        member.value = locale.format(locale.toDouble(member.value), decimalPattern(places));
}

void ButtonRun::storeDecimals(RunMember& member, const QString& decimals)
{
    // Rewriting the same value every contact would cost a file write per contact for nothing.
    const ButtonFile button =
        ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), member.fileName);
    if (!member.storedDecimals)
        member.storedDecimals = button.read(ButtonKey::TargetDecimals);
    if (*member.storedDecimals == decimals)
        return;
    if (button.write(ButtonKey::TargetDecimals, decimals))
        member.storedDecimals = decimals;
}

QString ButtonRun::Validate(int member)
{
    QString result;
    trapped(m_session.reporter(), routine(RoutineKind::Function, "Validate"), [&] {
        RunMember& entry = m_members.at(static_cast<std::size_t>(member));
        if (!computesValue(entry.type) && entry.type != codeOf(Scheme::Combo)) {
            result = m_reader->read(entry.target).value_or(QString());
            return;
        }
        const QString present = m_reader->read(entry.target).value_or(QString());
        const OverwriteResult outcome = entry.rule.apply(present, m_fieldValues.value(entry.target));
        result = outcome.text;
        if (outcome.valueUsed)
            entry.valueUsed = true;
    });
    return result;
}

void ButtonRun::Start_Write()
{
    trapped(m_session.reporter(), routine(RoutineKind::Sub, "Start_Write"), [&] {
        m_progress.setContactStage(m_processed);
        host::ContactTable& table = contacts();
        if (table.isLocked())
            m_writeFailed = true;
        table.Edit();
        if (table.LockLevel() != 1)
            m_writeFailed = true;
    });
}

void ButtonRun::End_Write()
{
    trapped(m_session.reporter(), routine(RoutineKind::Sub, "End_Write"), [&] {
        m_lastCommitFailed = false;
        if (!m_variant.contactOnScreen) {
            host::ContactTable& table = contacts();
            // A record this run could not hold is not written at all: a commit that took the lock
            // after all would write a value whose number was never taken.
            if (!m_writeFailed) {
                const QString written = table.Update();
                if (table.Data(host::FieldNumber::UniqueId) != written)
                    m_writeFailed = true;
            }
            m_lastCommitFailed = m_writeFailed;
            if (m_writeFailed) {
                // Not committed: the numbers go back, exactly, while their counters are still locked.
                giveBackNumbers();
                Write_Log(m_currentButton);
                if (table.LockLevel() == 1)
                    abandonRecord();
            }
        }
    });
    if (m_engine)
        m_engine->releaseCounterLocks();
    for (RunMember& member : m_members)
        member.valueUsed = false;
}

void ButtonRun::Write_Log(const QString& buttonFileName)
{
    Q_UNUSED(buttonFileName);
    trapped(m_session.reporter(), routine(RoutineKind::Sub, "Write_Log"), [&] {
        host::ContactTable& table = contacts();
        const QString contact = table.Data(host::FieldNumber::Contact);
        const QString company = table.Data(host::FieldNumber::Company);
        const Messages& text = m_session.messages();
        m_session.showMessage(QStringLiteral("Contact: ") + contact + QStringLiteral(" (") + company +
                              text.get(356) + QStringLiteral("\r\n") + text.get(357));
        QFile log(m_session.programFolder() + QStringLiteral("/error.log"));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
            throw Failure(ErrorNumber::PathFileAccessError, log.errorString());
        const QString stamp = m_session.locale().dateTimeText(m_clock());
        QByteArray lines;
        for (const RunMember& member : m_members) {
            if (member.target <= 0)
                continue;
            const QString line = stamp + QStringLiteral(" ") + contact + QStringLiteral(" (") + company +
                                 QStringLiteral(") ") + text.get(358) + QStringLiteral(" '") + member.value +
                                 QStringLiteral("' ") + text.get(359) + QStringLiteral(" '") +
                                 member.targetName + QStringLiteral("'.\r\n");
            lines += line.toUtf8();
        }
        // One write per failed contact, so lines of two programs appending at once do not interleave.
        if (log.write(lines) != lines.size() || !log.flush())
            throw Failure(ErrorNumber::PathFileAccessError, log.errorString());
        m_writeFailed = false;
    });
}

bool ButtonRun::writeOnScreen()
{
    return trapped(m_session.reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
        for (std::size_t j = 0; j < m_members.size(); ++j) {
            RunMember& member = m_members[j];
            if (!member.valueUsed || !computesValue(member.type))
                continue;
            if (m_confirmWrite && !m_confirmWrite(member)) {
                member.valueUsed = false; // declined: the value is not written and its number stays free
                continue;
            }
            const int index = static_cast<int>(j);
            if (member.type == codeOf(Scheme::AutoNumber) && !m_engine->Update_AutoNumber(index))
                return;
            try {
                m_host.view->SetField(member.target, member.value);
            } catch (...) {
                m_engine->giveBack(index);
                member.valueUsed = false;
                throw;
            }
        }
    });
}

} // namespace valdora::run
