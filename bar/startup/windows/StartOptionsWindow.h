#pragma once

#include "settings/ProgramSession.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmStart;
}

namespace valdora::bar {

/// The start-up and close options of the bar: start with the bar or in the notification area, and
/// whether the close box hides the bar there. OK stores both and closes; Cancel closes.
class StartOptionsWindow final : public QDialog {
    Q_OBJECT
public:
    explicit StartOptionsWindow(ProgramSession& session, QWidget* parent = nullptr);
    ~StartOptionsWindow() override;

    /// Shows the window modally until it is closed.
    static void edit(ProgramSession& session, QWidget* parent = nullptr);

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    ProgramSession& m_session;
    std::unique_ptr<Ui::frmStart> m_ui;
};

} // namespace valdora::bar
