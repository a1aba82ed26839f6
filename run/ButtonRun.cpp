#include "ButtonRun.h"

#include "BarRoad.h"
#include "OnScreenRoad.h"
#include "RunSummaryText.h"

#include "engine/FieldReader.h"
#include "engine/ValueEngine.h"
#include "settings/ButtonReaders.h"

#include <algorithm>
#include <array>

namespace valdora::run {

namespace {

// The scheme code of a button file. A "Type" that is no number is a damaged definition: read as 0 it
// would run as an AutoNumber and overwrite the target of every contact with numbers.
qint16 schemeCode(const ButtonFile& button, const QString& fileName)
{
    const QString text = readTypeText(button);
    if (const std::optional<qint16> code = typeCodeOf(text))
        return *code;
    throw Failure(ErrorNumber::TypeMismatch,
                  QStringLiteral("The button %1 has the type \"%2\", which is not a scheme number; check the "
                                 "settings for this button")
                      .arg(fileName, text.left(40)));
}

} // namespace

ButtonRun::ButtonRun(ProgramSession& session, RunHost host, ProgramProfile profile, ScopeChooser* scopes)
    : m_session(session), m_host(host), m_profile(std::move(profile)), m_scopes(scopes),
      m_progress(session.userSettings()), m_clock([] { return QDateTime::currentDateTime(); })
{}

ButtonRun::~ButtonRun() = default;

std::unique_ptr<ContactRoad> ButtonRun::makeRoad()
{
    const RoadParts parts{m_session, m_host, m_progress, m_state, m_profile.module()};
    if (m_roadMaker)
        return m_roadMaker(parts);
    switch (m_profile.road) {
    case ContactRoadKind::Bar:
        return std::make_unique<BarRoad>(parts, m_scopes, m_clock, m_journal);
    case ContactRoadKind::OnScreen:
        return std::make_unique<OnScreenRoad>(parts, m_confirmWrite, m_afterEndOfWrite, m_missingButtonField);
    }
    throw Failure(ErrorNumber::InvalidProcedureCall,
                  QStringLiteral("This program has no way to its contacts"));
}

RunSummary ButtonRun::Process_Button(const QString& buttonFileName)
{
    RunSummary summary;
    const int reportsBefore = m_session.reporter().reportCount();
    m_state.progressWindowOpen = false;
    m_state.stopped = false;
    const bool finished = trapped(m_session.reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
        if (!prepare(buttonFileName, summary))
            return;
        summary.started = true;
        for (const host::ContactId& id : m_state.contactIds) {
            const int countedBefore = summary.written + summary.unchanged + summary.failed;
            try {
                processContact(id, summary);
            } catch (...) {
                // The contact the run stopped at was not written: it counts as failed, not as unreached.
                if (summary.written + summary.unchanged + summary.failed == countedBefore)
                    ++summary.failed;
                throw;
            }
            if (m_state.engine->unloadRequested()) {
                summary.unloadRequested = true;
                return;
            }
            if (m_state.stopped)
                return;
        }
    });
    if (m_state.engine) {
        m_road->abandonRecord();
        m_state.engine->releaseCounterLocks();
        m_state.engine->syncCounters();
    }
    summary.stopped = summary.started && (!finished || m_state.stopped);
    if (m_road)
        m_road->endRun(summary);
    summary.failureReported = m_session.reporter().reportCount() != reportsBefore;
    // The window's last line says what the run did; a window left counting after a run that stopped
    // would wait for contacts that never come.
    if (m_state.progressWindowOpen) {
        if (summary.started) {
            const QString caption =
                readCaption(ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), buttonFileName));
            m_progress.setSummary(
                runSummaryText(m_session.messages(), caption.isEmpty() ? buttonFileName : caption, summary));
        }
        m_progress.setStage(0);
        m_state.progressWindowOpen = false;
    }
    return summary;
}

