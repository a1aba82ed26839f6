#pragma once

#include "ConditionRow.h"

#include "editor/EditorState.h"
#include "editor/FieldListModel.h"

#include "settings/ButtonModel.h"
#include "settings/MessageTable.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <vector>

namespace Ui {
class frmMoreCond;
}

namespace valdora::editor {

/// Conditions 6 to 20 (indices 5 to 19), each row exactly like a row of the Condition page. OK
/// (cmdClose) accepts the dialog and Cancel rejects it; what that means for the rows is up to its
/// owner (MoreConditions).
class MoreConditionsDialog final : public QDialog {
    Q_OBJECT
public:
    /// The rows offer the source fields of `fields`.
    MoreConditionsDialog(const Messages& messages, const FieldListModel& fields, QWidget* parent = nullptr);
    ~MoreConditionsDialog() override;

    /// Shows conditions 6 to 20 of `keys`.
    void load(const ConditionKeys& keys) const;
    /// Stores the rows into conditions 6 to 20 of `keys`; the page's conditions stay as they are.
    void store(ConditionKeys& keys) const;

    const std::vector<ConditionRowWidgets>& rows() const { return m_rows; }

private:
    std::unique_ptr<Ui::frmMoreCond> m_ui;
    std::vector<ConditionRowWidgets> m_rows;
};

/// The conditions dialog of one editor, kept for the editor's lifetime: loaded at its first opening,
/// hidden by OK with its rows in the editor's state (so the save writes them), unloaded by Cancel
/// or its close box, which put back the conditions the button file held. A button whose dialog was
/// never opened keeps its file's conditions in the state, and the save writes them back unchanged.
class MoreConditions {
public:
    /// `fileRows` are the conditions as the button file holds them (the editor's state as loaded);
    /// `parent` is the editor, over which the dialog opens. The references must outlive this object.
    MoreConditions(const Messages& messages, const FieldListModel& fields, const ConditionKeys& fileRows,
                   QWidget* parent);
    ~MoreConditions();
    MoreConditions(const MoreConditions&) = delete;
    MoreConditions& operator=(const MoreConditions&) = delete;

    /// Shows the dialog modally with conditions 6 to 20 of `state`. OK stores the rows into `state`
    /// and keeps the dialog loaded; Cancel and the close box put the file's conditions 6 to 20 back
    /// into `state` and unload it. True when OK closed it.
    bool show(EditorState& state);

    /// The dialog while it is loaded; null before the first opening and after Cancel.
    MoreConditionsDialog* dialog() const { return m_dialog.get(); }

private:
    const Messages& m_messages;
    const FieldListModel& m_fields;
    ConditionKeys m_fileRows;
    QPointer<QWidget> m_parent;
    std::unique_ptr<MoreConditionsDialog> m_dialog;
};

} // namespace valdora::editor
