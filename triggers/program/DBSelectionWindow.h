#pragma once

#include "KeelbrookState.h"
#include "ReportScreens.h"
#include "ReportWindow.h"

#include "host/EventControl.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class frmDBSelection;
}

namespace valdora::keelbrook {

/// Makes the host's event control (the running host's client in the program).
using EventControlFactory = std::function<std::unique_ptr<host::EventControl>()>;

/// Keelbrook's first window and the owner of its run: checks that the host is closed, takes the
/// database file, opens it (with the login of a shared one) and hands over to the trigger report.
/// The program ends when this window unloads.
class DBSelectionWindow final : public QWidget {
    Q_OBJECT
public:
    DBSelectionWindow(KeelbrookState& state, EventControlFactory eventControl, ReportScreens& screens,
                      QWidget* parent = nullptr);
    ~DBSelectionWindow() override;

    /// The load: the language and captions, then the host check (at once, or 2000 ms later when
    /// the argument text holds "w5"), then the window shown with the last database.
    void Form_Load(const QString& argumentText);

    /// The language base of every Keelbrook window.
    qint16 offset() const { return m_state.offset(); }
    /// The report while one is loaded.
    ReportWindow* report() const { return m_report.data(); }
    /// The timer of the delayed host check.
    const QTimer& timer() const { return m_timer1; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void checkHostAndShow();
    void Timer1_Timer();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void showReport();
    void addTrigger();
    void reportClosed();
    void Form_Unload();

    std::unique_ptr<Ui::frmDBSelection> m_ui;
    KeelbrookState& m_state;
    EventControlFactory m_eventControlFactory;
    ReportScreens& m_screens;
    std::unique_ptr<host::EventControl> m_hostEvent1;
    QTimer m_timer1;
    QPointer<ReportWindow> m_report;
    bool m_unloaded = false;
};

} // namespace valdora::keelbrook
