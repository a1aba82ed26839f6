#include "TriggerListing.h"

#include "KeelbrookTexts.h"

#include "settings/ButtonDefinition.h"
#include "triggers/TriggerText.h"

namespace valdora::keelbrook {

namespace {

const QString ReportSource = QStringLiteral("frmReport");

QString readTrigger(const host::FieldList& fields, host::FieldId id, TriggerKind kind)
{
    return kind == TriggerKind::Entry ? fields.EntryTrigger(id) : fields.ExitTrigger(id);
}

bool isRemembered(const KeelbrookState& state, const ReportRow& row, TriggerKind kind)
{
    const std::optional<RememberedTrigger>& remembered = state.rememberedTrigger();
    return remembered && remembered->fieldId == row.fieldId && remembered->kind == kind &&
           remembered->command.contains(row.raw);
}

} // namespace

TriggerKind kindOfType(const KeelbrookState& state, const QString& type)
{
    return type == state.text(MessageId::TriggerEntry) ? TriggerKind::Entry : TriggerKind::Exit;
}

QString describeTrigger(const KeelbrookState& state, const QString& triggerText)
{
    const ProgramSession& session = state.session();
    // The captions come from the button files of Valdora's settings folder, as the add window's
    // button list does.
    const TriggerText::NameLookup nameOf = [&session](const QString& identifier) {
        // A piece of trigger text is no file name: only "~" and digits reach into the folder.
        bool isNumber = false;
        identifier.mid(1).toInt(&isNumber);
        if (!identifier.startsWith(u'~') || !isNumber || identifier.mid(1).startsWith(u'-') ||
            identifier.mid(1).startsWith(u'+'))
            return QString();
        return ButtonFile::inFolder(session.ini(), session.buttonFolder(),
                                    identifier + QStringLiteral(".ini"))
            .read(ButtonKey::Name);
    };
    return TriggerText::describe(triggerText, session.programFolder(), nameOf);
}

Listing listTriggers(KeelbrookState& state)
{
    Listing listing;
    traced(state, ReportSource, QStringLiteral("frmReport.Form_Load"), [&] {
        host::FieldList& fields = state.fields();
        const QString entry = state.text(MessageId::TriggerEntry);
        const QString exit = state.text(MessageId::TriggerExit);
        for (int id = 1; id <= texts::LastListedField; ++id) {
            const auto fieldId = static_cast<host::FieldId>(id);
            // The host refuses to read the triggers of an id that names no field: such gaps in the
            // numbering carry no trigger.
            if (fields.Id(fieldId) != fieldId)
                continue;
            state.setProgress(fieldId);
            if (!fields.EntryTrigger(fieldId).isEmpty() &&
                !Write_Trigger(state, fieldId, entry, int(listing.rows.size()) + 1, listing))
                return;
            state.setProgress(static_cast<qint16>(fieldId + 2000));
            if (!fields.ExitTrigger(fieldId).isEmpty() &&
                !Write_Trigger(state, fieldId, exit, int(listing.rows.size()) + 1, listing))
                return;
        }
    });
    return listing;
}

bool Write_Trigger(KeelbrookState& state, host::FieldId fieldId, const QString& type, int rowNumber,
                   Listing& listing)
{
    const QString procedure = QStringLiteral("Write_Trigger(%1,%2,%3)").arg(fieldId).arg(type).arg(rowNumber);
    return traced(state, ReportSource, procedure, [&] {
        const host::FieldList& fields = state.fields();
        const TriggerKind kind = kindOfType(state, type);
        ReportRow row;
        row.fieldId = fieldId;
        row.type = type;
        row.raw = readTrigger(fields, fieldId, kind);
        state.setProgress(1);
        row.description = describeTrigger(state, row.raw);
        state.setProgress(2);
        row.label = fields.Label(fieldId);
        const int index = std::clamp(rowNumber - 1, 0, int(listing.rows.size()));
        listing.rows.insert(index, row);
        if (isRemembered(state, row, kind))
            listing.selectedRow = index;
    });
}

} // namespace valdora::keelbrook
