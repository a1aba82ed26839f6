#pragma once

#include "ProgressWriter.h"

#include "settings/ProgramSession.h"

#include <QElapsedTimer>

#include <chrono>

namespace valdora::run {

/// The progress window of an undo: the window a run of the bar shows (pb.exe, told this process and
/// its language), fed the same "Progress" values. It counts the contacts written back and closes by
/// itself when the undo ends, whether it finished or failed; as with a run, closing it early leaves
/// the undo going. Made when the undo starts; its end is written when it goes.
///
/// The window starts only once the undo has lasted `windowDelay`: a window started for an undo that
/// is already over would find no stage of it and say "Starting..." beside the undo's report until its
/// start grace ran out. A delay of zero starts it at once.
class UndoProgress {
public:
    /// How long an undo goes before its window starts.
    static constexpr std::chrono::milliseconds DefaultWindowDelay{500};

    explicit UndoProgress(ProgramSession& session, std::chrono::milliseconds windowDelay = DefaultWindowDelay,
                          ProgressWriter::Observer observer = {});
    ~UndoProgress();
    UndoProgress(const UndoProgress&) = delete;
    UndoProgress& operator=(const UndoProgress&) = delete;

    /// Before contact `contact` (from 1) of `total` is written back. Starts the window when the undo
    /// has lasted its delay.
    void contact(int contact, int total);

    /// Whether the window has been started.
    bool windowStarted() const { return m_windowStarted; }

private:
    void startWindowWhenDue();

    ProgramSession& m_session;
    ProgressWriter m_writer;
    std::chrono::milliseconds m_windowDelay;
    QElapsedTimer m_sinceStart;
    int m_total = -1;
    bool m_windowStarted = false;
};

} // namespace valdora::run
