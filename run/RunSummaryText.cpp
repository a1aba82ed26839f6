#include "RunSummaryText.h"

namespace valdora::run {

QString runSummaryText(const Messages& texts, const QString& caption, const RunSummary& summary)
{
    QString text = texts.get(OwnText::RunDoneSummary, {{2, summary.written}, {3, summary.unchanged}})
                       .arg(caption)
                       .arg(summary.written)
                       .arg(summary.unchanged)
                       .arg(summary.failed + summary.notReached());
    if (summary.journalRun != 0)
        // One line: the per-user store keeps no line breaks; the window wraps it.
        text += QLatin1Char(' ') + texts.get(OwnText::RunDoneUndoHint).arg(summary.journalRun);
    return text;
}

} // namespace valdora::run
