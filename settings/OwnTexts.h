#pragma once

#include <QString>

namespace valdora {

/// Texts of the features that the numbered message table has no rows for (the preview of a run, the
/// run journal's undo and retry and its list of runs, the progress window, three message box buttons,
/// a few captions of the editor). They are our own rows beyond the table's, in the
/// same three languages: English 600.., French 1600.., German 2600.., so that the table's rows never change.
enum class OwnText {
    ScopePreview,     // "&Preview..." on the scope dialog
    ScopeJournalNote, // under its warning
    PreviewTitle,     // %1: the button's caption
    PreviewComputing, // %1: contacts so far
    PreviewCounts,    // %1 would write, %2 unchanged, %3 locked now
    PreviewStopped,   // %1: contacts computed before the stop
    ColumnContact,
    ColumnCompany,
    ColumnField,
    ColumnPresent,
    ColumnWouldWrite,
    ColumnAction,
    ActionWrite,
    ActionAppend,
    ActionOverwrite,
    ActionUnchanged,
    ActionKeep,
    ActionSkipNotEmpty,
    ActionLocked,
    ChangesOnly,
    ExportCsv,
    RunFromPreview,
    ClosePreview,
    StopPreview,
    CsvFilter,
    ExportTitle,
    ExportFailed, // %1: the file, %2: why
    MenuUndoLastRun,
    MenuRetryFailed,
    NothingToUndo,
    NoFailedContacts,
    UndoQuestion,   // %1 run, %2 button, %3 when, %4 fields, %5 contacts
    RunInterrupted, // added to the question of an interrupted run
    UndoPlanLine,   // %1 contact, %2 field, %3 what the run wrote, %4 what goes back
    UndoPlanMore,   // %1 changes not listed
    UndoNumbersNote,
    UndoDone,         // %1 run, %2 contacts, %3 fields
    UndoChangedSince, // %1 contact, %2 field, %3 what it holds, %4 what the run wrote
    UndoLocked,       // %1 contact, %2 run
    UndoMissing,      // %1 contact
    UndoRetryLocked,
    RetryQuestion,      // %1 button, %2 contacts, %3 run
    RunFailedRetry,     // %1 contacts
    RetryDone,          // %1 run, %2 written, %3 still failed
    RetryOfUndo,        // %1 run, %2 the run it undid
    RetryOtherDatabase, // %1 run, %2 database
    NoSuchRun,          // %1 run
    NoFailedInRun,      // %1 run
    ButtonRetry,        // message box buttons the table has no rows for
    ButtonAbort,
    ButtonIgnore,
    RunStopped,        // added to the question of a run that stopped halfway
    UndoLeft,          // %1 contacts, %2 run, %3 locked, %4 changed since, %5 gone
    UndoUnfinishedRun, // %1 run: every contact it wrote was taken back
    UndoOfUndo,        // %1 run, %2 the run it undid
    UndoneAlready,     // %1 run, %2 the undo
    JournalSetAside,   // %1 the journal, %2 where it was kept
    StoreNotWritable,  // %1 the per-user store's folder
    DeleteComboMember, // %1 the button, %2 the Combo buttons that run it
    DaysNotAWholeNumber,
    StartAtNotAWholeNumber,
    OperandNotANumber, // %1 the operand's number
    RunsTitle,         // the list of journalled runs that the undo and retry items open
    RunsColumnRun,
    RunsColumnButton,
    RunsColumnScope,
    RunsColumnStarted,
    RunsColumnContacts,
    RunsColumnState,
    RunsColumnUndone,
    RunsColumnFailed,
    StateFinished,
    StateRunning,
    ScopeRetryOf, // %1 the run whose failed contacts a retry covered
    UndoneByRun,  // %1 the undo
    RunsUndo,     // the list's buttons
    RunsRetry,
    RunsNoneChosen,      // under the list while no run is chosen
    RunDoneSummary,      // %1 button, %2 written, %3 unchanged, %4 failed
    RunDoneUndoHint,     // %1 run
    ProgressStarting,    // the progress window of a run
    ProgressCounting,    // %1 contacts counted so far
    ProgressOfTotal,     // %1 contacts done, %2 in scope
    ProgressSecondsLeft, // %1 seconds
    ProgressMinutesLeft, // %1 minutes, %2 seconds
    ProgressWaiting,     // while the run waits for an answer to its message
    EditorSaveElsewhere, // the AutoNumber page's button that picks where a new counter file goes
    EditorMore,          // the Condition and Combo pages' buttons to the rows beyond the page
    EditorDays,          // after the Now page's number of days
    CounterFileFilter,   // the counter-file dialogs' filter
    ContactLockedHead,   // before the contact's name in the message about a locked contact
    Count
};

/// The row number of an own text in the language of `languageBase` (300, 1300 or 2300).
constexpr int ownRowNumber(qint16 languageBase, OwnText id)
{
    return languageBase + 300 + static_cast<int>(id);
}

/// The text of an own row; the English one for a language base without its own texts.
QString ownText(qint16 languageBase, OwnText id);

} // namespace valdora
