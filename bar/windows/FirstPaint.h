#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace valdora::bar {

/// Calls back once, when the watched window or any widget in it is first painted: the moment a user
/// sees it. (A window covered by its children gets no paint of its own.)
class FirstPaint final : public QObject {
public:
    FirstPaint(QWidget& watched, std::function<void()> painted);
    ~FirstPaint() override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    QPointer<QWidget> m_watched;
    std::function<void()> m_painted;
};

} // namespace valdora::bar
