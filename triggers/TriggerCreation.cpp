#include "TriggerCreation.h"

#include "AddTriggerTexts.h"
#include "TriggerText.h"

namespace valdora::triggers {

namespace {

// Progress marks of a creation, for the error report.
constexpr qint16 Checked = 2;
constexpr qint16 QueueBranch = 31;
constexpr qint16 WriteBranch = 32;
constexpr qint16 Written = 3;

QString newTriggerText(const TriggerTarget& target, const QString& programFolder)
{
    if (target.isButton())
        return TriggerText::forButtons(programFolder, {target.value});
    return target.value;
}

} // namespace

std::optional<QString> refusalOf(const AddChoices& choices, const QString& hint)
{
    if (choices.fieldIndex < 0)
        return addtexts::SelectAField;
    const bool hasProgram = !choices.programText.isEmpty() && choices.programText != hint;
    const bool hasButton = choices.buttonIndex >= 0;
    if (choices.programChosen ? !hasProgram : !hasButton)
        return addtexts::SelectAProgramOrButton;
    return std::nullopt;
}

std::optional<RememberedTrigger> createTrigger(host::FieldList& fields, host::FieldId fieldId,
                                               TriggerKind kind, const TriggerTarget& target,
                                               const QString& programFolder, CheckQuestions& questions,
                                               KeelbrookTrace& trace)
{
    const QString current = readTrigger(fields, fieldId, kind);
    const CheckResult result = check_trigger(fieldId, current, target, programFolder, questions, trace);
    trace.reach(Checked);
    QString text;
    switch (result) {
    case CheckResult::Nothing:
        return std::nullopt;
    case CheckResult::Queue:
        trace.reach(QueueBranch);
        text = TriggerText::withQueuedButton(current, target.value);
        break;
    case CheckResult::Write:
        trace.reach(WriteBranch);
        text = newTriggerText(target, programFolder);
        break;
    }
    writeTrigger(fields, fieldId, kind, text);
    trace.reach(Written);
    return RememberedTrigger{fieldId, kind, text};
}

} // namespace valdora::triggers
