#include "ScheduleForm.h"

#include <QFileInfo>

namespace valdora::schedule {

namespace {

/// Variables that decide which store, program folder and data the run uses.
const char* const KeptVariables[] = {"VALDORA_USER_SETTINGS", "VALDORA_PROGRAM_FOLDER", "XDG_DATA_HOME",
                                     "XDG_CONFIG_HOME"};

} // namespace

Environment scheduledEnvironment()
{
    Environment environment;
    for (const char* name : KeptVariables)
        if (!qEnvironmentVariableIsEmpty(name))
            environment.append({QString::fromLatin1(name), qEnvironmentVariable(name)});
    return environment;
}

ScheduleForm::ScheduleForm(ProgramSession& session, Scheduler& scheduler, QString button, QString database,
                           QString program)
    : m_session(session), m_scheduler(scheduler), m_button(std::move(button)),
      m_database(std::move(database)), m_program(std::move(program)),
      m_found(m_scheduler.scheduleOf(m_button))
{
    if (!m_found)
        return;
    const Schedule& schedule = m_found->schedule;
    m_initial.kind = schedule.kind;
    if (schedule.kind == ScheduleKind::Daily)
        m_initial.time = schedule.time;
    m_initial.savedLookup = !schedule.lookupFile.isEmpty();
    m_initial.lookupFile = schedule.lookupFile;
}

QString ScheduleForm::text(ScheduleText id) const
{
    return scheduleText(m_session.messages().languageBase(), id);
}

QString ScheduleForm::databaseName() const
{
    if (m_database.contains(QStringLiteral("://")))
        return m_database;
    return QFileInfo(m_database).fileName();
}

QString ScheduleForm::nextText(const FoundSchedule& found, const QDateTime& now) const
{
    if (found.schedule.kind == ScheduleKind::AtLogin)
        return text(found.home == ScheduleHome::Crontab ? ScheduleText::NextAtStart
                                                        : ScheduleText::NextAtLogin);
    const std::optional<QDateTime> next = nextRun(found.schedule, now);
    return next ? text(ScheduleText::NextRun)
                      .arg(m_session.locale().locale().toString(*next, QLocale::ShortFormat))
                : text(ScheduleText::NotScheduled);
}

QString ScheduleForm::stateText(const QDateTime& now) const
{
    if (!m_found)
        return text(ScheduleText::NotScheduled);
    return nextText(*m_found, now) + u'\n' +
           text(m_found->home == ScheduleHome::Crontab ? ScheduleText::KeptByCron
                                                       : ScheduleText::KeptBySystemd);
}

std::optional<ChoiceProblem> ScheduleForm::problem(const ScheduleChoice& choice) const
{
    if (choice.kind == ScheduleKind::Off)
        return std::nullopt;
    if (m_database.isEmpty())
        return ChoiceProblem{ChoiceProblem::Field::Database, ScheduleText::NoDatabase, {}};
    if (choice.savedLookup && choice.lookupFile.trimmed().isEmpty())
        return ChoiceProblem{ChoiceProblem::Field::LookupFile, ScheduleText::ChooseLookup, {}};
    if (choice.savedLookup && !QFileInfo(choice.lookupFile).isFile())
        return ChoiceProblem{ChoiceProblem::Field::LookupFile, ScheduleText::LookupMissing,
                             choice.lookupFile};
    return std::nullopt;
}

QString ScheduleForm::problemText(const ChoiceProblem& problem) const
{
    const QString said = text(problem.text);
    return problem.argument.isEmpty() ? said : said.arg(problem.argument);
}

Schedule ScheduleForm::scheduleFor(const ScheduleChoice& choice) const
{
    Schedule schedule;
    schedule.button = m_button;
    schedule.kind = choice.kind;
    schedule.time =
        choice.kind == ScheduleKind::Daily ? QTime(choice.time.hour(), choice.time.minute()) : QTime();
    schedule.lookupFile = choice.savedLookup ? QFileInfo(choice.lookupFile).absoluteFilePath() : QString();
    schedule.database = m_database;
    schedule.program = m_program;
    schedule.environment = scheduledEnvironment();
    return schedule;
}

bool ScheduleForm::accept(const ScheduleChoice& choice, const QDateTime& now)
{
    if (const std::optional<ChoiceProblem> found = problem(choice)) {
        m_session.showMessage(problemText(*found), MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    const Schedule schedule = scheduleFor(choice);
    const ScheduleOutcome outcome = m_scheduler.apply(schedule);
    if (!outcome.done) {
        m_session.showMessage(text(ScheduleText::NotWritten).arg(m_button, outcome.failure),
                              MessageButtons::Ok, MessageIcon::Critical);
        return false;
    }
    m_found = choice.kind == ScheduleKind::Off ? std::nullopt
                                               : std::optional(FoundSchedule{schedule, outcome.home});
    m_session.showMessage(m_found ? text(ScheduleText::Scheduled).arg(m_button, nextText(*m_found, now))
                                  : text(ScheduleText::Removed).arg(m_button),
                          MessageButtons::Ok, MessageIcon::Information);
    return true;
}

} // namespace valdora::schedule
