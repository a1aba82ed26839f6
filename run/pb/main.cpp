#include "ProgressArguments.h"
#include "ProgressWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    valdora::run::ProgressWindow window{valdora::UserSettings(), valdora::run::languageArgument(arguments)};
    if (const auto runPid = valdora::run::runPidArgument(arguments))
        window.watchRun(*runPid);
    window.show();
    return app.exec();
}
