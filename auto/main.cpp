#include "auto/AutoProgram.h"
#include "auto/OrphanedOutput.h"
#include "auto/windows/WindowWarningScreens.h"

#include "core/ProgramFolder.h"
#include "core/icons/ProgramIcons.h"
#include "core/qt/QtPlatform.h"
#include "core/qt/WindowPlacement.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "settings/AutoCommandLine.h"
#include "settings/FixedTexts.h"
#include "settings/MessageButtonCaptions.h"

#include <QApplication>

// ValdoraAuto.exe ARGUMENT-TEXT: runs the buttons named there on the contact on screen of the running
// host, and ends.
int main(int argc, char** argv)
{
    using namespace valdora;
    autorun::keepRunningWhenOutputIsClosed();
    QApplication app(argc, argv);
    // Its notices are Valdora's: they carry the bar's icon.
    icons::useProgramIcon(icons::Program::Valdora);
    placeWindowsOverTheirOwners(app);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    QtPlatform platform;
    ProgramSession session(platform, fixedtexts::ValdoraAutoTitle, programFolder());
    platform.setButtonCaptions(messageButtonCaptions(session.messages()));
    autorun::WindowWarningScreens screens;
    autorun::AutoProgram program(
        session, {[] { return host::createEventControl(); }, &host::createApplication, &host::createDatabase},
        screens);
    return autorun::exitCode(program.Main(AutoCommandLine::argumentText(arguments)));
}
