#include "LanguageWindow.h"

#include "ui_frmLanguage.h"

namespace valdora::bar {

LanguageWindow::LanguageWindow(ProgramSession& session, const LanguageWindowState& state, QWidget* parent)
    : QDialog(parent), m_session(session), m_ui(std::make_unique<Ui::frmLanguage>())
{
    m_ui->setupUi(this);
    setWindowTitle(state.title);
    m_ui->Label1->setText(state.label);
    m_ui->cmdOK->setText(state.ok);
    m_ui->cmdCancel->setText(state.cancel);
    m_ui->cmdCancel->setVisible(state.cancelVisible);
    m_ui->cmbLanguage->addItems(state.languages);
    m_ui->cmbLanguage->setCurrentIndex(state.selected);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &LanguageWindow::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &LanguageWindow::cmdCancel_Click);
}

LanguageWindow::~LanguageWindow() = default;

bool LanguageWindow::choose(ProgramSession& session, QWidget* parent)
{
    const LanguageWindowState state = languageWindowState(session);
    LanguageWindow window(session, state, parent);
    window.exec();
    return window.stored();
}

void LanguageWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // At the first run it opens while the host has the focus.
    raise();
    activateWindow();
}

void LanguageWindow::cmdOK_Click()
{
    m_stored = storeLanguageChoice(m_session.userSettings(), m_ui->cmbLanguage->currentIndex());
    accept();
}

void LanguageWindow::cmdCancel_Click()
{
    reject();
}

} // namespace valdora::bar
