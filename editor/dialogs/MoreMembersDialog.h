#pragma once

#include "ComboMemberRow.h"

#include "editor/EditorState.h"

#include "settings/ButtonModel.h"
#include "settings/MessageTable.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <vector>

namespace Ui {
class frmMoreCombo;
}

namespace valdora::editor {

/// Combo members 9 to 20 (indices 8 to 19), each row exactly like a row of the Combo page. OK
/// (cmdClose) accepts the dialog and Cancel rejects it; what that means for the rows is up to its
/// owner (MoreMembers).
class MoreMembersDialog final : public QDialog {
    Q_OBJECT
public:
    /// The rows offer the buttons of the member map `members` (never a Combo button).
    MoreMembersDialog(const Messages& messages, const QList<ComboMember>& members, QWidget* parent = nullptr);
    ~MoreMembersDialog() override;

    /// Shows members 9 to 20 of `keys`.
    void load(const ComboKeys& keys) const;
    /// Stores the rows into members 9 to 20 of `keys`; the page's members stay as they are.
    void store(ComboKeys& keys) const;

    const std::vector<ComboMemberRowWidgets>& rows() const { return m_rows; }

private:
    std::unique_ptr<Ui::frmMoreCombo> m_ui;
    std::vector<ComboMemberRowWidgets> m_rows;
};

/// The members dialog of one editor, kept for the editor's lifetime, as MoreConditions is for the
/// conditions: OK keeps the rows (in the editor's state, for the save), Cancel and the close box put
/// back the members the button file held and unload the dialog.
class MoreMembers {
public:
    /// `fileRows` are the members as the button file holds them (the editor's state as loaded);
    /// `parent` is the editor, over which the dialog opens. `messages` must outlive this object.
    MoreMembers(const Messages& messages, const ComboKeys& fileRows, QWidget* parent);
    ~MoreMembers();
    MoreMembers(const MoreMembers&) = delete;
    MoreMembers& operator=(const MoreMembers&) = delete;

    /// Shows the dialog modally with members 9 to 20 of `state` over its member map. OK stores the
    /// rows into `state` and keeps the dialog loaded; Cancel and the close box put the file's members
    /// 9 to 20 back into `state` and unload it. True when OK closed it.
    bool show(EditorState& state);

    /// The dialog while it is loaded; null before the first opening and after Cancel.
    MoreMembersDialog* dialog() const { return m_dialog.get(); }

private:
    const Messages& m_messages;
    ComboKeys m_fileRows;
    QPointer<QWidget> m_parent;
    std::unique_ptr<MoreMembersDialog> m_dialog;
};

} // namespace valdora::editor
