#include "ManualTriggerWindow.h"

#include "ui_frmManualTrigger.h"

#include "widgets/WindowSize.h"

namespace valdora::bar {

namespace {

/// Wide enough for a trigger command in a usual program folder and for the notes to wrap evenly.
constexpr int MinimumWidth = 500;

} // namespace

ManualTriggerWindow::ManualTriggerWindow(const Messages& messages, Platform& platform, const QString& syntax,
                                         QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmManualTrigger>()), m_platform(platform)
{
    m_ui->setupUi(this);
    setWindowTitle(messages.get(MessageId::TriggerSyntaxTitle));
    m_ui->Label1->setText(messages.get(MessageId::ManualTriggerSetup));
    m_ui->Text1->setText(syntax);
    // A long command is read from its start, where the program is named.
    m_ui->Text1->setCursorPosition(0);
    m_ui->Command1->setText(messages.get(MessageId::CopySyntax));
    m_ui->Label2->setText(messages.get(MessageId::CloseValdoraForDefineFields));
    m_ui->cmdClose->setText(messages.get(MessageId::IntegrateClose));
    connect(m_ui->Command1, &QPushButton::clicked, this, &ManualTriggerWindow::Command1_Click);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &ManualTriggerWindow::accept);

    widgets::fitToTexts(*this, MinimumWidth);
}

ManualTriggerWindow::~ManualTriggerWindow() = default;

void ManualTriggerWindow::show(const Messages& messages, Platform& platform, const QString& syntax,
                               QWidget* parent)
{
    ManualTriggerWindow window(messages, platform, syntax, parent);
    window.exec();
}

void ManualTriggerWindow::Command1_Click()
{
    m_platform.setClipboardText(m_ui->Text1->text());
}

} // namespace valdora::bar
