#include "RunState.h"

#include "engine/SchemeType.h"
#include "engine/ValueEngine.h"

#include <algorithm>

namespace valdora::run {

namespace {

bool inSchemeRange(qint16 type)
{
    return type >= 0 && type <= 6;
}

} // namespace

bool RunMember::computesValue() const
{
    return inSchemeRange(type) && type != engine::SchemeType::Combo;
}

bool RunMember::isAutoNumber() const
{
    return type == engine::SchemeType::AutoNumber;
}

RunState::RunState() = default;
RunState::~RunState() = default;

bool RunState::anyValueUsed() const
{
    return std::any_of(members.begin(), members.end(), [](const RunMember& m) { return m.valueUsed; });
}

bool RunState::takeNumbers()
{
    for (std::size_t j = 0; j < members.size(); ++j) {
        const RunMember& member = members[j];
        if (member.isAutoNumber() && member.valueUsed && !engine->Update_AutoNumber(static_cast<int>(j)))
            return false;
    }
    return true;
}

void RunState::giveBackNumbers()
{
    for (std::size_t j = members.size(); j-- > 0;)
        engine->giveBack(static_cast<int>(j));
}

void RunState::releaseAfterWrite()
{
    if (engine)
        engine->releaseCounterLocks();
    for (RunMember& member : members)
        member.valueUsed = false;
}

} // namespace valdora::run
