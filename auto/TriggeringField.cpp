#include "TriggeringField.h"

#include "settings/ButtonFile.h"
#include "triggers/TriggerKind.h"
#include "triggers/TriggerRows.h"
#include "triggers/TriggerText.h"

namespace valdora::autorun {

QString fieldTriggeringButton(const host::FieldList& fields, const QString& programFolder,
                              const QString& buttonFileName, const QString& argumentText)
{
    // A blank typed before a "," is part of the entry and so of the file name; the trigger's queue
    // holds the identifier all the same.
    const QString identifier = buttonIdentifier(buttonFileName).trimmed();
    QString queuing;
    // The same fields as Keelbrook's report lists, so that the field named here is one it shows.
    for (host::FieldId fieldId = 1; fieldId <= triggers::LastListedField; ++fieldId) {
        if (fields.Id(fieldId) == -1)
            continue;
        for (const triggers::TriggerKind kind : {triggers::TriggerKind::Entry, triggers::TriggerKind::Exit}) {
            const QString text = triggers::readTrigger(fields, fieldId, kind);
            // Letter case aside, as the report reads them: a folder may be written either way.
            if (!TriggerText::isButtonTrigger(text, programFolder, Qt::CaseInsensitive) ||
                !TriggerText::isQueued(text, identifier))
                continue;
            if (TriggerText::queueText(text) == argumentText)
                return fields.Label(fieldId);
            if (queuing.isEmpty())
                queuing = fields.Label(fieldId);
        }
    }
    return queuing;
}

} // namespace valdora::autorun
