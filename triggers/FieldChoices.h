#pragma once

#include "KeelbrookTrace.h"

#include "host/FieldList.h"

#include <QList>
#include <QString>

namespace valdora::triggers {

/// A field the add window offers: its id and its label.
struct TriggerFieldChoice {
    host::FieldId id = -1;
    QString label;

    friend bool operator==(const TriggerFieldChoice&, const TriggerFieldChoice&) = default;
};

/// True for a field that is offered for a trigger: its type is none of 0, 7 and 10 to 14, and its
/// index none of 125, 201, 202 and 203.
bool canCarryTrigger(qint16 index, qint16 type);

/// The fields of the database that can carry a trigger, in index order. Indexes are tried from 1 on
/// until as many fields were found as the list counts.
QList<TriggerFieldChoice> Field_List(const host::FieldList& fields, KeelbrookTrace& trace);

} // namespace valdora::triggers
