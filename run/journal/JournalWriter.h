#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace valdora::journal {

/// A failure of the journal: what was being done and why.
class JournalError : public std::runtime_error {
public:
    explicit JournalError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

/// What a journalled run was.
enum class RunKind { Run, Retry, Undo };

/// What a run is, as it starts.
struct RunInfo {
    RunKind kind = RunKind::Run;
    QString button;   ///< "~101.ini"
    QString database; ///< the contact database's path
    QString user;
    QString scope;        ///< "lookup", "all", or the contacts of an earlier run
    qint64 of = 0;        ///< the run an undo or retry works on
    bool numbers = false; ///< AutoNumber numbers are handed out (never given back by an undo)
};

/// What a run writes into the journal as it goes. The run knows the journal by this alone, so that a
/// program whose runs are never journalled (ValdoraAuto) links none of the journal's storage.
/// Failures are thrown as JournalError.
class JournalWriter {
public:
    virtual ~JournalWriter() = default;

    /// Starts a run; its id.
    virtual qint64 begin(const RunInfo& info) = 0;
    /// One field the contact is about to be written with; before the contact's write.
    virtual void addChange(const QString& contact, const QString& field, const QString& oldValue,
                           const QString& newValue) = 0;
    /// The contact's write did not go through: its changes go, it is kept as failed.
    virtual void contactFailed(const QString& contact) = 0;
    /// The contact is done with.
    virtual void contactDone() = 0;
    /// Contacts of an earlier run now written after all.
    virtual void resolveFailures(qint64 run, const QStringList& contacts) = 0;
    /// Ends the run.
    virtual void finish() = 0;
};

} // namespace valdora::journal
