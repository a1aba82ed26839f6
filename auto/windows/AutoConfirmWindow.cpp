#include "AutoConfirmWindow.h"

#include "ForegroundWindow.h"
#include "ui_frmAutoConfirm.h"

namespace valdora::autorun {

AutoConfirmWindow::AutoConfirmWindow(const ConfirmationTexts& texts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmAutoConfirm>())
{
    m_ui->setupUi(this);
    setWindowTitle(texts.caption);
    m_ui->Label1->setText(texts.intro);
    m_ui->Label2->setText(texts.target);
    m_ui->Label3->setText(texts.question);
    m_ui->cmdYes->setText(texts.yes);
    m_ui->cmdNo->setText(texts.no);
    m_ui->Label5->setText(texts.noteHead);
    m_ui->Label4->setText(texts.note);
    connect(m_ui->cmdYes, &QPushButton::clicked, this, &AutoConfirmWindow::cmdYes_Click);
    connect(m_ui->cmdNo, &QPushButton::clicked, this, &AutoConfirmWindow::cmdNo_Click);
    setFixedSize(sizeHint().expandedTo(size()));
}

AutoConfirmWindow::~AutoConfirmWindow() = default;

void AutoConfirmWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bringToForeground(*this);
}

void AutoConfirmWindow::cmdYes_Click()
{
    m_answer = true;
    accept();
}

void AutoConfirmWindow::cmdNo_Click()
{
    m_answer = false;
    reject();
}

} // namespace valdora::autorun
