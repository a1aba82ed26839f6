#include "UpgradeSaveWindow.h"

#include "ui_frmUpgradeSave.h"

#include "bar/startup/SettingsUpgrade.h"

#include "settings/FixedTexts.h"

#include <utility>

namespace valdora::bar {

UpgradeSaveWindow::UpgradeSaveWindow(Platform& platform, QString dataFolder, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_dataFolder(std::move(dataFolder)),
      m_ui(std::make_unique<Ui::frmUpgradeSave>())
{
    m_ui->setupUi(this);
    setWindowTitle(fixedtexts::UpgradeSaveCaption);
    m_ui->Label1->setText(fixedtexts::UpgradeSaveNeedsFile);
    m_ui->Label2->setText(fixedtexts::UpgradeSaveClickSave);
    m_ui->Label3->setText(fixedtexts::UpgradeSaveNetworkNote);
    m_ui->cmdOK->setText(fixedtexts::UpgradeSaveButton);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &UpgradeSaveWindow::cmdOK_Click);
}

UpgradeSaveWindow::~UpgradeSaveWindow() = default;

void UpgradeSaveWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

void UpgradeSaveWindow::cmdOK_Click()
{
    const std::optional<QString> chosen = m_platform.askSaveFile(newSettingsFileRequest(m_dataFolder));
    if (!chosen || chosen->isEmpty())
        return;
    m_location = *chosen;
    accept();
}

} // namespace valdora::bar
