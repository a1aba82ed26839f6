#pragma once

#include "MessageTable.h"

#include "core/Platform.h"

namespace valdora {

/// The caption of the message box button that gives this answer, in the language of `messages`: the
/// table's rows for OK, Cancel, Yes and No, our own rows for Retry, Abort and Ignore.
QString messageButtonCaption(const Messages& messages, MessageAnswer answer);

} // namespace valdora
