#include "TriggerRemoval.h"

#include "triggers/TriggerRows.h"

namespace valdora::keelbrook {

namespace {

/// Steps 1 and 2: the question and the clearing. False when nothing was cleared for a reason the
/// user is told about: no row, or a trigger the host would not clear.
bool askAndClear(KeelbrookState& state, const ReportModel& model, std::optional<int> selectedRow,
                 RemovalResult& result)
{
    try {
        if (!selectedRow || *selectedRow < 0 || *selectedRow >= model.rowCount())
            throw Failure(ErrorNumber::ObjectNotSet);
        const int row = *selectedRow;
        const QString type = model.cellText(row, ReportModel::TypeColumn);
        const QString question = state.text(MessageId::DeleteTriggerHead) + type +
                                 state.text(MessageId::DeleteTriggerMiddle) +
                                 model.cellText(row, ReportModel::FieldColumn) + QLatin1Char('?');
        if (state.session().showMessage(question, MessageButtons::YesNo, MessageIcon::Question) !=
            MessageAnswer::Yes) {
            result.end = RemovalEnd::Declined;
            return false;
        }
        state.trace().reach(1);
        bool isNumber = false;
        const int id = model.cellText(row, ReportModel::FieldIdColumn).toInt(&isNumber);
        if (!isNumber)
            throw Failure(ErrorNumber::TypeMismatch);
        triggers::writeTrigger(state.fields(), static_cast<host::FieldId>(id),
                               triggers::kindOfTypeText(state.session().messages(), type), QString());
        return true;
    } catch (const Failure& failure) {
        // The host keeps a database without a valid login from being changed: its reason, not a
        // question of the selection.
        if (failure.number() == host::HostError::WriteRefused)
            state.showRefusal(failure);
        else
            state.session().showMessage(state.text(MessageId::NoItemSelected));
        result.end = RemovalEnd::NotRemoved;
        return false;
    } catch (const std::exception&) {
        state.session().showMessage(state.text(MessageId::NoItemSelected));
        result.end = RemovalEnd::NotRemoved;
        return false;
    }
}

} // namespace

RemovalResult cmdRemove(KeelbrookState& state, ReportModel& model, std::optional<int> selectedRow)
{
    RemovalResult result;
    const bool finished = traced(state, QStringLiteral("frmReport"), QStringLiteral("cmdRemove"), [&] {
        if (!askAndClear(state, model, selectedRow, result))
            return;
        state.trace().reach(2);
        const int row = *selectedRow;
        model.removeRowAt(row);
        result.select = rowAfterRemoval(row, model.rowCount());
        result.end = RemovalEnd::Removed;
    });
    if (!finished)
        result.end = RemovalEnd::Failed;
    return result;
}

} // namespace valdora::keelbrook
