#pragma once

#include <QObject>

#include <functional>

namespace valdora::bar {

/// Calls back once, when the watched widget is first painted: the moment a user sees it.
class FirstPaint final : public QObject {
public:
    FirstPaint(QObject& watched, std::function<void()> painted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_painted;
};

} // namespace valdora::bar
