#pragma once

#include "host/FieldList.h"

#include <QString>

namespace valdora::autorun {

/// The label of the field whose entry or exit trigger runs this button ("~555.ini") through
/// ValdoraAuto of this program folder: the field the user has to change when the button is gone.
/// A field whose trigger runs exactly this argument text (the trigger that started the program)
/// comes before any other that merely queues the button; "" when no field names it.
QString fieldTriggeringButton(const host::FieldList& fields, const QString& programFolder,
                              const QString& buttonFileName, const QString& argumentText);

} // namespace valdora::autorun
