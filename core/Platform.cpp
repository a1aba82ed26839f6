#include "Platform.h"

namespace valdora {

MessageAnswer defaultAnswer(const MessageRequest& request)
{
    using enum MessageAnswer;
    const int d = request.defaultButton;
    switch (request.buttons) {
    case MessageButtons::Ok:
        return Ok;
    case MessageButtons::OkCancel:
        return d == 1 ? Cancel : Ok;
    case MessageButtons::YesNo:
        return d == 1 ? No : Yes;
    case MessageButtons::YesNoCancel:
        return d == 2 ? Cancel : d == 1 ? No : Yes;
    case MessageButtons::RetryCancel:
        return d == 1 ? Cancel : Retry;
    case MessageButtons::AbortRetryIgnore:
        return d == 2 ? Ignore : d == 1 ? Retry : Abort;
    }
    return Ok;
}

} // namespace valdora
