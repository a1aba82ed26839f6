#include "UpgradeWindow.h"

#include "ui_frmUpgrade.h"

#include "bar/startup/SettingsUpgrade.h"

#include "settings/FixedTexts.h"

namespace valdora::bar {

UpgradeWindow::UpgradeWindow(Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_ui(std::make_unique<Ui::frmUpgrade>())
{
    m_ui->setupUi(this);
    setWindowTitle(fixedtexts::UpgradeCaption);
    m_ui->lblExpl->setText(fixedtexts::UpgradeNotUpToDate);
    m_ui->lblExpl1->setText(fixedtexts::UpgradeQuestion);
    m_ui->cmdYes->setText(fixedtexts::UpgradeYes);
    m_ui->lblYes->setText(fixedtexts::UpgradeYesExplained);
    m_ui->cmdNo->setText(fixedtexts::UpgradeNo);
    m_ui->lblNo->setText(fixedtexts::UpgradeNoExplained);
    connect(m_ui->cmdYes, &QPushButton::clicked, this, &UpgradeWindow::cmdYes_Click);
    connect(m_ui->cmdNo, &QPushButton::clicked, this, &UpgradeWindow::cmdNo_Click);
}

UpgradeWindow::~UpgradeWindow() = default;

void UpgradeWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Start-up shows it before any other window of the program: it must not hide behind the host.
    raise();
    activateWindow();
}

void UpgradeWindow::cmdYes_Click()
{
    m_answer = UpgradeAnswer::yes();
    accept();
}

void UpgradeWindow::cmdNo_Click()
{
    // Without a file there is nothing to go on with: the user chooses again, Yes, or closes.
    const std::optional<QString> chosen = m_platform.askOpenFile(existingSettingsFileRequest());
    if (!chosen || chosen->isEmpty())
        return;
    m_answer = UpgradeAnswer::existing(*chosen);
    accept();
}

} // namespace valdora::bar
