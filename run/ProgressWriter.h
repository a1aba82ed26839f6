#pragma once

#include "settings/UserSettings.h"

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

    void setStatus(const QString& value) const { write(QStringLiteral("Status"), value); }
    /// "Status" as stored; "Off" when absent.
    QString status() const;
    void setStage(qint64 stage) const { write(QStringLiteral("Stage"), QString::number(stage)); }
    void setTotal(qint64 total) const { write(QStringLiteral("Total"), QString::number(total)); }

    /// "Stage" of a Combo whose member is gone.
    static constexpr qint64 MemberMissing = 999999;

private:
    void write(const QString& key, const QString& value) const;

    UserSettings m_settings;
    Observer m_observer;
};

} // namespace valdora::run
