#include "triggers/program/DBSelectionWindow.h"
#include "triggers/program/KeelbrookTexts.h"
#include "triggers/program/WindowReportScreens.h"

#include "core/ProgramFolder.h"
#include "core/icons/ProgramIcons.h"
#include "core/qt/QtPlatform.h"
#include "core/qt/WindowPlacement.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "settings/AutoCommandLine.h"
#include "settings/MessageButtonCaptions.h"

#include <QApplication>
#include <QTimer>

// Keelbrook.exe [/w5]: lists, adds and removes the field triggers of a contact database while the
// host is closed.
int main(int argc, char** argv)
{
    using namespace valdora;
    QApplication app(argc, argv);
    icons::useProgramIcon(icons::Program::Keelbrook);
    // The report opens over the selection window, wholly on the screen, however tall its list.
    placeWindowsOverTheirOwners(app);
    // The selection window hides while the report and the add window take turns: the program ends
    // when it says so, not when no window happens to be shown.
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    QtPlatform platform;
    ProgramSession session(platform, keelbrook::texts::ProgramTitle, programFolder(), UserSettings(),
                           TextLocale(), MessageTable::keelbrook());
    platform.setButtonCaptions(messageButtonCaptions(session.messages()));
    keelbrook::KeelbrookState state(session, &host::createDatabase, QStringLiteral(KEELBROOK_VERSION));
    // Queued: the end may come before the event loop runs (the host check at load).
    // A run that ended in the error report says so in its exit code.
    state.setEndProgram([&state] {
        QTimer::singleShot(0, qApp, [&state] { QCoreApplication::exit(state.failed() ? 1 : 0); });
    });
    keelbrook::WindowReportScreens screens;
    keelbrook::DBSelectionWindow window(
        state, [] { return host::createEventControl(); }, screens);
    window.Form_Load(AutoCommandLine::argumentText(arguments));
    return QApplication::exec();
}
