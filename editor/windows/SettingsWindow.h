#pragma once

#include "EditorHost.h"
#include "EditorScreens.h"

#include "pages/SchemePage.h"

#include "editor/EditorSave.h"
#include "editor/EditorState.h"
#include "editor/FieldListModel.h"
#include "editor/PositionClash.h"
#include "editor/SaveChecks.h"

#include "settings/ProgramSession.h"

#include <QDialog>
#include <QHash>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QRadioButton;
class QStringListModel;

namespace Ui {
class frmSettings;
}

namespace valdora::editor {

class AutoNumberPageWidgets;

/// The longest caption a button takes.
inline constexpr int CaptionLimit = 10;

/// The button editor: the common area, the seven scheme pages and the menus over one EditorState.
/// It is loaded from the button file (or as a new button), the widgets write back into the state, and
/// OK runs the save's checks and writes; Cancel and the close box write nothing.
class SettingsWindow final : public QDialog {
    Q_OBJECT
public:
    /// The editor for `fileName` of the button folder, or for a new button when it is empty.
    SettingsWindow(ProgramSession& session, EditorHost& host, EditorScreens& screens, const QString& fileName,
                   QWidget* parent = nullptr);
    ~SettingsWindow() override;

    /// Shows the editor modally until it is closed; true when a save wrote the button.
    static bool edit(ProgramSession& session, EditorHost& host, EditorScreens& screens,
                     const QString& fileName, QWidget* parent = nullptr);

    /// The entries as the widgets hold them now.
    EditorState state();
    /// True once a save wrote the button.
    bool saved() const { return m_saved; }
    /// The fields of the open database, as every field list of the editor offers them.
    const FieldListModel& fields() const { return m_fields; }
    /// The entries as the button file held them when the editor opened.
    const EditorState& loadedState() const { return m_loaded; }

    /// The save behind OK: the checks (asking their questions), then the writes, the bar updated and
    /// the editor closed. False when a check refused the entries or the writes failed; nothing of the
    /// entries is changed then.
    bool cmdOK_Click();
    /// The trigger choice; on a launch of Keelbrook the save runs as OK does and the bar shuts down
    /// whether it saved or not.
    void cmdTrigger_Click();

private:
    void Form_Load(const QString& fileName);
    void setCaptions();
    void buildMenus();
    void makePages();
    RegisterControl controlRegistry();
    void connectControls();
    void Tab_Load();
    void fillFieldLists();
    void setTabOrders();
    void storeWidgets();
    void Update_Output();
    void cmbPosition_LostFocus(AutoNumberPart part);
    void chkType_Click(int code);
    void SSTab1_Click(int page);
    void txtButtonName_GotFocus();
    void txtButtonName_LostFocus();
    void txtButtonName_Edited(const QString& text);
    void cmdAutoNumber_Click();
    void cmdSave_Click();
    void Command1_Click();
    void cmdMoreCond_Click();
    void cmdMoreCombo_Click();
    void showFailure(const SaveFailure& failure);
    bool runSave();
    void setCounterFile(const QString& path, bool takeNumber);
    /// The counter file the dialogs start from: the one stored, or the caption's default.
    QString shownCounterFile() const;
    FileRequest counterFileRequest(const QString& current) const;
    SaveEnvironment saveEnvironment() const;
    void registerControl(const QString& name, QWidget* widget);
    bool eventFilter(QObject* watched, QEvent* event) override;

    ProgramSession& m_session;
    EditorHost& m_host;
    EditorScreens& m_screens;
    std::unique_ptr<Ui::frmSettings> m_ui;
    FieldListModel m_fields;
    /// The source fields every source list of the editor shows.
    QStringListModel* m_sourceFields = nullptr;
    EditorState m_state;
    EditorState m_loaded;
    QString m_counterFolder;
    bool m_saved = false;
    /// Set while the widgets are being built and filled: their signals are not edits.
    bool m_filling = true;
    QString m_lastCaption;

    QMenuBar* m_menuBar = nullptr;
    QAction* m_mnuOptions = nullptr;
    QAction* m_mnuIniFile = nullptr;
    QAction* m_mnuStart = nullptr;
    QAction* m_mnuLanguage = nullptr;
    QAction* m_mnuIntegrate = nullptr;
    QAction* m_mnuHelp = nullptr;
    QAction* m_mnuOnline = nullptr;

    /// chkType by scheme code.
    std::array<QCheckBox*, SchemeTable.size()> m_chkType{};
    std::array<QRadioButton*, 4> m_optOver{};
    std::array<QRadioButton*, 2> m_optScope{};
    std::array<QRadioButton*, 3> m_optAutoWarning{};

    /// The scheme pages' widgets, by the page of the tabs each sits on.
    std::vector<std::unique_ptr<SchemePage>> m_pages;
    /// The AutoNumber page among them: the window settles its clashes of positions.
    AutoNumberPageWidgets* m_autoNumber = nullptr;

    /// The controls by the names the save's checks give them ("txtValueTab12").
    QHash<QString, QWidget*> m_controls;
};

} // namespace valdora::editor
