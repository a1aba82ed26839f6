#pragma once

#include "KeelbrookTrace.h"
#include "TriggerCheck.h"
#include "TriggerKind.h"

#include <optional>

namespace valdora::triggers {

/// The choices of the add window when Create is pressed. An index of -1 means nothing chosen.
struct AddChoices {
    qsizetype fieldIndex = -1;
    TriggerKind kind = TriggerKind::Exit;
    /// True when the program option is chosen, false for the button option.
    bool programChosen = true;
    QString programText;
    qsizetype buttonIndex = -1;
};

/// Why Create cannot go on ("You need to select a field!" ...), or nullopt when it can. The program
/// box counts as empty while it holds the hint. The chosen option decides what must be there: a
/// button picked before switching to the program option does not stand in for a program, or the
/// hint would be written as the command.
std::optional<QString> refusalOf(const AddChoices& choices, const QString& hint);

/// Checks the field's current trigger of that kind against the target and writes what the check
/// decides: the target's trigger (its path, or a new button trigger of this program folder), or the
/// button behind those queued. The trigger written, or nullopt when nothing was.
std::optional<RememberedTrigger> createTrigger(host::FieldList& fields, host::FieldId fieldId,
                                               TriggerKind kind, const TriggerTarget& target,
                                               const QString& programFolder, CheckQuestions& questions,
                                               KeelbrookTrace& trace);

} // namespace valdora::triggers
