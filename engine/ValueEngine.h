#pragma once

#include "AgeScheme.h"
#include "ArithmeticSchemes.h"
#include "AutoNumberScheme.h"
#include "Calculator.h"
#include "ConditionScheme.h"
#include "EngineContext.h"
#include "NowScheme.h"
#include "SchemeComputer.h"

#include "settings/SchemeTable.h"

#include <QString>

#include <array>
#include <memory>

namespace valdora::engine {

/// The value engine of one run: computes the value of a member button for one contact by its scheme.
///
/// The run creates one per run, giving it the program session, a field reader (TableFieldReader in
/// Valdora, ViewFieldReader in ValdoraAuto), the run's field-value table and the options
/// (the engine part of the program's profile). It calls Initialize once per member, Obtain once per
/// member and contact. Before it commits a contact it calls Update_AutoNumber for every AutoNumber
/// member whose value was used (the counter is past the number before the contact holding it is
/// committed), giveBack for those numbers when the commit did not go through, and then
/// releaseCounterLocks().
///
/// An AutoNumber member holds its counter file locked against other processes from Obtain to
/// releaseCounterLocks, so two processes never hand out the same number and a number given back is
/// given back exactly. When counterFailed() turns true a counter could not be read or written: the
/// contact is not to be written and the run stops.
///
/// After each Obtain the run checks unloadRequested(): message 474 (contact not reachable) has then
/// been shown and the bar is to be unloaded; the value returned is empty.
class ValueEngine {
public:
    ValueEngine(ProgramSession& session, FieldReader& reader, const FieldValueTable& fieldValues,
                EngineOptions options);
    ValueEngine(const ValueEngine&) = delete;
    ValueEngine& operator=(const ValueEngine&) = delete;

    /// Set per member before Obtain: the member's target field is of host type 6 (currency).
    void setTargetIsCurrency(bool isType6) { m_context.targetIsCurrency = isType6; }
    bool targetIsCurrency() const { return m_context.targetIsCurrency; }

    /// The Initialize_ routine of a scheme type for a member; nothing for Combo or an unknown type.
    /// False when the member cannot run at all: its routine failed or met button data it cannot use
    /// (a key that is no number, a missing field, an unusable counter file), and said so. A run must
    /// then write nothing.
    bool Initialize(qint16 type, int member, const QString& buttonFileName);
    /// The Obtain_ routine of a scheme type; "" for Combo or an unknown type. Afterwards
    /// obtainFailed() tells whether the value can be written.
    QString Obtain(qint16 type, const host::ContactId& contactId, const QString& buttonFileName, int member);
    /// The last Obtain failed or met data it cannot compute with, and said so: its value (whatever
    /// it holds) is not to be written, and neither is anything else of that contact.
    bool obtainFailed() const { return m_obtainFailed; }
    /// Advances the counter of an AutoNumber member whose value was used, keeping its lock; false when
    /// it could not (reported).
    bool Update_AutoNumber(int member) { return autoNumber().Update_AutoNumber(member); }
    /// Gives back the number an AutoNumber member advanced past, for a write that did not go through.
    void giveBack(int member) { autoNumber().giveBack(member); }
    /// A counter file failed during the run: write nothing more.
    bool counterFailed() const { return computerOf<AutoNumberScheme>(Scheme::AutoNumber).failed(); }
    /// Releases the counter locks of every member (numbers that were not used stay unused).
    void releaseCounterLocks() { autoNumber().releaseCounterLocks(); }
    /// Forces the counters advanced so far to the disk; the engine also does so when it ends.
    void syncCounters() { autoNumber().syncCounters(); }

    /// True once message 474 asked to unload the bar.
    bool unloadRequested() const { return m_context.unloadRequested; }
    void clearUnloadRequest() { m_context.unloadRequested = false; }

    /// What the schemes share (the session, the reader, the run flags).
    EngineContext& context() { return m_context; }

    /// The computing object of a scheme code; nullptr for a code that computes nothing.
    SchemeComputer* computer(qint16 type) const
    {
        return isSchemeCode(type) ? m_computers[static_cast<std::size_t>(type)].get() : nullptr;
    }

    /// The schemes, for the run's named calls and for tests.
    Calculator& calculator() { return m_calculator; }
    AutoNumberScheme& autoNumber() { return computerOf<AutoNumberScheme>(Scheme::AutoNumber); }
    ConditionScheme& condition() { return computerOf<ConditionScheme>(Scheme::Condition); }
    AddScheme& add() { return computerOf<AddScheme>(Scheme::AddSubtract); }
    MultiplyScheme& multiply() { return computerOf<MultiplyScheme>(Scheme::MultiplyDivide); }
    NowScheme& now() { return computerOf<NowScheme>(Scheme::Now); }
    AgeScheme& age() { return computerOf<AgeScheme>(Scheme::Age); }

private:
    /// Runs one scheme routine; true when it neither reported a failure nor met unusable data.
    template <typename Call> bool watched(Call&& call);
    /// The computing object of a scheme, made by its row as the class S.
    template <class S> S& computerOf(Scheme scheme) const
    {
        return static_cast<S&>(*m_computers[static_cast<std::size_t>(codeOf(scheme))]);
    }

    EngineContext m_context;
    bool m_obtainFailed = false;
    Calculator m_calculator;
    /// By scheme code, as the scheme table's rows make them; null where a scheme computes nothing.
    std::array<std::unique_ptr<SchemeComputer>, SchemeTable.size()> m_computers;
};

} // namespace valdora::engine
