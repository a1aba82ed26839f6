#include "SplashWindow.h"

#include "ui_frmSplash.h"

#include "settings/FixedTexts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace valdora::bar {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_ui(std::make_unique<Ui::frmSplash>())
{
    m_ui->setupUi(this);
    m_ui->Label1->setText(fixedtexts::LoadingPleaseWait);
    resize(sizeHint().expandedTo(size()));
}

SplashWindow::~SplashWindow() = default;

void SplashWindow::showNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    // Every window the load opens passes by here first.
    QCoreApplication::instance()->installEventFilter(this);
    show();
    raise();
    repaint();
    // Lets the window system map and draw the window before the caller goes on.
    QCoreApplication::processEvents();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            hide();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace valdora::bar
