#include "WalCheckpointer.h"

#include "SqliteDatabase.h"

#include <sqlite3.h>

#include <memory>
#include <system_error>

namespace valdora::sqlite {

WalCheckpointer::WalCheckpointer(Database& writer, QString path) : m_writer(writer), m_path(std::move(path))
{
    sqlite3_wal_hook(m_writer.handle(), &WalCheckpointer::committed, this);
}

WalCheckpointer::~WalCheckpointer()
{
    sqlite3_wal_autocheckpoint(m_writer.handle(), DuePages);
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

int WalCheckpointer::committed(void* self, sqlite3* db, const char* name, int pages)
{
    auto* checkpointer = static_cast<WalCheckpointer*>(self);
    if (pages >= BehindPages || (pages >= DuePages && checkpointer->m_inline)) {
        sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        return SQLITE_OK;
    }
    // Once the log is full, every commit finds it so until a writer starts it over, which needs a
    // moment with every page copied: asking the thread at each commit would keep it copying a page
    // or two at a time, with a sync of both files each time and the writer waiting on the shared
    // memory's lock. It is asked again only once another full log's worth has come.
    if (pages < DuePages) {
        checkpointer->m_askedAt = 0;
        return SQLITE_OK;
    }
    if (checkpointer->m_askedAt != 0 && pages >= checkpointer->m_askedAt &&
        pages < checkpointer->m_askedAt + DuePages)
        return SQLITE_OK;
    checkpointer->m_askedAt = pages;
    {
        const std::lock_guard lock(checkpointer->m_mutex);
        // The log counts its pages until a writer starts it over after a copy: commits in between
        // find the copy asked for already.
        if (checkpointer->m_due)
            return SQLITE_OK;
        checkpointer->m_due = true;
        // Started with the first full log: a connection that only reads never has a thread. No
        // exception may leave this callback (SQLite is C): without a thread the writer copies.
        if (!checkpointer->m_thread.joinable()) {
            try {
                checkpointer->m_thread = std::thread([checkpointer] { checkpointer->work(); });
            } catch (const std::system_error&) {
                checkpointer->m_inline = true;
                checkpointer->m_due = false;
                sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
                return SQLITE_OK;
            }
        }
    }
    checkpointer->m_wake.notify_one();
    return SQLITE_OK;
}

void WalCheckpointer::work()
{
    sqlite3* opened = nullptr;
    const bool ok = sqlite3_open_v2(m_path.toUtf8().constData(), &opened,
                                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK;
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(opened, &sqlite3_close);
    if (!ok) {
        m_inline = true;
        return;
    }
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_due || m_stopping; });
        if (m_stopping)
            return;
        m_due = false;
        lock.unlock();
        // A connection learns that the file is in WAL from its first read; until then a checkpoint
        // does nothing. Busy (another process copying at the moment) or failed: the next full log
        // tries again.
        sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_wal_checkpoint_v2(db.get(), "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        lock.lock();
    }
}

} // namespace valdora::sqlite
