#include "RunJournalling.h"

#include "core/Failure.h"

#include <algorithm>

namespace valdora::run {

template <typename Body> void RunJournalling::guarded(Body&& body)
{
    try {
        body();
    } catch (const journal::JournalError& error) {
        throw Failure(ErrorNumber::PathFileAccessError, error.message());
    }
}

qint64 RunJournalling::begin(const journal::RunInfo& info)
{
    qint64 id = 0;
    guarded([&] { id = m_journal.begin(info); });
    return id;
}

void RunJournalling::beforeWrite(const host::ContactId& contact, const std::vector<RunMember>& members)
{
    struct Target {
        QString name;
        QString present;
        QString value;
    };
    std::vector<std::pair<host::FieldId, Target>> targets;
    for (const RunMember& member : members) {
        if (!member.computesValue())
            continue;
        auto found = std::find_if(targets.begin(), targets.end(),
                                  [&](const auto& target) { return target.first == member.target; });
        if (found == targets.end())
            targets.push_back({member.target, {member.targetName, member.present, member.value}});
        else
            found->second.value = member.value;
    }
    guarded([&] {
        for (const auto& [id, target] : targets) {
            if (target.value != target.present)
                m_journal.addChange(contact, target.name, target.present, target.value);
        }
    });
}

void RunJournalling::afterWrite(const host::ContactId& contact, bool failed)
{
    guarded([&] {
        if (failed)
            m_journal.contactFailed(contact);
        m_covered << contact;
        m_journal.contactDone();
    });
}

void RunJournalling::finish(qint64 retryOf)
{
    guarded([&] {
        if (retryOf != 0)
            m_journal.resolveFailures(retryOf, m_covered);
        m_journal.finish();
    });
}

} // namespace valdora::run
