#pragma once

#include "settings/UserKey.h"
#include "settings/UserSettings.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace valdora::run {

/// Writes the "Progress" values ("Status", "Stage", "Total") of application Valdora into the per-user
/// store, where the progress window reads them. An observer sees every write in order (tests record
/// the sequence with it).
class ProgressWriter {
public:
    using Observer = std::function<void(const QString& key, const QString& value)>;

    explicit ProgressWriter(UserSettings settings) : m_settings(std::move(settings)) {}

    void setObserver(Observer observer) { m_observer = std::move(observer); }
    /// Whether the values go into the store (a preview shows no progress window and stores nothing;
    /// the observer still sees every value).
    void setStored(bool stored) { m_stored = stored; }

    void setStatus(const QString& value) const { write(UserKey::Status, value); }
    /// "Status" as stored; "Off" when absent.
    QString status() const;
    /// Before a contact's write: sets "Status" back to "On" when it reads "Off". The store is read at
    /// most once per minimum interval (the first time always), since while a run writes the store
    /// every read parses it again, which cost more than the contact's own write.
    void keepStatusOn();
    void setStage(qint64 stage) const { write(UserKey::Stage, QString::number(stage)); }
    /// A per-contact "Stage" (counting or writing): skipped when the last one was written less than
    /// the minimum interval ago, since the window reads a few times a second and a store write per
    /// contact would cost more than the contact's own write. The first one is always written.
    void setContactStage(qint64 stage);
    /// The minimum interval between per-contact stages and between status checks (0: every one).
    void setMinimumInterval(int ms) { m_minimumIntervalMs = ms; }
    void setTotal(qint64 total) const { write(UserKey::Total, QString::number(total)); }
    /// "Waiting": "1" while the run waits for the user's answer to a message, else "0".
    void setWaiting(bool waiting) const
    {
        write(UserKey::Waiting, waiting ? QStringLiteral("1") : QStringLiteral("0"));
    }
    /// "Summary": what the run did, shown by the window at its end; empty while a run goes on.
    void setSummary(const QString& summary) const { write(UserKey::Summary, summary); }

    /// "Stage" of a Combo whose member is gone.
    static constexpr qint64 MemberMissing = 999999;

private:
    void write(const QString& key, const QString& value) const;
    /// True (and restarts the timer) when the minimum interval has passed since the timer started.
    bool due(QElapsedTimer& since) const;

    UserSettings m_settings;
    Observer m_observer;
    int m_minimumIntervalMs = 100;
    bool m_stored = true;
    QElapsedTimer m_sinceContactStage;
    QElapsedTimer m_sinceStatusCheck;
};

} // namespace valdora::run
