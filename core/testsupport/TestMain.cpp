#include <QApplication>

#include <gtest/gtest.h>

// Every test executable runs inside a Qt application, headless unless the caller chose a platform,
// so that sockets, processes, timers and widgets all work.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
