#pragma once

#include "Schedule.h"
#include "ScheduleTexts.h"
#include "Scheduler.h"

#include "settings/ProgramSession.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace valdora::schedule {

/// What the schedule window shows and sets: when, and which contacts.
struct ScheduleChoice {
    ScheduleKind kind = ScheduleKind::Off;
    QTime time = QTime(2, 0);
    bool savedLookup = false;
    QString lookupFile;

    bool operator==(const ScheduleChoice&) const = default;
};

/// A failed check of the window: the text to show and which field it concerns.
struct ChoiceProblem {
    enum class Field { LookupFile, Database } field;
    ScheduleText text;
    QString argument;
};

/// The logic of a button's schedule window, without widgets: the schedule it starts from, the checks
/// of a choice, and the writing of it with the message that says when the button runs next. The
/// scheduled run uses the database open now and this program, with the environment that points it at
/// the same per-user store and program folder.
class ScheduleForm {
public:
    ScheduleForm(ProgramSession& session, Scheduler& scheduler, QString button, QString database,
                 QString program);

    const QString& button() const { return m_button; }
    /// The database as the window names it: its file name (a URI as it is).
    QString databaseName() const;
    /// The button's schedule as it stands, or Off.
    const ScheduleChoice& initial() const { return m_initial; }
    /// "Runs next: ..." / "Not scheduled." for the schedule as it stands, with where it is kept.
    QString stateText(const QDateTime& now) const;

    /// The first check the choice fails, in the order of the window; nullopt when it passes them all.
    std::optional<ChoiceProblem> problem(const ScheduleChoice& choice) const;
    /// What the window says about a failed check.
    QString problemText(const ChoiceProblem& problem) const;
    /// Writes the choice (Off removes the schedule) and says so through the platform: when the button
    /// runs next, or why nothing was written. True when it was written; a failed check is shown and
    /// nothing is written.
    bool accept(const ScheduleChoice& choice, const QDateTime& now);

    /// The schedule a choice makes for this button.
    Schedule scheduleFor(const ScheduleChoice& choice) const;
    QString text(ScheduleText id) const;

private:
    QString nextText(const FoundSchedule& found, const QDateTime& now) const;

    ProgramSession& m_session;
    Scheduler& m_scheduler;
    QString m_button;
    QString m_database;
    QString m_program;
    std::optional<FoundSchedule> m_found;
    ScheduleChoice m_initial;
};

/// The variables a scheduled run keeps from this program's environment (the per-user store, the
/// program folder, the data and configuration homes), those that are set.
Environment scheduledEnvironment();

} // namespace valdora::schedule
