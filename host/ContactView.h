#pragma once

#include "HostTypes.h"

namespace valdora::host {

/// The host's contact view: the contact on screen.
class ContactView {
public:
    virtual ~ContactView() = default;

    /// The id of the contact on screen ("" when none).
    virtual ContactId GetCurrentID(Where where = Where::current()) const = 0;
    /// A field of the contact on screen; "" and GetLastError() 117 for a field the view does not know.
    virtual QString GetField(FieldId id, Where where = Where::current()) = 0;
    /// Writes a field of the contact on screen (seen in the window at once).
    virtual void SetField(FieldId id, const QString& value, Where where = Where::current()) = 0;
    /// The error of the last GetField/SetField: 0, or 117 for an unknown field.
    virtual int GetLastError() const = 0;
    /// True while the user has typed into the contact on screen without committing it. Another
    /// program's write of that contact, however it holds the record meanwhile, is no such change.
    virtual bool hasUnsavedChanges(Where where = Where::current()) const = 0;
};

} // namespace valdora::host
