#include "AutoSplashWindow.h"

#include "ForegroundWindow.h"
#include "ui_frmAutoSplash.h"

namespace valdora::autorun {

namespace {

constexpr int ShownMs = 1000;
constexpr int StepMs = 100;
constexpr int StepPercent = 10;

} // namespace

AutoSplashWindow::AutoSplashWindow(const NoticeTexts& texts, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmAutoSplash>())
{
    m_ui->setupUi(this);
    SetProgressBarColour(barColour());
    m_ui->Label1->setText(texts.title);
    // Without a caption the window manager shows the program's file name.
    setWindowTitle(texts.title);
    m_ui->Label3->setText(texts.updating);
    setFixedSize(sizeHint().expandedTo(size()));

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(ShownMs);
    m_timer1.setSingleShot(true);
    // A coarse timer may fire a few hundredths early: the notice stays its whole second.
    m_timer1.setTimerType(Qt::PreciseTimer);
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    m_timer2.setInterval(StepMs);
    connect(&m_timer1, &QTimer::timeout, this, &AutoSplashWindow::Timer1_Timer);
    connect(&m_timer2, &QTimer::timeout, this, &AutoSplashWindow::Timer2_Timer);
}

AutoSplashWindow::~AutoSplashWindow() = default;

QColor AutoSplashWindow::barColour()
{
    return QColor(128, 128, 128);
}

void AutoSplashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bringToForeground(*this);
    m_timer1.start();
    m_timer2.start();
}

void AutoSplashWindow::Timer1_Timer()
{
    m_timer2.stop();
    accept();
}

void AutoSplashWindow::Timer2_Timer()
{
    ++m_ticks;
    // A value past the bar's end is dropped by the bar itself: the last steps change nothing.
    m_ui->pb->setValue((m_ticks + 1) * StepPercent);
}

void AutoSplashWindow::SetProgressBarColour(const QColor& colour)
{
    QPalette palette = m_ui->pb->palette();
    palette.setColor(QPalette::Highlight, colour);
    m_ui->pb->setPalette(palette);
}

} // namespace valdora::autorun
