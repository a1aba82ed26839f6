#include "TriggerRows.h"

#include "settings/MessageId.h"

namespace valdora::triggers {

namespace {

// The progress marker of an exit trigger's read: its field id and this.
constexpr qint16 ExitMarkerOffset = 2000;

bool isRemembered(const TriggerRow& row, TriggerKind kind, const std::optional<RememberedTrigger>& remembered)
{
    return remembered && remembered->fieldId == row.fieldId && remembered->kind == kind &&
           remembered->text.contains(row.rawText);
}

} // namespace

QString typeTextOf(const Messages& messages, TriggerKind kind)
{
    return messages.get(kind == TriggerKind::Entry ? MessageId::TriggerEntry : MessageId::TriggerExit);
}

TriggerKind kindOfTypeText(const Messages& messages, const QString& typeText)
{
    return typeText == messages.get(MessageId::TriggerEntry) ? TriggerKind::Entry : TriggerKind::Exit;
}

TriggerRow Write_Trigger(const host::FieldList& fields, host::FieldId fieldId, const QString& typeText,
                         int row, const TriggerRowContext& context, KeelbrookTrace& trace)
{
    trace.enter(QStringLiteral("Write_Trigger(%1,%2,%3)").arg(fieldId).arg(typeText).arg(row));
    const TriggerKind kind = kindOfTypeText(context.messages, typeText);
    TriggerRow result;
    result.row = row;
    result.typeText = typeText;
    result.fieldId = fieldId;
    result.rawText = readTrigger(fields, fieldId, kind);
    trace.reach(1);
    result.description = TriggerText::describe(result.rawText, context.programFolder, context.names);
    trace.reach(2);
    result.label = fields.Label(fieldId);
    trace.reach(3);
    result.selected = isRemembered(result, kind, context.remembered);
    trace.reach(4);
    return result;
}

QList<TriggerRow> listTriggers(const host::FieldList& fields, const TriggerRowContext& context,
                               KeelbrookTrace& trace)
{
    QList<TriggerRow> rows;
    const QString entryText = typeTextOf(context.messages, TriggerKind::Entry);
    const QString exitText = typeTextOf(context.messages, TriggerKind::Exit);
    for (host::FieldId fieldId = 1; fieldId <= LastListedField; ++fieldId) {
        trace.reach(fieldId);
        // An id without a field has no triggers to read: the host refuses to read them.
        if (fields.Id(fieldId) == -1)
            continue;
        if (!fields.EntryTrigger(fieldId).isEmpty())
            rows.append(Write_Trigger(fields, fieldId, entryText, int(rows.size()) + 1, context, trace));
        trace.reach(qint16(fieldId + ExitMarkerOffset));
        if (!fields.ExitTrigger(fieldId).isEmpty())
            rows.append(Write_Trigger(fields, fieldId, exitText, int(rows.size()) + 1, context, trace));
    }
    return rows;
}

} // namespace valdora::triggers
