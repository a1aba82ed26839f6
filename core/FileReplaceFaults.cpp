#include "FileReplaceFaults.h"

#include <cerrno>
#include <cstdlib>

namespace valdora {

namespace {

// The one object whose faults are injected now; null outside the tests that inject faults.
std::atomic<FileReplaceFaults*> activeReplaceFaults{nullptr};

} // namespace

FileReplaceFaults::FileReplaceFaults(int failAt) : m_failAt(failAt)
{
    FileReplaceFaults* none = nullptr;
    // Two at once would count each other's steps: a test that nests them is wrong, not flaky.
    if (!activeReplaceFaults.compare_exchange_strong(none, this))
        std::abort();
}

FileReplaceFaults::~FileReplaceFaults()
{
    activeReplaceFaults.store(nullptr);
}

std::optional<ReplaceStep> FileReplaceFaults::failedStep() const
{
    const int step = m_failedStep.load();
    return step < 0 ? std::nullopt : std::optional(static_cast<ReplaceStep>(step));
}

bool FileReplaceFaults::count(ReplaceStep step)
{
    if (m_steps.fetch_add(1) + 1 != m_failAt)
        return true;
    m_failedStep.store(static_cast<int>(step));
    return false;
}

bool FileReplaceFaults::allows(ReplaceStep step)
{
    FileReplaceFaults* const faults = activeReplaceFaults.load(std::memory_order_acquire);
    if (faults == nullptr || faults->count(step))
        return true;
    errno = EIO;
    return false;
}

const char* replaceStepName(ReplaceStep step)
{
    switch (step) {
    case ReplaceStep::CreateTemporary:
        return "create temporary";
    case ReplaceStep::Write:
        return "write";
    case ReplaceStep::Flush:
        return "flush";
    case ReplaceStep::Rename:
        return "rename";
    }
    return "?";
}

} // namespace valdora
