#pragma once

#include "KeelbrookTrace.h"

#include "host/HostTypes.h"

#include <QString>

namespace valdora::triggers {

/// What a new trigger starts: a program or macro file, stored as its path, or a button, stored as
/// its identifier.
struct TriggerTarget {
    enum class Kind { ProgramOrMacro, Button };
    Kind kind = Kind::ProgramOrMacro;
    QString value;

    static TriggerTarget programOrMacro(QString path) { return {Kind::ProgramOrMacro, std::move(path)}; }
    static TriggerTarget button(QString identifier) { return {Kind::Button, std::move(identifier)}; }
    bool isButton() const { return kind == Kind::Button; }
};

/// What the check decides: write nothing, add the button to the field's queue, or write the new
/// trigger over whatever is there. The numbers are those the conflict window's choice holds.
enum class CheckResult : qint16 { Nothing = 0, Queue = 1, Write = 2 };

/// The case the field's current trigger and the new target make, before anyone is asked.
enum class CheckCase {
    /// No trigger yet: write.
    Empty,
    /// Buttons queued, a program or macro chosen: ask before overwriting them.
    ButtonsBeforeProgram,
    /// The chosen button is queued already: say so, write nothing.
    ButtonAlreadyQueued,
    /// Other buttons queued, a button chosen: the conflict window offers queue, overwrite or cancel.
    OtherButtonsQueued,
    /// Any other text: ask before overwriting it.
    OtherText,
};

/// Sorts the current trigger text into its case. Buttons are recognised exactly, letter case
/// included, and only when they run from this program folder.
CheckCase checkCase(const QString& currentTrigger, const TriggerTarget& target, const QString& programFolder);

/// The questions of the check, answered by the user.
class CheckQuestions {
public:
    virtual ~CheckQuestions() = default;
    /// A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& question) = 0;
    /// A notice with an OK button.
    virtual void tell(const QString& notice) = 0;
    /// The conflict window's choice; a window closed without a choice is Nothing.
    virtual CheckResult chooseConflict() = 0;
};

/// The question before buttons are overwritten by a program or macro.
QString overwriteButtonsQuestion();
/// The question before another text is overwritten: it names that text.
QString overwriteOtherQuestion(const QString& currentTrigger);

/// Decides what becomes of the field's trigger, asking where its case needs an answer.
CheckResult check_trigger(host::FieldId fieldId, const QString& currentTrigger, const TriggerTarget& target,
                          const QString& programFolder, CheckQuestions& questions, KeelbrookTrace& trace);

} // namespace valdora::triggers
