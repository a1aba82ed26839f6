#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class frmDone;
}

namespace valdora::autorun {

/// The short notice after a button that asks for it; it closes itself after a second.
class DoneWindow final : public QDialog {
    Q_OBJECT
public:
    explicit DoneWindow(const QString& text, QWidget* parent = nullptr);
    ~DoneWindow() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::frmDone> m_ui;
    QTimer m_tmr1;
};

} // namespace valdora::autorun
