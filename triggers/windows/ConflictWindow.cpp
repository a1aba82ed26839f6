#include "ConflictWindow.h"

#include "ui_frmConflict.h"

#include "settings/MessageId.h"

#include <QCloseEvent>

namespace valdora::triggers {

ConflictWindow::ConflictWindow(const Messages& messages, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmConflict>())
{
    m_ui->setupUi(this);
    setWindowTitle(messages.get(MessageId::ConflictCheckingTitle));
    m_ui->Label1->setText(messages.get(MessageId::TriggerConflictQuestion));
    m_ui->cmdAdd->setText(messages.get(MessageId::AddToQueue));
    m_ui->cmdOverwrite->setText(messages.get(MessageId::Overwrite));
    m_ui->cmdCancel->setText(messages.get(MessageId::Cancel));
    connect(m_ui->cmdAdd, &QPushButton::clicked, this, &ConflictWindow::cmdAdd_Click);
    connect(m_ui->cmdOverwrite, &QPushButton::clicked, this, &ConflictWindow::cmdOverwrite_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &ConflictWindow::cmdCancel_Click);
    setFixedSize(sizeHint());
}

ConflictWindow::~ConflictWindow() = default;

CheckResult ConflictWindow::choose(const Messages& messages, QWidget* parent)
{
    ConflictWindow window(messages, parent);
    window.exec();
    return static_cast<CheckResult>(window.intConflictResult);
}

void ConflictWindow::closeEvent(QCloseEvent* event)
{
    // The close box is a Cancel: no earlier choice may stand in for an answer not given.
    intConflictResult = static_cast<qint16>(CheckResult::Nothing);
    QDialog::closeEvent(event);
}

void ConflictWindow::cmdAdd_Click()
{
    chooseAndClose(CheckResult::Queue);
}

void ConflictWindow::cmdOverwrite_Click()
{
    chooseAndClose(CheckResult::Write);
}

void ConflictWindow::cmdCancel_Click()
{
    chooseAndClose(CheckResult::Nothing);
}

void ConflictWindow::chooseAndClose(CheckResult result)
{
    intConflictResult = static_cast<qint16>(result);
    done(intConflictResult);
}

} // namespace valdora::triggers
