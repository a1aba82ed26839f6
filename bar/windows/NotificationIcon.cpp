#include "NotificationIcon.h"

#include <QSystemTrayIcon>

namespace valdora::bar {

namespace {
constexpr qsizetype LongestTip = 63;
}

QString trayTip(const QString& text)
{
    return text.left(LongestTip);
}

SystemTrayIcon::SystemTrayIcon(QObject* parent) : NotificationIcon(parent) {}

SystemTrayIcon::~SystemTrayIcon() = default;

bool SystemTrayIcon::add(const QIcon& icon, const QString& tip)
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(trayTip(tip));
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Context)
                    emit rightClicked();
                else if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    emit leftClicked();
            });
    m_icon->show();
    return true;
}

bool SystemTrayIcon::remove()
{
    if (!m_icon)
        return false;
    m_icon->hide();
    m_icon.reset();
    return true;
}

bool SystemTrayIcon::isShown() const
{
    return m_icon != nullptr;
}

} // namespace valdora::bar
