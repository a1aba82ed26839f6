#pragma once

#include <QString>

namespace valdora::schedule {

/// The texts of a button's schedule window and its menu item, in the three languages of the suite.
enum class ScheduleText {
    MenuSchedule, // the button menu's item
    WindowTitle,  // %1: the button
    ButtonLabel,  // %1: the button
    RunsGroup,
    Off,
    EveryDay,
    EveryHour,
    AtLogin,
    ContactsGroup,
    AllContacts,
    SavedLookup,
    Browse,
    LookupFilter,
    LookupTitle,
    DatabaseLabel, // %1: the database's name
    NotScheduled,
    NextRun, // %1: date and time
    NextAtLogin,
    NextAtStart, // cron's stand-in for a log-in
    KeptBySystemd,
    KeptByCron,
    ChooseLookup,
    LookupMissing, // %1: the file
    NoDatabase,
    Scheduled,  // %1: the button, %2: when it runs next
    Removed,    // %1: the button
    NotWritten, // %1: the button, %2: why
    Count
};

/// The text in the language of `languageBase` (300 English, 1300 French, 2300 German); English for
/// any other base.
QString scheduleText(qint16 languageBase, ScheduleText id);

} // namespace valdora::schedule
