// The yardstick of the start-up benchmarks: a program that only constructs a QApplication and exits,
// or, with --show-window, shows one empty window, prints "first paint" when it is first painted and
// exits; --show-window-with-text does the same with a label and a button in the window.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

namespace {

class ExitOnPaint final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            std::fputs("first paint\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode != QStringLiteral("--show-window") && mode != QStringLiteral("--show-window-with-text"))
        return 0;
    QWidget window;
    // With text, the window also pays for the font database and a button's style, as any window
    // that shows words does.
    if (mode == QStringLiteral("--show-window-with-text")) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("Loading... Please Wait!")));
        layout->addWidget(new QPushButton(QStringLiteral("New")));
    }
    ExitOnPaint exitOnPaint;
    window.installEventFilter(&exitOnPaint);
    window.resize(200, 100);
    window.show();
    return QApplication::exec();
}
