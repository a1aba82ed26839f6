#include "MessageButtonCaptions.h"

namespace valdora {

QString messageButtonCaption(const Messages& messages, MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return messages.get(MessageId::Ok);
    case MessageAnswer::Cancel:
        return messages.get(MessageId::Cancel);
    case MessageAnswer::Yes:
        return messages.get(MessageId::Yes);
    case MessageAnswer::No:
        return messages.get(MessageId::No);
    case MessageAnswer::Retry:
        return messages.get(OwnText::ButtonRetry);
    case MessageAnswer::Abort:
        return messages.get(OwnText::ButtonAbort);
    case MessageAnswer::Ignore:
        return messages.get(OwnText::ButtonIgnore);
    }
    return {};
}

std::function<QString(MessageAnswer)> messageButtonCaptions(const Messages& messages)
{
    return [&messages](MessageAnswer answer) { return messageButtonCaption(messages, answer); };
}

} // namespace valdora
