#pragma once

#include "triggers/TriggerCheck.h"

#include "settings/MessageTable.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmConflict;
}

namespace valdora::triggers {

/// The choice when other buttons are queued on the field: add the new one to the queue, overwrite
/// them, or cancel. Closing it with its close box cancels.
class ConflictWindow final : public QDialog {
    Q_OBJECT
public:
    explicit ConflictWindow(const Messages& messages, QWidget* parent = nullptr);
    ~ConflictWindow() override;

    /// Shows the window modally and returns the choice.
    static CheckResult choose(const Messages& messages, QWidget* parent);

    /// 1 for Add to Queue, 2 for Overwrite, 0 for Cancel and for the close box.
    qint16 intConflictResult = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdAdd_Click();
    void cmdOverwrite_Click();
    void cmdCancel_Click();
    void chooseAndClose(CheckResult result);

    std::unique_ptr<Ui::frmConflict> m_ui;
};

} // namespace valdora::triggers
