#include "DBSelectionWindow.h"

#include "DatabaseSelection.h"
#include "KeelbrookTexts.h"
#include "LoginWindow.h"
#include "WindowFit.h"
#include "ui_frmDBSelection.h"

#include "core/qt/DialogKeys.h"

#include <QCloseEvent>
#include <QToolButton>

namespace valdora::keelbrook {

DBSelectionWindow::DBSelectionWindow(KeelbrookState& state, EventControlFactory eventControl,
                                     ReportScreens& screens, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::frmDBSelection>()), m_state(state),
      m_eventControlFactory(std::move(eventControl)), m_screens(screens)
{
    m_ui->setupUi(this);
    m_timer1.setSingleShot(true);
    // A coarse timer may fire up to 5% early: the host must have had its full two seconds.
    m_timer1.setTimerType(Qt::PreciseTimer);
    connect(&m_timer1, &QTimer::timeout, this, &DBSelectionWindow::Timer1_Timer);
    connect(m_ui->cmdBrowse, &QToolButton::clicked, this, &DBSelectionWindow::cmdBrowse_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &DBSelectionWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &DBSelectionWindow::cmdCancel_Click);
    acceptOnReturnCancelOnEscape(*this, *m_ui->cmdOK, *m_ui->cmdCancel);
}

DBSelectionWindow::~DBSelectionWindow()
{
    if (m_report)
        delete m_report.data();
    if (m_hostEvent1)
        m_hostEvent1->Unregister();
}

void DBSelectionWindow::Form_Load(const QString& argumentText)
{
    traced(m_state, QStringLiteral("frmDBSelection"), QStringLiteral("Form_Load"), [&] {
        m_state.settleLanguage();
        m_state.settleSettingsFile();
        setWindowTitle(texts::SelectionCaption);
        m_ui->Label1->setText(m_state.text(MessageId::ChooseDatabase));
        m_ui->cmdOK->setText(m_state.text(MessageId::Ok));
        m_ui->cmdCancel->setText(m_state.text(MessageId::Cancel));
        fitWindow(*this);
        m_state.trace().reach(1);
        m_hostEvent1 = m_eventControlFactory();
        const int delay = hostCheckDelay(argumentText);
        if (delay > 0) {
            // Valdora has just asked the host to close: give it the time to go.
            m_timer1.start(delay);
            return;
        }
        checkHostAndShow();
    });
}

void DBSelectionWindow::Timer1_Timer()
{
    m_timer1.stop();
    // The rest of the load, under the load's trap.
    reportingFailures(m_state, QStringLiteral("frmDBSelection"), [&] { checkHostAndShow(); });
}

void DBSelectionWindow::checkHostAndShow()
{
    m_state.trace().reach(2);
    if (hostIsRunning(*m_hostEvent1)) {
        m_state.session().showMessage(m_state.text(MessageId::CloseHostBeforeKeelbrook));
        Form_Unload();
        return;
    }
    m_state.trace().reach(3);
    show();
    m_ui->txtDB->setText(m_state.lastDatabase());
}

void DBSelectionWindow::cmdBrowse_Click()
{
    const std::optional<QString> chosen =
        m_state.session().platform().askOpenFile({.title = texts::SelectDatabaseTitle,
                                                  .filter = texts::DatabaseFilter,
                                                  .folder = m_ui->txtDB->text(),
                                                  .fileName = {}});
    if (chosen)
        m_ui->txtDB->setText(*chosen);
}

void DBSelectionWindow::cmdOK_Click()
{
    const QString path = m_ui->txtDB->text();
    const bool opened = openDatabase(
        m_state, path, [this](host::Database& database) { LoginWindow::ask(m_state, database, this); });
    if (!opened)
        return;
    m_state.setLastDatabase(path);
    m_state.setDatabasePath(path);
    showReport();
    if (!m_state.ended())
        hide();
}

void DBSelectionWindow::cmdCancel_Click()
{
    close();
}

void DBSelectionWindow::showReport()
{
    auto* report = new ReportWindow(
        m_state, [this] { addTrigger(); }, [this] { reportClosed(); });
    report->setAttribute(Qt::WA_DeleteOnClose);
    m_report = report;
    if (!m_state.ended())
        report->show();
}

void DBSelectionWindow::addTrigger()
{
    m_screens.addTrigger(m_state, nullptr);
    if (!m_state.ended())
        showReport();
}

void DBSelectionWindow::reportClosed()
{
    close();
    Form_Unload();
}

void DBSelectionWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    Form_Unload();
}

void DBSelectionWindow::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    hide();
    if (m_hostEvent1)
        m_hostEvent1->Unregister();
    m_state.closeDatabase();
    m_state.endProgram();
}

} // namespace valdora::keelbrook
