#include "OnScreenRoad.h"

#include "ButtonNumbers.h"
#include "FieldCount.h"
#include "TargetDecimals.h"

#include "engine/ValueEngine.h"
#include "engine/ViewFieldReader.h"
#include "settings/ButtonReaders.h"
#include "settings/ComposedMessages.h"

namespace valdora::run {

namespace {

/// The table size when no count was stored yet.
constexpr int UncountedMaxFields = 2000;

} // namespace

OnScreenRoad::OnScreenRoad(const RoadParts& parts, ConfirmWrite confirmWrite, AfterEndOfWrite afterEndOfWrite,
                           MissingButtonField missingButtonField)
    : ContactRoad(parts), m_confirmWrite(std::move(confirmWrite)),
      m_afterEndOfWrite(std::move(afterEndOfWrite)), m_missingButtonField(std::move(missingButtonField))
{}

std::unique_ptr<engine::FieldReader> OnScreenRoad::open(int& maxFields)
{
    // The field list is not within reach here: the bar's last count sizes the table, and before the
    // bar ever counted, a table large enough for any database of the host.
    maxFields = storedMaxFields(session().userSettings(), UncountedMaxFields);
    host::UserList* users = host().database ? &host().database->Users() : nullptr;
    return std::make_unique<engine::ViewFieldReader>(*host().view, users);
}

bool OnScreenRoad::refusesMissingButton(const QString& buttonFileName, const ButtonFile& button)
{
    // A button without a file has no target of its own: the field to change is the one whose trigger
    // names it. The stored target stands in where no field does.
    QString field = m_missingButtonField ? m_missingButtonField(buttonFileName) : QString();
    if (field.isEmpty())
        field = readTarget(button).name;
    session().showMessage(missingButtonText(session().messages(), buttonFileName, field));
    return true;
}

bool OnScreenRoad::resolveTarget(RunMember& member, const ButtonFile& button)
{
    const FieldChoice target = readTarget(button);
    member.target = wholeNumber(button, ButtonKey::TargetID, target.id, -1);
    if (member.target == -1) {
        const Messages& text = session().messages();
        session().platform().showMessage(
            {text.get(MessageId::UpgradeNotResaved), text.get(MessageId::IncompleteUpgrade)});
        return false;
    }
    host::ContactView& view = *host().view;
    if (view.GetField(member.target).isEmpty() && view.GetLastError() == host::HostError::ViewFieldUnknown) {
        session().showMessage(session().messages().get(MessageId::InvalidButtonData));
        return false;
    }
    member.targetFieldType = wholeNumber(button, ButtonKey::TargetType, target.type, -1);
    return true;
}

bool OnScreenRoad::gatherContacts(const ButtonFile& /*button*/, RunSummary& /*summary*/)
{
    state().contactIds.push_back(host().view->GetCurrentID());
    return true;
}

void OnScreenRoad::startContact(const host::ContactId& id)
{
    // Validate compares with the present value of this contact, also for a member that reads nothing.
    state().reader->makeCurrent(id);
}

void OnScreenRoad::decimalsAfterValidate(RunMember& member, bool /*single*/)
{
    const ButtonFile button =
        ButtonFile::inFolder(session().ini(), session().buttonFolder(), member.fileName);
    const int places = wholeNumber(button, ButtonKey::TargetDecimals, readTargetDecimals(button), -1);
    if (places >= 0)
        member.value = inDecimalPlaces(session().locale(), member.value, places);
}

void OnScreenRoad::writeContact(RunSummary& summary)
{
    const WriteOutcome outcome = writeMembers();
    const bool used = state().anyValueUsed(); // a declined or failed member is no longer counted as used
    if (outcome == WriteOutcome::Declined) {
        // The user stopped the button: what was written stays, the end-of-write step does not run
        // (the run releases the counters it holds on its way out).
        state().stopped = true;
        summary.countContact(false, used);
        return;
    }
    End_Write();
    const bool wrote = outcome == WriteOutcome::Written;
    if (state().engine->counterFailed())
        stopAt(summary);
    else
        summary.countContact(!wrote, used);
}

void OnScreenRoad::End_Write()
{
    state().releaseAfterWrite();
    if (m_afterEndOfWrite)
        m_afterEndOfWrite();
}

OnScreenRoad::WriteOutcome OnScreenRoad::writeMembers()
{
    RunState& run = state();
    bool declined = false;
    const bool wentThrough = trapped(session().reporter(), routine(RoutineKind::Sub, "Process_Button"), [&] {
        for (std::size_t j = 0; j < run.members.size(); ++j) {
            RunMember& member = run.members[j];
            if (!member.valueUsed || !member.computesValue())
                continue;
            if (m_confirmWrite && !m_confirmWrite(member)) {
                // Declined: this member and every later one stay unwritten, their numbers stay free.
                for (std::size_t k = j; k < run.members.size(); ++k)
                    run.members[k].valueUsed = false;
                declined = true;
                return;
            }
            const int index = static_cast<int>(j);
            if (member.isAutoNumber() && !run.engine->Update_AutoNumber(index))
                return;
            try {
                host().view->SetField(member.target, member.value);
            } catch (...) {
                run.engine->giveBack(index);
                member.valueUsed = false;
                throw;
            }
        }
    });
    if (declined)
        return WriteOutcome::Declined;
    return wentThrough ? WriteOutcome::Written : WriteOutcome::Failed;
}

} // namespace valdora::run
