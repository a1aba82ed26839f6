#include "ProgressWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    valdora::run::ProgressWindow window{valdora::UserSettings()};
    window.show();
    return app.exec();
}
