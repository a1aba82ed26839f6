#pragma once

#include "EditorHost.h"
#include "EditorScreens.h"

#include "editor/dialogs/MoreConditionsDialog.h"
#include "editor/dialogs/MoreMembersDialog.h"

#include "settings/ProgramSession.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace valdora::editor {

class SettingsWindow;

/// The editor's windows on the desktop. One lives as long as the editor it serves, so the "More..."
/// dialogs it keeps stay loaded while the editor is open.
class WindowEditorScreens final : public EditorScreens {
public:
    WindowEditorScreens(ProgramSession& session, EditorHost& host);
    ~WindowEditorScreens() override;

    /// The editor served: the parent of the windows, and the fields and file rows of its dialogs.
    void setEditor(SettingsWindow* editor);

    bool fieldOptions(AutoNumberPage& page) override;
    void moreConditions(EditorState& state, const QString& focusControl) override;
    void moreMembers(EditorState& state, const QString& focusControl) override;
    TriggerChoice triggerChoice() override;
    void startOptions() override;
    void languages() override;
    void settingsLocation() override;
    bool integrate() override;
    bool offersSettingsLocation() const override { return m_host.offersOptions(); }
    bool offersIntegration() const override { return m_host.offersOptions(); }
    void onlineHelp() override;

private:
    ProgramSession& m_session;
    EditorHost& m_host;
    QPointer<SettingsWindow> m_editor;
    std::unique_ptr<MoreConditions> m_moreConditions;
    std::unique_ptr<MoreMembers> m_moreMembers;
};

/// The address of the online help page in the current language.
QString onlineHelpAddress(const Messages& messages);

/// The object name of a row control as the save's checks name it: "txtValueTab16" is "txtValueTab1_6".
/// A name that is no row control is returned as it is.
QString rowObjectName(const QString& checkName);

/// Focuses the named control of the modal window about to open (a line edit's text selected), once it
/// is on screen.
void focusInNextModal(const QString& objectName);

} // namespace valdora::editor
