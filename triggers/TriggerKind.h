#pragma once

#include "host/FieldList.h"

#include <QString>

namespace valdora::triggers {

/// A field carries two triggers: one run when the user enters it, one when the user leaves it.
enum class TriggerKind { Entry, Exit };

/// The field's trigger text of that kind ("" for none).
inline QString readTrigger(const host::FieldList& fields, host::FieldId fieldId, TriggerKind kind)
{
    return kind == TriggerKind::Entry ? fields.EntryTrigger(fieldId) : fields.ExitTrigger(fieldId);
}

/// Replaces the field's trigger text of that kind; "" removes the trigger.
inline void writeTrigger(host::FieldList& fields, host::FieldId fieldId, TriggerKind kind,
                         const QString& text)
{
    if (kind == TriggerKind::Entry)
        fields.EntryTrigger(fieldId, text);
    else
        fields.ExitTrigger(fieldId, text);
}

/// The trigger last written, so that the report can select its row when it comes back.
struct RememberedTrigger {
    host::FieldId fieldId = -1;
    TriggerKind kind = TriggerKind::Exit;
    QString text;

    friend bool operator==(const RememberedTrigger&, const RememberedTrigger&) = default;
};

} // namespace valdora::triggers
