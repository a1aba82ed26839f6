#include "LoginWindow.h"

#include "DatabaseSelection.h"
#include "KeelbrookTexts.h"
#include "WindowFit.h"
#include "ui_frmLogin.h"

namespace valdora::keelbrook {

LoginWindow::LoginWindow(KeelbrookState& state, host::Database& database, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmLogin>()), m_state(state), m_database(database)
{
    m_ui->setupUi(this);
    setWindowTitle(state.text(MessageId::LoginTitle));
    m_ui->lblLabels_0->setText(state.text(MessageId::UserName));
    m_ui->lblLabels_1->setText(state.text(MessageId::Password));
    m_ui->cmdOK->setText(texts::LoginOk);
    m_ui->cmdCancel->setText(texts::LoginCancel);
    m_ui->txtUserName->setText(state.lastUser());
    // With a name remembered, the password is what is left to type: it comes first.
    if (m_ui->txtUserName->text().isEmpty()) {
        setTabOrder(m_ui->txtUserName, m_ui->txtPassword);
        setTabOrder(m_ui->txtPassword, m_ui->cmdOK);
        setTabOrder(m_ui->cmdOK, m_ui->cmdCancel);
    } else {
        setTabOrder(m_ui->txtPassword, m_ui->cmdOK);
        setTabOrder(m_ui->cmdOK, m_ui->cmdCancel);
        setTabOrder(m_ui->cmdCancel, m_ui->txtUserName);
    }
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &LoginWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &LoginWindow::cmdCancel_Click);
    fitWindow(*this);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::ask(KeelbrookState& state, host::Database& database, QWidget* parent)
{
    LoginWindow window(state, database, parent);
    window.exec();
    if (window.m_failure)
        std::rethrow_exception(window.m_failure);
}

void LoginWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    (m_ui->txtUserName->text().isEmpty() ? m_ui->txtUserName : m_ui->txtPassword)->setFocus();
}

void LoginWindow::cmdOK_Click()
{
    // An exception must not cross Qt's event loop: it is kept and raised once the window is closed.
    try {
        validateLogin(m_state, m_database, m_ui->txtUserName->text(), m_ui->txtPassword->text());
    } catch (...) {
        m_failure = std::current_exception();
    }
    accept();
}

void LoginWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::keelbrook
