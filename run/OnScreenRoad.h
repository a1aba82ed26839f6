#pragma once

#include "ContactRoad.h"

#include <functional>

namespace valdora::run {

/// ValdoraAuto: the one contact on screen, read and written through the contact view. Targets come
/// from the button's "TargetID" and "TargetType", decimal places from its "TargetDecimals"; each used
/// member is written with its own SetField after an optional confirmation; a declined confirmation
/// stops the button. There is no record to hold, no commit check and no error log.
class OnScreenRoad final : public ContactRoad {
public:
    /// Asked before a member is written; false stops the button before that member.
    using ConfirmWrite = std::function<bool(const RunMember&)>;
    /// Told when the end-of-write step has run for the contact.
    using AfterEndOfWrite = std::function<void()>;
    /// The field whose trigger names a button that has no file; "" when none is known.
    using MissingButtonField = std::function<QString(const QString& buttonFileName)>;

    OnScreenRoad(const RoadParts& parts, ConfirmWrite confirmWrite, AfterEndOfWrite afterEndOfWrite = {},
                 MissingButtonField missingButtonField = {});

    std::unique_ptr<engine::FieldReader> open(int& maxFields) override;
    bool refusesMissingButton(const QString& buttonFileName, const ButtonFile& button) override;
    bool resolveTarget(RunMember& member, const ButtonFile& button) override;
    bool gatherContacts(const ButtonFile& button, RunSummary& summary) override;
    void startContact(const host::ContactId& id) override;
    void decimalsBeforeValidate(RunMember&, bool) override {}
    void decimalsAfterValidate(RunMember& member, bool single) override;
    void writeContact(RunSummary& summary) override;
    /// Nothing is staged on this road: every SetField writes at once.
    void abandonRecord() override {}

    /// After the contact's write: counter locks released, flags cleared.
    void End_Write();

private:
    enum class WriteOutcome { Written, Failed, Declined };
    /// Writes the used members into the contact on screen, in order, until one is declined or fails
    /// (a failure is reported).
    WriteOutcome writeMembers();

    ConfirmWrite m_confirmWrite;
    AfterEndOfWrite m_afterEndOfWrite;
    MissingButtonField m_missingButtonField;
};

} // namespace valdora::run
