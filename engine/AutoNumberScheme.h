#pragma once

#include "CounterFile.h"
#include "EngineContext.h"

#include <QString>

#include <memory>
#include <vector>

namespace valdora::engine {

/// Scheme 0: numbered texts such as "INV-0042" from a format of markers (0xF8 the field part, 0xF9 the
/// fixed text, 0xFA the counter, "|" the separator) and a counter file advanced only when the value
/// was used.
class AutoNumberScheme {
public:
    explicit AutoNumberScheme(EngineContext& context);

    /// Prepares a member from its button file, once per run.
    void Initialize_AutoNumber(int member, const QString& buttonFileName);
    /// The value for one contact; reads the counter under a lock held until Update_AutoNumber or
    /// releaseCounterLocks. "" (and no lock) when the counter file cannot be used.
    QString Obtain_AutoNumber(const host::ContactId& contactId, const QString& buttonFileName, int member);
    /// Writes the counter after the one the member's last value used, then releases its lock. Does
    /// nothing when the member holds no unused number.
    void Update_AutoNumber(int member);
    /// Releases every member's lock; numbers not advanced stay available.
    void releaseCounterLocks();
    /// Forces the counter files advanced so far to the disk (a run does so at its end).
    void syncCounters();

    /// The counter file read last (any member).
    const QString& lastCounterFile() const { return m_lastCounterFile; }
    /// The default counter file of a button file.
    QString defaultCounterFile(const QString& buttonFileName) const;

private:
    struct Member {
        QString format;
        bool usesField = false;
        host::FieldId fieldId = -1;
        qint16 fieldType = -1;
        bool upperCase = false;
        bool truncate = false;
        int keep = 254;
        QString counter;
        QString counterFile;
        bool pending = false;
        std::shared_ptr<FileLock> lock;
    };
    Member& member(int index);

    EngineContext& m_context;
    std::vector<Member> m_members;
    CounterLocks m_locks;
    CounterSync m_sync;
    QString m_lastCounterFile;
};

} // namespace valdora::engine
