#pragma once

#include "IniDocument.h"

#include <QHash>
#include <QString>

#include <memory>
#include <mutex>

namespace valdora {

/// Parsed INI files of one reader, each kept only while it cannot be stale: a cached file serves a
/// read only when its device, inode, size, modification and change times are those it was read
/// with, and it was last changed more than two seconds ago (file times tick coarsely, so a rewrite
/// of the same size within one tick would otherwise go unseen). Anything else reads the file again.
class IniCache {
public:
    explicit IniCache(IniEncoding encoding, qsizetype maxFiles = 512);
    IniCache(const IniCache&) = delete;
    IniCache& operator=(const IniCache&) = delete;

    /// The file's parsed content; nullptr when the file is absent or cannot be read.
    std::shared_ptr<const IniDocument> document(const QString& path);
    /// Drops what is kept of one file (after this process wrote it).
    void forget(const QString& path);

    /// How a file stands on disk: what must be unchanged for a cached parse to serve a read.
    struct Stamp {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

private:
    struct Entry {
        Stamp stamp;
        std::shared_ptr<const IniDocument> document;
    };

    IniEncoding m_encoding;
    qsizetype m_maxFiles;
    std::mutex m_mutex;
    QHash<QString, Entry> m_entries;
};

} // namespace valdora
