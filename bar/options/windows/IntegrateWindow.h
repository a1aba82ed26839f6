#pragma once

#include "bar/options/IntegrationForm.h"
#include "settings/ProgramSession.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;

namespace Ui {
class frmIntegrate;
}

namespace valdora::bar {

struct BarFlags;

/// Makes the host's auxiliary-commands object: the program passes the running host's client
/// (host::createAuxCommands), tests their own.
using AuxCommandsFactory = std::function<std::unique_ptr<host::AuxCommands>()>;

/// The integration window: twelve boxes that put the command starting Valdora on the host's toolbar
/// and into its Tools menu, per view. Close asks whether to restart the host when something changed;
/// Cancel closes (what was clicked stays done). The auxiliary-commands object lives as long as the
/// window; opening and closing it without a click calls nothing but the reading of the boxes.
class IntegrateWindow final : public QDialog {
    Q_OBJECT
public:
    IntegrateWindow(ProgramSession& session, const AuxCommandsFactory& makeAuxCommands,
                    QWidget* parent = nullptr);
    ~IntegrateWindow() override;

    /// Shows the window modally. When the user accepts to restart the host, sets
    /// `flags.restartHost` and, after the window has closed, calls `restartHost`: the caller closes
    /// the editor and runs the bar's unload, which closes the host, starts it again on its database
    /// and ends Valdora. Returns whether the restart was asked for.
    static bool edit(ProgramSession& session, const AuxCommandsFactory& makeAuxCommands, BarFlags& flags,
                     const std::function<void()>& restartHost, QWidget* parent = nullptr);

    /// Whether the user answered Yes to the restart question.
    bool restartAsked() const { return m_restartAsked; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void chkScreen_Click(int index);
    void lblScreen_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

    ProgramSession& m_session;
    std::unique_ptr<IntegrationForm> m_form;
    std::unique_ptr<Ui::frmIntegrate> m_ui;
    QList<QCheckBox*> m_boxes;
    QList<QLabel*> m_labels;
    bool m_restartAsked = false;
};

} // namespace valdora::bar
