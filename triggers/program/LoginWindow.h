#pragma once

#include "KeelbrookState.h"

#include <QDialog>

#include <exception>
#include <memory>

namespace Ui {
class frmLogin;
}

namespace valdora::keelbrook {

/// The login to a shared database: user name (the last one typed) and password, one attempt. OK
/// validates and closes whatever the answer; Cancel closes without a validated user.
class LoginWindow final : public QDialog {
    Q_OBJECT
public:
    LoginWindow(KeelbrookState& state, host::Database& database, QWidget* parent = nullptr);
    ~LoginWindow() override;

    /// Shows the login modally over `parent`; a host failure of the validation is raised here,
    /// after the window has closed.
    static void ask(KeelbrookState& state, host::Database& database, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmLogin> m_ui;
    KeelbrookState& m_state;
    host::Database& m_database;
    std::exception_ptr m_failure;
};

} // namespace valdora::keelbrook
