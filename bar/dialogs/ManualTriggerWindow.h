#pragma once

#include "core/Platform.h"
#include "settings/MessageTable.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmManualTrigger;
}

namespace valdora::bar {

/// The trigger-syntax window of the bar's button menu: the command that runs the button from a
/// field trigger, a button that copies it to the clipboard, and how to get at the host's field
/// definitions.
class ManualTriggerWindow final : public QDialog {
    Q_OBJECT
public:
    /// `syntax` is the trigger command, shown in `Text1` as given.
    ManualTriggerWindow(const Messages& messages, Platform& platform, const QString& syntax,
                        QWidget* parent = nullptr);
    ~ManualTriggerWindow() override;

    /// Shows the window for `syntax` modally until it is closed.
    static void show(const Messages& messages, Platform& platform, const QString& syntax,
                     QWidget* parent = nullptr);
    using QDialog::show;

private:
    void Command1_Click();

    std::unique_ptr<Ui::frmManualTrigger> m_ui;
    Platform& m_platform;
};

} // namespace valdora::bar
