#include "ProgressArguments.h"
#include "ProgressWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    valdora::run::ProgressWindow window{valdora::UserSettings()};
    if (const auto runPid = valdora::run::runPidArgument(app.arguments().mid(1)))
        window.watchRun(*runPid);
    window.show();
    return app.exec();
}
