#include "ProgressArguments.h"
#include "ProgressWindow.h"

#include "core/icons/ProgramIcons.h"
#include "core/qt/WindowPlacement.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A window of a Valdora run: Valdora's icon, centred on the screen the user works on.
    valdora::icons::useProgramIcon(valdora::icons::Program::Valdora);
    valdora::placeWindowsOverTheirOwners(app);
    const QStringList arguments = app.arguments().mid(1);
    valdora::run::ProgressWindow window{valdora::UserSettings(), valdora::run::languageArgument(arguments)};
    if (const auto runPid = valdora::run::runPidArgument(arguments))
        window.watchRun(*runPid);
    window.show();
    return app.exec();
}
