#include "FuzzSupport.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace valdora::fuzz {

void pinEnvironment()
{
    qputenv("TZ", "UTC");
    qputenv("LC_ALL", "C.UTF-8");
    tzset();
}

const QString& scratchFolder()
{
    // Under TMPDIR, so that a run that crashes leaves its files where the runner cleans up.
    static const QTemporaryDir folder;
    static const QString path = folder.path();
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz: no scratch folder can be made under TMPDIR\n");
        std::abort();
    }
    return path;
}

QString utf8Text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void check(bool holds, const char* property, const QString& got, const QString& expected)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: property violated: %s\n  got:      \"%s\"\n  expected: \"%s\"\n", property,
                 got.toUtf8().constData(), expected.toUtf8().constData());
    std::abort();
}

} // namespace valdora::fuzz
