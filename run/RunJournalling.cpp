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
        bool changes = false;
        for (const auto& [id, target] : targets) {
            if (target.value == target.present)
                continue;
            m_journal.addChange(contact, target.name, target.present, target.value);
            changes = true;
        }
        if (changes)
            m_journal.writeAhead();
    });
}

void RunJournalling::afterWrite(const host::ContactId& contact, bool failed)
{
    guarded([&] {
        if (failed)
            m_journal.contactFailed(contact);
        m_covered.insert(contact);
        m_journal.contactDone();
    });
}

void RunJournalling::finish(qint64 retryOf, const std::vector<host::ContactId>& scope, bool stopped,
                            const host::ContactId& stoppedAt)
{
    journal::RunEnd end;
    end.stopped = stopped;
    for (const host::ContactId& contact : scope) {
        if (m_covered.contains(contact))
            continue;
        if (stopped && contact == stoppedAt && end.failedAt.isEmpty())
            end.failedAt = contact;
        else
            end.notReached << contact;
    }
    end.stopped = end.stopped || !end.notReached.isEmpty();
    guarded([&] {
        // The retried run's contacts are this run's now: written, failed again, or not reached.
        if (retryOf != 0)
            m_journal.resolveFailures(retryOf, QStringList(scope.begin(), scope.end()));
        m_journal.finish(end);
    });
}

} // namespace valdora::run
