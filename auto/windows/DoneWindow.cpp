#include "DoneWindow.h"

#include "ForegroundWindow.h"
#include "ui_frmDone.h"

#include "settings/FixedTexts.h"

namespace valdora::autorun {

DoneWindow::DoneWindow(const QString& text, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmDone>())
{
    m_ui->setupUi(this);
    m_ui->Label1->setText(text);
    // Without a caption the window manager shows the program's file name.
    setWindowTitle(fixedtexts::ValdoraAutoTitle);
    setFixedSize(sizeHint().expandedTo(size()));
    m_tmr1.setObjectName(QStringLiteral("tmr1"));
    m_tmr1.setInterval(1000);
    m_tmr1.setSingleShot(true);
    m_tmr1.setTimerType(Qt::PreciseTimer);
    connect(&m_tmr1, &QTimer::timeout, this, &QDialog::accept);
}

DoneWindow::~DoneWindow() = default;

void DoneWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bringToForeground(*this);
    m_tmr1.start();
}

} // namespace valdora::autorun
