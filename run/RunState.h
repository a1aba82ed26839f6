#pragma once

#include "OverwriteRule.h"

#include "engine/FieldValueTable.h"
#include "host/HostTypes.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace valdora::engine {
class FieldReader;
class ValueEngine;
} // namespace valdora::engine

namespace valdora::run {

/// One member of a run: a single button is its own member 0; a Combo has one per enabled slot.
struct RunMember {
    QString fileName;
    qint16 type = -1;
    host::FieldId target = -1;
    QString targetName;
    bool targetIsCurrency = false;
    qint16 targetFieldType = -1;
    qint16 decimals = 0;
    OverwriteRule rule;
    QString value;
    /// What the target held when the value was validated against it.
    QString present;
    bool valueUsed = false;
    std::optional<QString> storedDecimals; ///< "TargetDecimals" as last read or written

    /// The member's scheme computes a value to write (a Combo inside a Combo or an unknown type does not).
    bool computesValue() const;
    /// The member hands out AutoNumber numbers.
    bool isAutoNumber() const;
};

/// What one run builds before its first contact and works on contact by contact. The run and the
/// road it goes by share it; all of it is rebuilt at the start of every run.
struct RunState {
    RunState();
    ~RunState();
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    QString currentButton;
    std::vector<RunMember> members;
    engine::FieldValueTable fieldValues;
    std::vector<host::ContactId> contactIds;
    qint32 processed = 0;
    /// The progress window was started and still counts: the run's end must tell it so.
    bool progressWindowOpen = false;
    /// The run ends at the contact it is on.
    bool stopped = false;
    std::unique_ptr<engine::FieldReader> reader;
    /// Declared last: it reads through the reader and the field-value table until it goes.
    std::unique_ptr<engine::ValueEngine> engine;

    qint32 total() const { return static_cast<qint32>(contactIds.size()); }
    bool anyValueUsed() const;
    /// True when the members' values change what a target field holds: per field, the value of the
    /// last member that writes it against what the field held. A rule that writes back the value the
    /// field holds changes nothing, as the preview and the journal count it.
    bool changesAnyTarget() const;
    /// Advances the counters of the AutoNumber members whose numbers this contact uses; false when one
    /// could not (reported).
    bool takeNumbers();
    /// Gives back, last member first, the numbers taken for a contact that was not written.
    void giveBackNumbers();
    /// After a contact's write: the counter locks go and no member's value counts as used any more.
    void releaseAfterWrite();
};

} // namespace valdora::run
