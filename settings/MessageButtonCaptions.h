#pragma once

#include "MessageTable.h"

#include "core/Platform.h"

#include <functional>

namespace valdora {

/// The caption of the message box button that gives this answer, in the language of `messages`: the
/// table's rows for OK, Cancel, Yes and No, our own rows for Retry, Abort and Ignore.
QString messageButtonCaption(const Messages& messages, MessageAnswer answer);
/// The same as a function a message box asks when it is shown: it reads `messages` at that moment, so
/// a language chosen since applies. `messages` must outlive it (the program's session holds them).
std::function<QString(MessageAnswer)> messageButtonCaptions(const Messages& messages);

} // namespace valdora
