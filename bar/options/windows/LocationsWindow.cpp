#include "LocationsWindow.h"

#include "ui_frmLocations.h"

#include "bar/options/LocationTexts.h"

namespace valdora::bar {

namespace {
Routine routine(const char* name)
{
    return {"frmLocations", RoutineKind::Sub, name};
}
} // namespace

LocationsWindow::LocationsWindow(ProgramSession& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_form(session), m_ui(std::make_unique<Ui::frmLocations>())
{
    m_ui->setupUi(this);
    setWindowTitle(locationtexts::Caption);
    m_ui->Label1->setText(locationtexts::CurrentLocation);
    m_ui->Frame1->setTitle(locationtexts::NetworkUse);
    m_ui->Label2->setText(locationtexts::BrowseExplained);
    m_ui->Label3->setText(locationtexts::CopyExplained);
    m_ui->cmdBrowse->setText(locationtexts::Browse);
    m_ui->cmdCopy->setText(locationtexts::Copy);
    m_ui->cmdOK->setText(locationtexts::Ok);
    m_ui->cmdCancel->setText(locationtexts::Cancel);

    // Once, as the window opens: a later activation (after a message box) must not forget the choice.
    trapped(m_session.reporter(), routine("Form_Activate"), [&] { m_form.Form_Activate(); });
    showPath();

    connect(m_ui->cmdBrowse, &QPushButton::clicked, this, &LocationsWindow::cmdBrowse_Click);
    connect(m_ui->cmdCopy, &QPushButton::clicked, this, &LocationsWindow::cmdCopy_Click);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &LocationsWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &LocationsWindow::cmdCancel_Click);
}

LocationsWindow::~LocationsWindow() = default;

bool LocationsWindow::edit(ProgramSession& session, QWidget* parent)
{
    LocationsWindow window(session, parent);
    return window.exec() == QDialog::Accepted;
}

void LocationsWindow::showPath()
{
    m_ui->txtPath->setText(m_form.pathText());
    m_ui->txtPath->setCursorPosition(0);
    m_ui->txtPath->setToolTip(m_form.pathText());
}

void LocationsWindow::cmdBrowse_Click()
{
    trapped(m_session.reporter(), routine("cmdBrowse_Click"), [&] { m_form.cmdBrowse_Click(); });
    showPath();
}

void LocationsWindow::cmdCopy_Click()
{
    trapped(m_session.reporter(), routine("cmdCopy_Click"), [&] { m_form.cmdCopy_Click(); });
    showPath();
}

void LocationsWindow::cmdOK_Click()
{
    bool stored = false;
    trapped(m_session.reporter(), routine("cmdOK_Click"), [&] { stored = m_form.cmdOK_Click(); });
    if (stored)
        accept();
}

void LocationsWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::bar
