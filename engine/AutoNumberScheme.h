#pragma once

#include "CounterFile.h"
#include "EngineContext.h"
#include "SchemeComputer.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace valdora::engine {

/// Scheme 0: numbered texts such as "INV-0042" from a format of markers (0xF8 the field part, 0xF9 the
/// fixed text, 0xFA the counter, "|" the separator) and a counter file advanced only when the value
/// was used.
class AutoNumberScheme final : public SchemeComputer {
public:
    explicit AutoNumberScheme(EngineContext& context);

    /// Prepares a member from its button file, once per run. False when its counter file cannot be
    /// used (reported): a run must then write nothing.
    bool Initialize_AutoNumber(int member, const QString& buttonFileName);
    /// The value for one contact; reads the counter under a lock held until releaseCounterLocks.
    /// "" (and no lock) when the counter file cannot be used; failed() then tells the run to stop.
    QString Obtain_AutoNumber(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        return Initialize_AutoNumber(member, buttonFileName);
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_AutoNumber(contactId, buttonFileName, member);
    }
    /// Advances the member's counter past the number its last value used, keeping the lock, so that
    /// the number is taken before the contact holding it is committed: a crash can leave a gap, never
    /// a number handed out twice. Does nothing when the member holds no number. False when the
    /// counter could not be advanced (reported): the contact must then not be written.
    bool Update_AutoNumber(int member);
    /// Gives an advanced number back after the contact's write did not go through: the counter is
    /// still locked, so no one took a number meanwhile and the file gets back exactly what it held.
    void giveBack(int member);
    /// Releases every member's lock; numbers not advanced stay available.
    void releaseCounterLocks();
    /// Forces the counter files advanced so far to the disk (a run does so at its end).
    void syncCounters();
    /// A counter file could not be read or written during this run: its numbers cannot be trusted,
    /// so the run stops.
    bool failed() const { return m_failed; }

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
        QString separator;             ///< readRunAutoSeparator
        QString configuredCounterFile; ///< "AutoIniFile", else the default one
        QString counter;
        QString counterFile;
        bool pending = false;  ///< a number was read and not yet advanced
        bool advanced = false; ///< the file was advanced past `counter`, the contact not yet committed
        std::shared_ptr<FileLock> lock;
    };
    Member& member(int index);
    /// The counter file of a button: "AutoIniFile", else the default one.
    QString counterFileOf(const ButtonFile& keys, const QString& buttonFileName) const;
    /// The counter file at `path`, kept open for this run.
    OpenCounterFile& openCounter(const QString& path);
    /// Rewrites a member's counter file as `counter`, its disk flush batched.
    void writeCounter(const Member& m, const QString& counter);

    /// A preview's counter: the file's counter as first read, advanced in memory.
    QString previewCounter(const QString& path);

    EngineContext& m_context;
    std::vector<Member> m_members;
    /// A preview's counters by file: members that share a file share its numbers, as in a run.
    std::map<QString, QString> m_previewCounters;
    CounterLocks m_locks;
    /// The counter files of this run by path, kept open from contact to contact (and used only under
    /// their locks); members that share a file share its entry.
    std::map<QString, OpenCounterFile> m_openCounters;
    CounterSync m_sync;
    QString m_lastCounterFile;
    bool m_failed = false;
};

} // namespace valdora::engine
