#pragma once

#include "bar/startup/UpgradeScreens.h"

#include "core/Platform.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmUpgrade;
}

namespace valdora::bar {

/// Asks whether the settings of an earlier version are to be converted. Yes answers so and closes;
/// No asks for a settings file another workstation converted into and closes with it (a cancelled
/// file dialog leaves the window open); closing the window cancels.
class UpgradeWindow final : public QDialog {
    Q_OBJECT
public:
    explicit UpgradeWindow(Platform& platform, QWidget* parent = nullptr);
    ~UpgradeWindow() override;

    /// The user's answer; Cancelled until Yes, or No with a file chosen.
    const UpgradeAnswer& answer() const { return m_answer; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdYes_Click();
    void cmdNo_Click();

    Platform& m_platform;
    std::unique_ptr<Ui::frmUpgrade> m_ui;
    UpgradeAnswer m_answer = UpgradeAnswer::cancelled();
};

} // namespace valdora::bar
