// toolbar_icons FOLDER: writes Valdora.ico (16 px) and Valdora32.ico (32 px) into the program folder,
// the two icon files that the bar's command on the host's toolbar names. Run at build time on the
// offscreen platform; fails when Qt cannot draw the SVG icon, rather than leave a blank square.
#include "core/icons/ProgramIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

namespace {

bool writeIcon(const QIcon& icon, int size, const QString& path)
{
    QImageWriter writer(path, "ico");
    if (writer.write(icon.pixmap(size, size).toImage()))
        return true;
    std::fprintf(stderr, "toolbar_icons: %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: toolbar_icons FOLDER\n");
        return 2;
    }
    using namespace valdora::icons;
    const QIcon icon = programIcon(Program::Valdora);
    if (!rendersVisibly(icon, 16)) {
        std::fprintf(stderr, "toolbar_icons: Qt draws no SVG icons here (install libqt6svg6)\n");
        return 1;
    }
    const QDir folder(arguments.at(1));
    const bool written = writeIcon(icon, 16, folder.filePath(QStringLiteral("Valdora.ico"))) &&
                         writeIcon(icon, 32, folder.filePath(QStringLiteral("Valdora32.ico")));
    return written ? 0 : 1;
}
