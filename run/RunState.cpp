#include "RunState.h"

#include "engine/ValueEngine.h"

#include <algorithm>

namespace valdora::run {

bool RunMember::computesValue() const
{
    return valdora::computesValue(type);
}

bool RunMember::isAutoNumber() const
{
    return type == codeOf(Scheme::AutoNumber);
}

RunState::RunState() = default;
RunState::~RunState() = default;

bool RunState::anyValueUsed() const
{
    return std::any_of(members.begin(), members.end(), [](const RunMember& m) { return m.valueUsed; });
}

bool RunState::changesAnyTarget() const
{
    std::vector<std::pair<host::FieldId, const RunMember*>> lastWriter;
    for (const RunMember& member : members) {
        if (!member.computesValue())
            continue;
        const auto found = std::find_if(lastWriter.begin(), lastWriter.end(),
                                        [&](const auto& entry) { return entry.first == member.target; });
        if (found == lastWriter.end())
            lastWriter.emplace_back(member.target, &member);
        else
            found->second = &member;
    }
    // What the field held is what its first writer read: a later member reads the value before it.
    return std::any_of(lastWriter.begin(), lastWriter.end(), [this](const auto& entry) {
        const auto first = std::find_if(members.begin(), members.end(), [&](const RunMember& member) {
            return member.computesValue() && member.target == entry.first;
        });
        return entry.second->value != first->present;
    });
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
