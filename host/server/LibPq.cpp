#include "LibPq.h"

#include "host/HostTypes.h"

#include <QLibrary>

namespace valdora::host::server {

namespace {

/// The library and its functions, or why they could not be had.
struct Loaded {
    LibPq functions;
    QString failure;
};

Loaded load()
{
    Loaded loaded;
    // Kept loaded for the program's life: connections may be closed as late as its static objects.
    QLibrary library(QStringLiteral("pq"), 5);
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load()) {
        loaded.failure = library.errorString();
        return loaded;
    }
    QStringList missing;
#define VALDORA_LIBPQ_RESOLVE(name)                                                                          \
    loaded.functions.name = reinterpret_cast<decltype(&::name)>(library.resolve(#name));                     \
    if (loaded.functions.name == nullptr)                                                                    \
        missing << QStringLiteral(#name);
    VALDORA_LIBPQ_FUNCTIONS(VALDORA_LIBPQ_RESOLVE)
#undef VALDORA_LIBPQ_RESOLVE
    // Pipelines came with libpq 14: an older one has no use here.
    if (!missing.isEmpty())
        loaded.failure = QStringLiteral("%1 has no %2 (libpq 14 or later is needed)")
                             .arg(library.fileName(), missing.join(QStringLiteral(", ")));
    return loaded;
}

} // namespace

const LibPq& libPq(Where where)
{
    static const Loaded loaded = load();
    if (!loaded.failure.isEmpty())
        throw HostFailure(
            HostError::DatabaseFailure,
            QStringLiteral("The PostgreSQL client library libpq cannot be loaded, so no database "
                           "on a server can be opened: %1")
                .arg(loaded.failure),
            where);
    return loaded.functions;
}

} // namespace valdora::host::server
