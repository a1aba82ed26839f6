#include "WarningTexts.h"

#include "settings/ComposedMessages.h"
#include "settings/FixedTexts.h"
#include "settings/MessageId.h"

namespace valdora::autorun {

ConfirmationTexts confirmationTexts(const Messages& messages, const QString& targetName,
                                    const QString& buttonName)
{
    return {.caption = fixedtexts::OptionalConfirmationCaption,
            .intro = messages.get(MessageId::AutoUpdateFollowingField),
            .target = targetName,
            .question = messages.get(MessageId::ProceedQuestion),
            .yes = messages.get(MessageId::Yes),
            .no = messages.get(MessageId::No),
            .noteHead = fixedtexts::NoteLabel,
            .note = confirmationNoteText(messages, buttonName)};
}

NoticeTexts noticeTexts(const Messages& messages, const QString& targetName)
{
    return {.title = messages.get(MessageId::AutomaticUpdateTitle),
            .updating = updatingNoticeText(messages, targetName)};
}

QString doneText()
{
    return fixedtexts::CalculationCompleted;
}

} // namespace valdora::autorun
