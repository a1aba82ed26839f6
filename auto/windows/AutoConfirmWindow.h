#pragma once

#include "auto/WarningScreens.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmAutoConfirm;
}

namespace valdora::autorun {

/// The confirmation before a member is written: the target field, Yes and No, and a note on how to
/// turn the window off. Closing it with its close box answers No.
class AutoConfirmWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AutoConfirmWindow(const ConfirmationTexts& texts, QWidget* parent = nullptr);
    ~AutoConfirmWindow() override;

    /// True once Yes was clicked; false before and after No or the close box.
    bool answer() const { return m_answer; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdYes_Click();
    void cmdNo_Click();

    std::unique_ptr<Ui::frmAutoConfirm> m_ui;
    bool m_answer = false;
};

} // namespace valdora::autorun
