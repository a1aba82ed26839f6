#include "StartOptionsWindow.h"

#include "ui_frmStart.h"

#include "bar/startup/StartOptions.h"

namespace valdora::bar {

StartOptionsWindow::StartOptionsWindow(ProgramSession& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_ui(std::make_unique<Ui::frmStart>())
{
    m_ui->setupUi(this);
    const Messages& messages = session.messages();
    setWindowTitle(messages.get(MessageId::SystemTrayTitle));
    m_ui->Frame1->setTitle(messages.get(MessageId::StartupOptions));
    m_ui->optStart_0->setText(messages.get(MessageId::StartOptionWithBar));
    m_ui->optStart_1->setText(messages.get(MessageId::StartOptionInTray));
    m_ui->Frame2->setTitle(messages.get(MessageId::CloseOption));
    m_ui->chkClose->setText(messages.get(MessageId::CloseOptionToTray));
    m_ui->cmdOK->setText(messages.get(MessageId::Ok));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));

    const StartOptions options = loadStartOptions(session.userSettings());
    (options.startInTray ? m_ui->optStart_1 : m_ui->optStart_0)->setChecked(true);
    m_ui->chkClose->setChecked(options.closeToTray);

    connect(m_ui->cmdOK, &QPushButton::clicked, this, &StartOptionsWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &StartOptionsWindow::cmdCancel_Click);
}

StartOptionsWindow::~StartOptionsWindow() = default;

void StartOptionsWindow::edit(ProgramSession& session, QWidget* parent)
{
    StartOptionsWindow window(session, parent);
    window.exec();
}

void StartOptionsWindow::cmdOK_Click()
{
    storeStartOptions(m_session.userSettings(), {.startInTray = !m_ui->optStart_0->isChecked(),
                                                 .closeToTray = m_ui->chkClose->isChecked()});
    accept();
}

void StartOptionsWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::bar
