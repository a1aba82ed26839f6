#include "BarProgram.h"

#include "BarMain.h"
#include "FirstPaint.h"
#include "NotificationIcon.h"
#include "WindowBarScreens.h"

#include "bar/ConsoleLine.h"
#include "bar/dialogs/WindowScopeChooser.h"
#include "core/ProgramFolder.h"
#include "core/icons/ProgramIcons.h"
#include "core/qt/QtPlatform.h"
#include "core/qt/WindowPlacement.h"
#include "run/WaitingPlatform.h"
#include "settings/MessageButtonCaptions.h"
#include "settings/ProgramSession.h"

#include <QApplication>

namespace valdora::bar {

int runBarProgram(int argc, char** argv, BarHostFactories factories)
{
    QApplication app(argc, argv);
    // The bar, the editor and every window they open carry Valdora's icon.
    icons::useProgramIcon(icons::Program::Valdora);
    // Each window opens over the window it belongs to, wholly on a screen (the bar at its own place).
    placeWindowsOverTheirOwners(app);
    // The bar may sit hidden in the notification area: the program ends when the bar says so.
    QApplication::setQuitOnLastWindowClosed(false);
    QtPlatform desktop;
    // The progress window of a run says when the run waits for the answer to one of these messages.
    run::WaitingPlatform platform(desktop, UserSettings());
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder());
    desktop.setButtonCaptions(messageButtonCaptions(session.messages()));
    WindowBarScreens screens(session);
    WindowScopeChooser scopes(session.messages());
    SingleInstance instance(session.userSettings().folder());
    const std::unique_ptr<MainBar> mainBar = Main(
        {session, screens, scopes, std::move(factories), [] { return std::make_unique<SystemTrayIcon>(); }},
        instance);
    if (!mainBar)
        return 0;
    desktop.setParentWindow(mainBar.get());
    screens.setBar(mainBar.get());
    scopes.setParentWindow(mainBar.get());
    QObject::connect(mainBar.get(), &MainBar::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Start-up benchmarks: the bar says when it is first on screen, then the program ends.
    if (qEnvironmentVariableIsSet("VALDORA_EXIT_ON_FIRST_PAINT"))
        new FirstPaint(*mainBar, [bar = mainBar.get()] {
            printLine(stdout, QStringLiteral("first paint"));
            // The program ends once the bar has done what it leaves for after its first paint.
            if (bar->windowHandleStored())
                QCoreApplication::exit(0);
            else
                QObject::connect(bar, &MainBar::windowHandleSaved, [] { QCoreApplication::exit(0); });
        });
    return app.exec();
}

} // namespace valdora::bar
