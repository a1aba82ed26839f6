#include "BarEditorLink.h"

#include "MainBar.h"

#include "bar/options/windows/IntegrateWindow.h"
#include "bar/options/windows/LocationsWindow.h"
#include "bar/startup/LanguageChoice.h"
#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/StartOptionsWindow.h"

#include <QMetaObject>

namespace valdora::bar {

QStringList BarEditorLink::buttonFiles() const
{
    return m_bar.buttonFiles();
}

QString BarEditorLink::lastButtonFile() const
{
    return m_bar.lastButtonFile();
}

QString BarEditorLink::databasePath() const
{
    const host::Database* database = m_bar.connection().host.database.get();
    if (!database)
        throw Failure(ErrorNumber::ObjectNotSet);
    return database->GetDatabasePath();
}

const host::FieldList* BarEditorLink::fields() const
{
    host::Database* database = m_bar.connection().host.database.get();
    if (!database)
        return nullptr;
    try {
        return &database->Contact().Fields();
    } catch (const Failure&) {
        // Without an open database the field lists stay empty.
        return nullptr;
    }
}

void BarEditorLink::buttonSaved(const QString&, bool)
{
    m_bar.reloadAfterEdit();
}

void BarEditorLink::setLaunchKeelbrook()
{
    m_bar.flags().launchKeelbrook = true;
}

void BarEditorLink::startShutdown()
{
    // Once the editor has closed: the unload must not run under the editor's modal loop.
    MainBar* bar = &m_bar;
    QMetaObject::invokeMethod(
        bar, [bar] { bar->mnuClose_Click(); }, Qt::QueuedConnection);
}

bool BarEditorLink::offersOptions() const
{
    return static_cast<bool>(m_bar.factories().auxCommands);
}

void BarEditorLink::settingsLocation(QWidget* parent)
{
    LocationsWindow::edit(m_bar.session(), parent);
}

bool BarEditorLink::integrate(QWidget* parent)
{
    // The restart itself is the bar's unload, started by the editor once it has closed.
    return IntegrateWindow::edit(
        m_bar.session(), m_bar.factories().auxCommands, m_bar.flags(), [] {}, parent);
}

void BarEditorLink::startOptions(QWidget* parent)
{
    StartOptionsWindow::edit(m_bar.session(), parent);
}

void BarEditorLink::languages(QWidget* parent)
{
    // The running programs keep their language until they start again: the bar would otherwise
    // take the new one halfway, at its next rebuild.
    if (LanguageWindow::choose(m_bar.session(), parent))
        announceLanguageAtNextStart(m_bar.session());
}

} // namespace valdora::bar
