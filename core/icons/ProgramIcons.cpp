#include "ProgramIcons.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <array>
#include <utility>

// The resources live in a static library: a program that links it keeps them only when it
// refers to them, which this does on first use.
static void initialiseIconResources()
{
    Q_INIT_RESOURCE(programicons);
}

namespace valdora::icons {

namespace {

constexpr std::array Resources{
    std::pair{Program::Valdora, ":/icons/valdora.svg"},
    std::pair{Program::Keelbrook, ":/icons/keelbrook.svg"},
    std::pair{Program::ContactHost, ":/icons/valdora-contacts.svg"},
};

void ensureResources()
{
    static const bool initialised = [] {
        initialiseIconResources();
        return true;
    }();
    (void)initialised;
}

} // namespace

QString iconResource(Program program)
{
    for (const auto& [which, path] : Resources) {
        if (which == program)
            return QString::fromLatin1(path);
    }
    return {};
}

QIcon programIcon(Program program)
{
    ensureResources();
    return QIcon(iconResource(program));
}

bool rendersVisibly(const QIcon& icon, int size)
{
    const QImage image = icon.pixmap(size, size).toImage();
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != first)
                return true;
        }
    }
    return false;
}

void useProgramIcon(Program program)
{
    QGuiApplication::setWindowIcon(programIcon(program));
}

} // namespace valdora::icons
