#pragma once

#include "host/HostTypes.h"

#include <QString>
#include <QStringList>

namespace valdora::engine {

/// The values that the members of a run have computed for the contact being processed, one text per
/// host field id 0..MaxFields. Owned by the run; the schemes read a field here first and fall back to
/// the host only when the entry is empty, so a later Combo member sees an earlier member's value.
class FieldValueTable {
public:
    explicit FieldValueTable(int maxFields = 0) { reset(maxFields); }

    /// Entries 0..maxFields, all empty.
    void reset(int maxFields);
    /// The highest index the table holds.
    int maxFields() const { return static_cast<int>(m_values.size()) - 1; }

    /// The entry of a field id; "" for an id outside the table.
    QString value(host::FieldId id) const;
    /// Sets an entry; an id beyond the table grows it, so no computed value is ever dropped.
    /// Negative ids are ignored.
    void setValue(host::FieldId id, const QString& value);
    /// Empties one entry.
    void clear(host::FieldId id) { setValue(id, QString()); }

private:
    QStringList m_values;
};

} // namespace valdora::engine
