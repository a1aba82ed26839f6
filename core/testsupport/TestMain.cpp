#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

// Every test executable runs inside a Qt application, headless unless the caller chose a platform,
// so that sockets, processes, timers and widgets all work. The time zone and the C library locale
// are pinned here rather than by CTest, so that a test gives the same answer however it is started;
// the programs a test starts inherit them. The data home is a fresh folder too, so that a program
// folder a test cannot write never sends files into the real user's data folder. The runtime folder,
// where the local sockets live, is a fresh private one (mode 0700) for the same reason.
int main(int argc, char** argv)
{
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    const QTemporaryDir runtimeFolder;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    qputenv("LC_ALL", "C.UTF-8");
    tzset();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
