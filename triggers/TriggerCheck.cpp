#include "TriggerCheck.h"

#include "AddTriggerTexts.h"
#include "TriggerText.h"

namespace valdora::triggers {

namespace {

const QString LineBreak = QStringLiteral("\r\n");

CheckResult writeWhenYes(bool yes)
{
    return yes ? CheckResult::Write : CheckResult::Nothing;
}

} // namespace

CheckCase checkCase(const QString& currentTrigger, const TriggerTarget& target, const QString& programFolder)
{
    if (currentTrigger.isEmpty())
        return CheckCase::Empty;
    if (!TriggerText::isButtonTrigger(currentTrigger, programFolder, Qt::CaseSensitive))
        return CheckCase::OtherText;
    if (!target.isButton())
        return CheckCase::ButtonsBeforeProgram;
    if (TriggerText::isQueued(currentTrigger, target.value))
        return CheckCase::ButtonAlreadyQueued;
    return CheckCase::OtherButtonsQueued;
}

QString overwriteButtonsQuestion()
{
    return addtexts::ButtonsAlreadyTriggered + LineBreak + addtexts::DoYouWantToOverwriteQuestion;
}

QString overwriteOtherQuestion(const QString& currentTrigger)
{
    return addtexts::ProgramAlreadyTriggeredHead + currentTrigger + addtexts::ProgramAlreadyTriggeredTail +
           LineBreak + addtexts::DoYouWantToOverwrite;
}

CheckResult check_trigger(host::FieldId fieldId, const QString& currentTrigger, const TriggerTarget& target,
                          const QString& programFolder, CheckQuestions& questions, KeelbrookTrace& trace)
{
    trace.enter(QStringLiteral("check_trigger(%1)").arg(fieldId));
    const CheckCase found = checkCase(currentTrigger, target, programFolder);
    trace.reach(1);
    switch (found) {
    case CheckCase::Empty:
        return CheckResult::Write;
    case CheckCase::ButtonsBeforeProgram:
        return writeWhenYes(questions.askYesNo(overwriteButtonsQuestion()));
    case CheckCase::ButtonAlreadyQueued:
        questions.tell(addtexts::ButtonAlreadyTriggered);
        return CheckResult::Nothing;
    case CheckCase::OtherButtonsQueued:
        return questions.chooseConflict();
    case CheckCase::OtherText:
        return writeWhenYes(questions.askYesNo(overwriteOtherQuestion(currentTrigger)));
    }
    return CheckResult::Nothing;
}

} // namespace valdora::triggers
