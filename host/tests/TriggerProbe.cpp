// A stand-in for a trigger program: appends one line to the file that VALDORA_PROBE_OUTPUT names,
// "working folder|argument 1|argument 2...", so that tests see what the host started and where.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QFile output(qEnvironmentVariable("VALDORA_PROBE_OUTPUT"));
    if (!output.open(QIODevice::Append))
        return 1;
    QStringList parts{QDir::currentPath()};
    parts += application.arguments().mid(1);
    output.write(parts.join(QLatin1Char('|')).toUtf8() + '\n');
    return 0;
}
