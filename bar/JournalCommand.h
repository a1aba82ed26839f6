#pragma once

#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"
#include "settings/MessageTable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace valdora::bar {

/// What Valdora.exe is asked to do with the user's run journal.
enum class JournalAction {
    List,  ///< "--runs"
    Undo,  ///< "--undo [RUN]"
    Retry, ///< "--retry [RUN]"
};

struct JournalCommandRequest {
    JournalAction action = JournalAction::List;
    /// The run; absent: the newest one that has something to undo or retry.
    std::optional<qint64> run;
};

/// The command line of the run journal: "--runs", "--undo [RUN]", "--retry [RUN]", and their output.
class JournalCommand {
public:
    /// True when the arguments ask for the journal ("--runs", "--undo" or "--retry" among them).
    static bool isJournalRequest(const QStringList& arguments);
    /// The request, or nullopt with `error` set to a one-line explanation.
    static std::optional<JournalCommandRequest> parse(const QStringList& arguments, QString& error);

    /// The journal's runs, newest first: a header line, then one tab-separated line per run.
    static QString runsText(const std::vector<journal::JournalRun>& runs);
    /// What an undo is about to write back.
    static QString undoPlanText(const journal::JournalRun& run,
                                const std::vector<journal::JournalChange>& plan);
    /// The exit code of an undo: 0 when every change was written back, 1 when something was left.
    static int undoExitCode(const journal::UndoReport& report);
};

} // namespace valdora::bar
