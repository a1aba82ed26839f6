#pragma once

#include "core/Platform.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

namespace Ui {
class frmUpgradeSave;
}

namespace valdora::bar {

/// Asks where the converted settings file is to be saved. Save opens the file-save dialog in the
/// default settings folder and closes with the chosen file; a cancelled dialog leaves the window
/// open, so that nothing is written anywhere the user did not choose. Closing the window cancels.
class UpgradeSaveWindow final : public QDialog {
    Q_OBJECT
public:
    UpgradeSaveWindow(Platform& platform, QString dataFolder, QWidget* parent = nullptr);
    ~UpgradeSaveWindow() override;

    /// The chosen settings file; nullopt until one was chosen.
    const std::optional<QString>& location() const { return m_location; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();

    Platform& m_platform;
    QString m_dataFolder;
    std::unique_ptr<Ui::frmUpgradeSave> m_ui;
    std::optional<QString> m_location;
};

} // namespace valdora::bar
