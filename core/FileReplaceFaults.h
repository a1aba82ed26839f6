#pragma once

#include <atomic>
#include <optional>

namespace valdora {

/// The steps of an atomic file replace, in the order it takes them. A flush is a step only when the
/// replace forces the content to the disk at once.
enum class ReplaceStep { CreateTemporary, Write, Flush, Rename };

/// Fails one step of the atomic file replaces, so that tests can check what each writer does when a
/// replace breaks off part way (a full disk, an I/O error, a folder that turned read-only). While an
/// object lives, replaceFileAtomically counts its steps in every thread and fails the `failAt`-th one
/// (counted from 1; 0 fails none and only counts) as if the system had refused it with EIO. At most
/// one object lives at a time.
class FileReplaceFaults {
public:
    explicit FileReplaceFaults(int failAt = 0);
    ~FileReplaceFaults();
    FileReplaceFaults(const FileReplaceFaults&) = delete;
    FileReplaceFaults& operator=(const FileReplaceFaults&) = delete;

    /// The steps taken since construction, the failed one included.
    int steps() const { return m_steps.load(); }
    /// The step that was failed, nullopt while none was.
    std::optional<ReplaceStep> failedStep() const;

    /// Asked by the replace before each step: false (and errno set to EIO) when the step is to fail.
    /// One atomic load while no object lives.
    static bool allows(ReplaceStep step);

private:
    bool count(ReplaceStep step);

    const int m_failAt;
    std::atomic<int> m_steps{0};
    std::atomic<int> m_failedStep{-1};
};

/// A readable name of a step, for test output.
const char* replaceStepName(ReplaceStep step);

} // namespace valdora
