#pragma once

#include "KeelbrookState.h"
#include "ReportModel.h"

#include <optional>

namespace valdora::keelbrook {

/// How a removal request ended.
enum class RemovalEnd {
    NotRemoved, ///< nothing selected or the trigger could not be cleared: "No item selected." was shown
    Declined,   ///< the user answered No
    Removed,    ///< the trigger was cleared and its row removed
    Failed,     ///< a failure after the trigger was cleared went to the error report
};

struct RemovalResult {
    RemovalEnd end = RemovalEnd::NotRemoved;
    /// The row to select afterwards (0-based); none when the list is empty or nothing changed.
    std::optional<int> select;
};

/// The report's Remove button for the selected row (0-based): asks, clears the trigger of that kind
/// and field id in the database, removes the row and names the row to select next.
RemovalResult cmdRemove(KeelbrookState& state, ReportModel& model, std::optional<int> selectedRow);

} // namespace valdora::keelbrook