bool ButtonRun::prepare(const QString& buttonFileName, RunSummary& summary)
{
    m_road = makeRoad();
    std::unique_ptr<engine::FieldReader> reader = m_road->open(m_maxFields);
    if (!reader)
        return false;
    m_state.reader = std::move(reader);

    m_state.fieldValues.reset(std::max(m_maxFields, 0));
    m_state.members.clear();
    m_state.contactIds.clear();
    m_state.processed = 0;
    m_state.engine = std::make_unique<engine::ValueEngine>(m_session, *m_state.reader, m_state.fieldValues,
                                                           m_profile.engine);

    m_state.currentButton = buttonFileName;
    const ButtonFile button = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), buttonFileName);
    m_type = schemeCode(button, buttonFileName);
    const bool combo = m_type == codeOf(Scheme::Combo);

    if (m_type == -1 && m_road->refusesMissingButton(buttonFileName, button))
        return false;
    if (!combo && !addMember(buttonFileName, false))
        return false;

    if (!m_road->gatherContacts(button, summary))
        return false;
    summary.inScope = m_state.total();

    if (combo) {
        const std::array<ComboSlot, ButtonKey::ComboCount> members = readComboSlots(button);
        const int count = std::min(m_profile.comboSlots(), static_cast<int>(members.size()));
        for (int slot = 0; slot < count; ++slot) {
            if (members[slot].inUse && !addMember(members[slot].buttonFileName, true))
                return false;
        }
    }
    // Every member is prepared before the first write: a member that cannot run stops the run while
    // nothing is written yet.
    bool ready = true;
    std::vector<RunMember>& members = m_state.members;
    for (std::size_t j = 0; j < members.size(); ++j)
        ready =
            m_state.engine->Initialize(members[j].type, static_cast<int>(j), members[j].fileName) && ready;
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
        m_state.progressWindowOpen = false; // that stage closes the window
        m_session.showMessage(m_session.messages().get(MessageId::ComboMemberMissing));
        return false;
    }
    if (!resolveTarget(member, button))
        return false;
    member.rule = OverwriteRule::fromButton(button);
    m_state.members.push_back(std::move(member));
    return true;
}

bool ButtonRun::resolveTarget(RunMember& member, const ButtonFile& button)
{
    member.targetName = readTarget(button).name;
    if (!m_road->resolveTarget(member, button))
        return false;
    member.targetIsCurrency = member.targetFieldType == host::FieldType::Currency;
    // The table has an entry for every field the run writes, whatever the scan found.
    if (member.target > m_state.fieldValues.maxFields())
        m_state.fieldValues.setValue(member.target, QString());
    return true;
}

void ButtonRun::processContact(const host::ContactId& id, RunSummary& summary)
{
    for (const RunMember& member : m_state.members)
        m_state.fieldValues.clear(member.target);
    ++m_state.processed;

    m_road->startContact(id);
    const bool computed = computeMembers(id);
    if (mustNotWrite(summary))
        return;
    if (!computed) {
        // Its message has been shown once; the same failure at every contact after it would only
        // repeat it. Nothing of this contact is written, and the run ends here.
        m_road->stopAt(summary);
        return;
    }
    m_road->writeContact(summary);
}

bool ButtonRun::mustNotWrite(RunSummary& summary)
{
    if (m_state.engine->unloadRequested())
        return true;
    if (!m_state.engine->counterFailed())
        return false;
    m_road->stopAt(summary);
    return true;
}

bool ButtonRun::computeMembers(const host::ContactId& id)
{
    const bool single = m_type != codeOf(Scheme::Combo);
    const int reportsBefore = m_session.reporter().reportCount();
    for (std::size_t j = 0; j < m_state.members.size(); ++j) {
        RunMember& member = m_state.members[j];
        const int index = static_cast<int>(j);
        if (member.computesValue()) {
            m_state.engine->setTargetIsCurrency(member.targetIsCurrency);
            const QString value = m_state.engine->Obtain(member.type, id, member.fileName, index);
            if (m_state.engine->unloadRequested())
                return false;
            // The members after it may read its value: none of this contact is computed on.
            if (m_state.engine->obtainFailed())
                return false;
            m_state.fieldValues.setValue(member.target, value);
        }
        m_road->decimalsBeforeValidate(member, single);
        member.value = Validate(index);
        m_road->decimalsAfterValidate(member, single);
    }
    // A Validate that failed leaves an empty text, which would empty the field.
    return m_session.reporter().reportCount() == reportsBefore;
}

QString ButtonRun::Validate(int member)
{
    QString result;
    trapped(m_session.reporter(), routine(RoutineKind::Function, "Validate"), [&] {
        RunMember& entry = m_state.members.at(static_cast<std::size_t>(member));
        const QString present = m_state.reader->read(entry.target).value_or(QString());
        entry.present = present;
        if (!entry.computesValue() && entry.type != codeOf(Scheme::Combo)) {
            result = present;
            return;
        }
        const OverwriteResult outcome = entry.rule.apply(present, m_state.fieldValues.value(entry.target));
        result = outcome.text;
        if (outcome.valueUsed)
            entry.valueUsed = true;
    });
    return result;
}

} // namespace valdora::run
