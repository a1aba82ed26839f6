#pragma once

#include "auto/WarningScreens.h"

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class frmAutoSplash;
}

namespace valdora::autorun {

/// The one-second notice before a member is written: which field is updated, and a grey bar that
/// steps up every tenth of a second. It closes itself after a second.
class AutoSplashWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AutoSplashWindow(const NoticeTexts& texts, QWidget* parent = nullptr);
    ~AutoSplashWindow() override;

    /// The bar's colour: mid grey.
    static QColor barColour();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Timer1_Timer();
    void Timer2_Timer();
    /// Sets the bar's colour, as the platform's bar-colour message would.
    void SetProgressBarColour(const QColor& colour);

    std::unique_ptr<Ui::frmAutoSplash> m_ui;
    QTimer m_timer1;
    QTimer m_timer2;
    qint16 m_ticks = 0;
};

} // namespace valdora::autorun
