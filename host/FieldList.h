#pragma once

#include "HostTypes.h"

namespace valdora::host {

/// The field definitions of the open database (the contact object's Fields).
class FieldList {
public:
    virtual ~FieldList() = default;

    /// Number of fields defined.
    virtual qint16 Count(Where where = Where::current()) const = 0;
    /// True when a field of that name exists (names are matched without regard to case).
    virtual bool Exists(const QString& name, Where where = Where::current()) const = 0;
    /// The id of the field of that name; -1 when there is none (the empty name included).
    virtual FieldId FieldID(const QString& name, Where where = Where::current()) const = 0;
    /// `number` itself when a field with that id exists, else -1.
    virtual FieldId Id(qint16 number, Where where = Where::current()) const = 0;
    /// The field's type code; -1 for an id that names no field.
    virtual qint16 Type(FieldId id, Where where = Where::current()) const = 0;
    /// The field's decimal places (0 for fields without decimals).
    virtual qint16 DecimalPlaces(FieldId id, Where where = Where::current()) const = 0;
    /// The display name of the field (the name the field list shows).
    virtual QString Label(FieldId id, Where where = Where::current()) const = 0;
    /// The stored entry trigger text ("" when none).
    virtual QString EntryTrigger(FieldId id, Where where = Where::current()) const = 0;
    /// Writes the entry trigger text; "" removes it.
    virtual void EntryTrigger(FieldId id, const QString& text, Where where = Where::current()) = 0;
    /// The stored exit trigger text ("" when none).
    virtual QString ExitTrigger(FieldId id, Where where = Where::current()) const = 0;
    /// Writes the exit trigger text; "" removes it.
    virtual void ExitTrigger(FieldId id, const QString& text, Where where = Where::current()) = 0;
};

} // namespace valdora::host
