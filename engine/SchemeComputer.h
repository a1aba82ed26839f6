#pragma once

#include "host/HostTypes.h"

#include <QString>

namespace valdora::engine {

/// The computation of one scheme for the members of a run, as the value engine reaches it through
/// the scheme's row: each scheme keeps its own Initialize_ and Obtain_ routines and answers these
/// two calls with them.
class SchemeComputer {
public:
    virtual ~SchemeComputer() = default;

    /// Prepares a member from its button file, once per run. False when the member cannot run at all
    /// (said to the user); a failure the routine reported itself is seen by the engine.
    virtual bool initialize(int member, const QString& buttonFileName) = 0;
    /// The member's value for one contact.
    virtual QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) = 0;
};

} // namespace valdora::engine
