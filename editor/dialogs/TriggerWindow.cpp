#include "TriggerWindow.h"

#include "ui_frmTrigger.h"

#include "widgets/WindowSize.h"

#include "core/ErrorReport.h"
#include "settings/UserKey.h"
#include "settings/UserSettings.h"

namespace valdora::editor {

namespace {

/// Wide enough that the explanations wrap into a few even lines in every language.
constexpr int MinimumWidth = 480;

} // namespace

TriggerWindow::TriggerWindow(const ProgramSession& session, std::function<QString()> databasePath,
                             QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmTrigger>()), m_session(session),
      m_databasePath(std::move(databasePath))
{
    m_ui->setupUi(this);
    const Messages& messages = session.messages();
    setWindowTitle(messages.get(MessageId::ManualOrAutomatic));
    m_ui->Label1->setText(messages.get(MessageId::TwoWaysToFire));
    m_ui->fraManual->setTitle(messages.get(MessageId::ManualMode));
    m_ui->lblManual->setText(messages.get(MessageId::ManualModeExplained));
    m_ui->fraAutomatic->setTitle(messages.get(MessageId::AutomaticMode));
    m_ui->lblAutomatic->setText(messages.get(MessageId::AutomaticModeExplained));
    m_ui->lblTriggerSetup->setText(messages.get(MessageId::TriggerSetupExplained));
    // A "&" in a caption marks its access key; this caption has none, and its quotes show as typed.
    m_ui->cmdKeelbrook->setText(messages.get(MessageId::LaunchKeelbrook));
    m_ui->Label2->setText(messages.get(MessageId::LaunchKeelbrookExplained));
    m_ui->lblManualStillPossible->setText(messages.get(MessageId::ManualStillPossible));
    m_ui->Command1->setText(messages.get(MessageId::IntegrateClose));

    connect(m_ui->cmdKeelbrook, &QPushButton::clicked, this, &TriggerWindow::cmdKeelbrook_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &TriggerWindow::reject);

    widgets::fitToTexts(*this, MinimumWidth);
}

TriggerWindow::~TriggerWindow() = default;

TriggerWindow::Answer TriggerWindow::choose(const ProgramSession& session,
                                            std::function<QString()> databasePath, QWidget* parent)
{
    TriggerWindow window(session, std::move(databasePath), parent);
    window.exec();
    return window.answer();
}

void TriggerWindow::cmdKeelbrook_Click()
{
    const bool stored =
        trapped(m_session.reporter(), {"frmTrigger", RoutineKind::Sub, "cmdKeelbrook_Click"}, [&] {
            const QString path = m_databasePath();
            if (!m_session.userSettings().set(Application::Keelbrook, UserKey::Settings, UserKey::LastDB,
                                              path))
                throw Failure(ErrorNumber::PathFileAccessError);
        });
    // A database Keelbrook could not be told about is no hand-over: the window stays open.
    if (!stored)
        return;
    m_answer = Answer::LaunchKeelbrook;
    accept();
}

} // namespace valdora::editor
