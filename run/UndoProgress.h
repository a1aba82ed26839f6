#pragma once

#include "ProgressWriter.h"

#include "settings/ProgramSession.h"

namespace valdora::run {

/// The progress window of an undo: the window a run of the bar shows (pb.exe, told this process and
/// its language), fed the same "Progress" values. It counts the contacts written back and closes by
/// itself when the undo ends, whether it finished or failed; as with a run, closing it early leaves
/// the undo going. Made when the undo starts; its end is written when it goes.
class UndoProgress {
public:
    explicit UndoProgress(ProgramSession& session, ProgressWriter::Observer observer = {});
    ~UndoProgress();
    UndoProgress(const UndoProgress&) = delete;
    UndoProgress& operator=(const UndoProgress&) = delete;

    /// Before contact `contact` (from 1) of `total` is written back.
    void contact(int contact, int total);

private:
    ProgressWriter m_writer;
    int m_total = -1;
};

} // namespace valdora::run
