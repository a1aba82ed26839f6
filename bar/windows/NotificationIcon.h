#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace valdora::bar {

/// The bar's icon in the desktop's notification area. Adding fails where the desktop has none, and
/// adding it a second time fails too, so the caller hooks the window only once.
class NotificationIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Shows the icon with this tip (at most 63 characters are shown); false when it cannot be shown
    /// or is shown already.
    virtual bool add(const QIcon& icon, const QString& tip) = 0;
    /// Removes the icon; false when it was not shown.
    virtual bool remove() = 0;
    virtual bool isShown() const = 0;

signals:
    /// The left button went down on the icon.
    void leftClicked();
    /// The right button went down on the icon: its menu is wanted at the mouse.
    void rightClicked();
};

/// The icon on QSystemTrayIcon.
class SystemTrayIcon final : public NotificationIcon {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject* parent = nullptr);
    ~SystemTrayIcon() override;

    bool add(const QIcon& icon, const QString& tip) override;
    bool remove() override;
    bool isShown() const override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

/// The tip's longest text: the field holds 64 characters with the terminating NUL.
QString trayTip(const QString& text);

} // namespace valdora::bar
