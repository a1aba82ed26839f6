#pragma once

#include "ProgressWriter.h"
#include "RunState.h"
#include "RunSummary.h"

#include "core/ErrorReport.h"
#include "host/Application.h"
#include "host/ContactView.h"
#include "host/Database.h"
#include "settings/ButtonFile.h"
#include "settings/ProgramSession.h"

#include <memory>

namespace valdora::engine {
class FieldReader;
}

namespace valdora::run {

/// The host objects a run works on. Valdora needs the database and the application; ValdoraAuto only
/// the contact view.
struct RunHost {
    host::Database* database = nullptr;
    host::Application* application = nullptr;
    host::ContactView* view = nullptr;
};

/// What a road works with: the program, the host, the progress values and the run's state.
struct RoadParts {
    ProgramSession& session;
    RunHost host;
    ProgressWriter& progress;
    RunState& state;
    /// Module name of the failure reports.
    const char* module;
};

/// The way a run reaches its contacts: what it checks before it starts, where a target field comes
/// from, which contacts it covers, and how the values of one contact get into the host. The run reads
/// the button, computes and validates the members' values; the road does the rest. One road per run.
class ContactRoad {
public:
    explicit ContactRoad(const RoadParts& parts) : m_parts(parts) {}
    virtual ~ContactRoad() = default;
    ContactRoad(const ContactRoad&) = delete;
    ContactRoad& operator=(const ContactRoad&) = delete;

    /// Before the button is read: whatever must hold for the run to start, and the field reader the
    /// engine reads with. `maxFields` is set to the highest field id there is. nullptr (after a
    /// message) when the run does not start.
    virtual std::unique_ptr<engine::FieldReader> open(int& maxFields) = 0;
    /// A button whose "Type" reads -1 (its file is gone): true when this road ends the run there, after
    /// its own message.
    virtual bool refusesMissingButton(const QString& buttonFileName, const ButtonFile& button) = 0;
    /// Sets the member's target field id and type (and the decimal places where the host tells them);
    /// false (after a message) when the target cannot be written.
    virtual bool resolveTarget(RunMember& member, const ButtonFile& button) = 0;
    /// Fills the run's contact list. False when the run ends here: cancelled, or handed over.
    virtual bool gatherContacts(const ButtonFile& button, RunSummary& summary) = 0;

    /// Before the members of a contact are computed: the contact becomes the one fields read from.
    virtual void startContact(const host::ContactId& id) = 0;
    /// Decimal places put on a Combo member's computed value, before it is validated.
    virtual void decimalsBeforeValidate(RunMember& member, bool single) = 0;
    /// Decimal places put on a member's value, after it is validated.
    virtual void decimalsAfterValidate(RunMember& member, bool single) = 0;
    /// Writes the computed values of the contact and counts it; a counter that fails stops the run.
    virtual void writeContact(RunSummary& summary) = 0;
    /// Drops what was staged for the current contact, and the record it holds, without writing it.
    virtual void abandonRecord() = 0;
    /// After the last contact, whether the run finished or stopped.
    virtual void endRun(RunSummary& /*summary*/) {}

    /// Ends the run at the current contact, which is counted as failed and not written (a counter
    /// that cannot be trusted, a member whose value could not be computed).
    void stopAt(RunSummary& summary);

protected:
    /// Sets the member's target from the field its name stands for in `fields`: id, type and decimal
    /// places. False (after the message on bad button data) when there is no such field.
    bool resolveNamedTarget(RunMember& member, host::FieldList& fields) const;

    ProgramSession& session() const { return m_parts.session; }
    const RunHost& host() const { return m_parts.host; }
    ProgressWriter& progress() const { return m_parts.progress; }
    RunState& state() const { return m_parts.state; }
    Routine routine(RoutineKind kind, const char* name) const { return {m_parts.module, kind, name}; }

private:
    RoadParts m_parts;
};

} // namespace valdora::run
