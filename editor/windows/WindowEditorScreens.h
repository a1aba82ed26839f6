#pragma once

#include "EditorScreens.h"

#include "settings/ProgramSession.h"

#include <QPointer>
#include <QWidget>

namespace valdora::editor {

/// The editor's windows on the desktop. One lives as long as the editor it serves, so the "More..."
/// dialogs it keeps stay loaded while the editor is open.
class WindowEditorScreens final : public EditorScreens {
public:
    explicit WindowEditorScreens(ProgramSession& session);
    ~WindowEditorScreens() override;

    /// The window the modal ones belong to (the editor, once it is there).
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    bool fieldOptions(AutoNumberPage& page) override;
    void moreConditions(EditorState& state, const QString& focusControl) override;
    void moreMembers(EditorState& state, const QString& focusControl) override;
    TriggerChoice triggerChoice() override;
    void startOptions() override;
    void languages() override;
    void settingsLocation() override;
    void integrate() override;
    void onlineHelp() override;

private:
    ProgramSession& m_session;
    QPointer<QWidget> m_parent;
};

/// The address of the online help page in the current language.
QString onlineHelpAddress(const Messages& messages);

} // namespace valdora::editor
