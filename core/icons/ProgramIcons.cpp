#include "ProgramIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <array>
#include <optional>
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

/// An icon drawn from a file that is opened only when the icon is first drawn. Qt loads its SVG icon
/// engine (a plugin, and the SVG library under it) as soon as an icon is made from an SVG file; a
/// program's start would wait for that before its first window, although the icon is drawn only
/// where a title bar or the notification area shows it.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(QString path) : m_path(std::move(path)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, 1.0, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        // A scalable icon has no sizes of its own: asking must not load its engine.
        return m_icon ? m_icon->availableSizes(mode, state) : QList<QSize>();
    }
    bool isNull() override { return !QFile::exists(m_path); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& drawn()
    {
        if (!m_icon)
            m_icon = QIcon(m_path);
        return *m_icon;
    }

    QString m_path;
    std::optional<QIcon> m_icon;
};

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
    return QIcon(new DeferredIconEngine(iconResource(program)));
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
