// The yardstick of the start-up benchmarks: a program that only constructs a QApplication and exits,
// or, with --show-window, shows one empty window and exits when it is first painted.
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

class ExitOnPaint final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QCoreApplication::exit(0);
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2 || QString::fromLocal8Bit(argv[1]) != QStringLiteral("--show-window"))
        return 0;
    QWidget window;
    ExitOnPaint exitOnPaint;
    window.installEventFilter(&exitOnPaint);
    window.resize(200, 100);
    window.show();
    return QApplication::exec();
}
