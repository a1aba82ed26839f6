#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmSplash;
}

namespace valdora::bar {

/// The frameless notice "Loading... Please Wait!" shown, without waiting, while the bar loads. It
/// stays above other windows, so it steps aside as soon as any other window opens: a question asked
/// during the load (the language, a message) is never hidden behind it.
class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    ~SplashWindow() override;

    /// Shows the window centred on the screen and paints it at once: the long load that follows
    /// runs no event loop that would paint it.
    void showNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::frmSplash> m_ui;
};

} // namespace valdora::bar
