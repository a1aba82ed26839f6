#include "ErrorReport.h"

#include "Platform.h"

#include <utility>

namespace valdora {

QString Routine::locationText() const
{
    const char* kindText = kind == RoutineKind::Sub ? "Sub" : "Function";
    return QStringLiteral("in %1: %2 %3 - Line # ")
        .arg(QString::fromLatin1(module), QString::fromLatin1(kindText), QString::fromLatin1(name));
}

QString errorReportText(const Failure& failure, const Routine& routine, const QString& supportMessage)
{
    const QChar cr(u'\r');
    return QStringLiteral("Error ") + QString::number(failure.number()) + QStringLiteral(": '") +
           failure.description() + QStringLiteral("'") + cr + routine.locationText() +
           QString::number(failure.line()) + cr + cr + supportMessage;
}

ErrorReporter::ErrorReporter(Platform& platform, QString applicationTitle,
                             std::function<QString()> supportMessage)
    : m_platform(platform), m_applicationTitle(std::move(applicationTitle)),
      m_supportMessage(std::move(supportMessage))
{}

void ErrorReporter::report(const Failure& failure, const Routine& routine) const
{
    ++m_reportCount;
    const QString support = m_supportMessage ? m_supportMessage() : QString();
    m_platform.showMessage({.text = errorReportText(failure, routine, support),
                            .title = m_applicationTitle + QStringLiteral(" error"),
                            .buttons = MessageButtons::Ok,
                            .icon = MessageIcon::None,
                            .defaultButton = 0});
}

} // namespace valdora
