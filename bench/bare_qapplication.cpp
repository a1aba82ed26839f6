// The yardstick of bench_auto_start: a program that only constructs a QApplication and exits.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    return 0;
}
