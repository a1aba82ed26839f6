#pragma once

#include "RunSummary.h"

#include "settings/MessageTable.h"

namespace valdora::run {

/// What a run from the bar did, in one line of the language of `texts`: the button's caption,
/// the contacts written, left unchanged and failed, and, for a journalled run, how to take it back.
QString runSummaryText(const Messages& texts, const QString& caption, const RunSummary& summary);

} // namespace valdora::run
