#pragma once

#include "KeelbrookState.h"

#include "triggers/TriggerRows.h"

#include <QList>

#include <optional>

namespace valdora::keelbrook {

using triggers::TriggerRow;

/// What a listing gave: the rows in field-id order (entry before exit) and the row of the remembered
/// trigger, when it was listed.
struct Listing {
    QList<TriggerRow> rows;
    std::optional<int> selectedRow; ///< 0-based
};

/// The load of the report: the triggers of field ids 1 to 1500 of the open database, described by
/// the captions in the button files of Valdora's settings folder. A failure goes to the error report,
/// which ends the program; the listing is empty then.
Listing listTriggers(KeelbrookState& state);

} // namespace valdora::keelbrook
