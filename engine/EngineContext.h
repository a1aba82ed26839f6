#pragma once

#include "EngineOptions.h"
#include "FieldReader.h"
#include "FieldValueTable.h"

#include "core/ErrorReport.h"
#include "settings/ButtonFile.h"
#include "settings/ButtonModel.h"
#include "settings/ProgramSession.h"

namespace valdora::engine {

/// What every scheme of one engine shares: the session, the reader, the run's field-value table, the
/// options and the two run flags. Owned by ValueEngine.
struct EngineContext {
    ProgramSession& session;
    FieldReader& reader;
    const FieldValueTable& fieldValues;
    EngineOptions options;
    /// The member being computed writes into a currency (type 6) field.
    bool targetIsCurrency = false;
    /// Message 474 was shown: the run is to unload the bar.
    bool unloadRequested = false;
    /// The member being prepared or computed met button data it cannot use, and said so: its value
    /// is not to be written. ValueEngine clears it before each Initialize and Obtain.
    bool memberFailed = false;

    /// The trap name of a routine of this engine's module.
    Routine routine(RoutineKind kind, const char* name) const { return {options.module, kind, name}; }
    /// The keys of a button file of the button folder.
    ButtonFile keys(const QString& buttonFileName) const;
    /// A member's button file read as a button of `scheme`, the way the editor reads it: the typed
    /// keys with their defaults and option groups. The scheme is the code the run checked, not the
    /// file's "Type" again.
    ButtonValue memberButton(const QString& buttonFileName, Scheme scheme) const;
    /// The typed keys of a member's scheme (AgeKeys for an Age member).
    template <class Keys> Keys schemeKeys(const QString& buttonFileName) const
    {
        return std::get<Keys>(memberButton(buttonFileName, schemeOfKeys<Keys>()).scheme);
    }
    /// Makes a contact current; when the host cannot reach it, shows message 474, sets the unload
    /// request and returns false.
    bool reachContact(const host::ContactId& id, Where where = Where::current());
    /// A field of the current contact: the field-value table entry when not empty, else the host.
    /// nullopt when the host does not know the field.
    std::optional<QString> fieldValue(host::FieldId id, Where where = Where::current());
    /// Message 355 (button set for another database), OK only; the member has failed.
    void showInvalidData();
    /// A message about data the member cannot compute with, OK only; the member has failed.
    void showBadData(const QString& text);
};

} // namespace valdora::engine
