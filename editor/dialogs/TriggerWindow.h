#pragma once

#include "settings/ProgramSession.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class frmTrigger;
}

namespace valdora::editor {

/// The trigger choice behind the editor's "Settings..." button: how a button is fired by hand from
/// the bar or by a field trigger that Keelbrook sets up, and a button that hands over to Keelbrook.
class TriggerWindow final : public QDialog {
    Q_OBJECT
public:
    /// How the window was closed.
    enum class Answer {
        Closed,         ///< Command1 or the close box: nothing to do
        LaunchKeelbrook ///< cmdKeelbrook: the editor saves the button and the bar shuts down for Keelbrook
    };

    /// `databasePath` gives the open database's path (the host's GetDatabasePath); it may throw a
    /// Failure, which cmdKeelbrook reports.
    TriggerWindow(const ProgramSession& session, std::function<QString()> databasePath,
                  QWidget* parent = nullptr);
    ~TriggerWindow() override;

    /// Shows the window modally until it is closed and returns how.
    static Answer choose(const ProgramSession& session, std::function<QString()> databasePath,
                         QWidget* parent = nullptr);

    Answer answer() const { return m_answer; }

private:
    void cmdKeelbrook_Click();

    std::unique_ptr<Ui::frmTrigger> m_ui;
    const ProgramSession& m_session;
    std::function<QString()> m_databasePath;
    Answer m_answer = Answer::Closed;
};

} // namespace valdora::editor
