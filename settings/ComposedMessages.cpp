#include "ComposedMessages.h"

namespace valdora {

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QChar Blank(u' ');

} // namespace

QString saveContactFirstText(const Messages& messages, const QString& applicationTitle)
{
    // The first sentence ends with the title: its full stop follows it.
    return messages.get(MessageId::SaveContactBeforeUsing) + Blank + applicationTitle + QLatin1Char('.') +
           LineBreak + messages.get(MessageId::NextContactAndBack);
}

QString missingButtonText(const Messages& messages, const QString& buttonName, const QString& targetName)
{
    // A button without a file has no target to name: "of the field" then, not "of the  field".
    const QString field = targetName.isEmpty()
                              ? messages.get(MessageId::ChangeTriggerSettingsHead).trimmed() +
                                    messages.get(MessageId::ChangeTriggerSettingsField)
                              : messages.get(MessageId::ChangeTriggerSettingsHead) + targetName +
                                    messages.get(MessageId::ChangeTriggerSettingsField);
    return messages.get(MessageId::MissingButtonHead) + buttonName +
           messages.get(MessageId::MissingButtonTail) + LineBreak + field + LineBreak +
           messages.get(MessageId::ChangeTriggerSettingsTail);
}

QString contactLockedText(const Messages& messages, const QString& contact, const QString& company)
{
    return messages.get(OwnText::ContactLockedHead) + contact + QStringLiteral(" (") + company +
           messages.get(MessageId::ContactLockedTail) + LineBreak + messages.get(MessageId::ConsultErrorLog);
}

QString errorLogLineText(const Messages& messages, const UnwrittenValue& unwritten)
{
    return unwritten.when + Blank + unwritten.contact + QStringLiteral(" (") + unwritten.company +
           QStringLiteral(") ") + messages.get(MessageId::CouldNotWrite) + QStringLiteral(" '") +
           unwritten.value + QStringLiteral("' ") + messages.get(MessageId::ToField) + QStringLiteral(" '") +
           unwritten.targetName + QStringLiteral("'.");
}

QString yearsAndMonthsText(const Messages& messages, int months)
{
    // C++ division truncates toward zero, so years and months share the sign of the total.
    return QString::number(months / 12) + Blank + messages.get(MessageId::Years) + Blank +
           QString::number(months % 12) + Blank + messages.get(MessageId::Months) + Blank;
}

QString confirmationNoteText(const Messages& messages, const QString& buttonName)
{
    return messages.get(MessageId::ConfirmationNoteHead) + buttonName + messages.get(MessageId::ButtonSuffix);
}

QString updatingNoticeText(const Messages& messages, const QString& targetName)
{
    return messages.get(MessageId::Updating) + Blank + targetName + QStringLiteral("...");
}

QString launchTooltipText(const Messages& messages, const QString& applicationTitle)
{
    return messages.get(MessageId::ClickToLaunch) + Blank + applicationTitle;
}

QString databaseLockedText(const Messages& messages, const QString& applicationTitle)
{
    return messages.get(MessageId::DatabaseLocked) + Blank + applicationTitle + u'.';
}

QString deleteButtonQuestion(const Messages& messages, const QString& buttonName)
{
    return messages.get(MessageId::ConfirmDeleteButton) + Blank + buttonName + u'?';
}

} // namespace valdora
