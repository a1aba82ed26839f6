#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct sqlite3;

namespace valdora::sqlite {

class Database;

/// Copies a WAL database's log back into its file on a thread of its own, so that a writer's commit
/// never waits for that copy (SQLite's own checkpoint runs inside the commit that fills the log). The
/// writer's connection hands its commits over through SQLite's WAL hook. A passive checkpoint never
/// blocks a reader or a writer, and what a commit made durable stays so: the checkpoint only moves it.
/// Should the thread fall far behind (a reader holding an old snapshot), the writer copies itself.
class WalCheckpointer {
public:
    /// Watches the commits of `writer`, a connection to the database file `path`.
    WalCheckpointer(Database& writer, QString path);
    /// Stops the thread (a checkpoint under way ends first) and gives the writer its own checkpoints back.
    ~WalCheckpointer();
    WalCheckpointer(const WalCheckpointer&) = delete;
    WalCheckpointer& operator=(const WalCheckpointer&) = delete;

    /// The log's pages after which the thread copies them back: SQLite's own default.
    static constexpr int DuePages = 1000;
    /// The log's pages after which the writer copies them back itself: with synchronous=NORMAL a
    /// commit reaches the disk with the next copy, so this bounds what a power cut may take.
    static constexpr int BehindPages = 4 * DuePages;

private:
    static int committed(void* self, sqlite3* db, const char* name, int pages);
    void work();

    Database& m_writer;
    const QString m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    /// The log's pages when the thread was last asked to copy; only the writer's thread uses it.
    int m_askedAt = 0;
    bool m_due = false;
    bool m_stopping = false;
    /// The thread could not open the file: the writer copies as SQLite would.
    std::atomic<bool> m_inline = false;
    std::thread m_thread;
};

} // namespace valdora::sqlite
