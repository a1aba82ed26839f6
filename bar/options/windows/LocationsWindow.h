#pragma once

#include "bar/options/LocationsForm.h"
#include "settings/ProgramSession.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmLocations;
}

namespace valdora::bar {

/// The settings-file location window: shows the settings file in use, lets the user pick another
/// one or copy the settings and button files to another folder, and stores the choice on OK.
class LocationsWindow final : public QDialog {
    Q_OBJECT
public:
    /// The window over the session; opening it creates the settings file in use when it is missing.
    explicit LocationsWindow(ProgramSession& session, QWidget* parent = nullptr);
    ~LocationsWindow() override;

    /// Shows the window modally until it is closed. True when OK stored a settings file.
    static bool edit(ProgramSession& session, QWidget* parent = nullptr);

    const LocationsForm& form() const { return m_form; }

private:
    void cmdBrowse_Click();
    void cmdCopy_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void showPath();

    ProgramSession& m_session;
    LocationsForm m_form;
    std::unique_ptr<Ui::frmLocations> m_ui;
};

} // namespace valdora::bar
