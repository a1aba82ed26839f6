#include "ProgramSession.h"

#include <QDir>

#include <utility>

namespace valdora {

ProgramSession::ProgramSession(Platform& platform, QString applicationTitle, QString programFolder,
                               UserSettings userSettings, TextLocale locale, const MessageTable& table)
    : m_platform(platform), m_applicationTitle(std::move(applicationTitle)),
      m_programFolder(std::move(programFolder)), m_userSettings(std::move(userSettings)),
      m_locale(std::move(locale)), m_messages(table),
      m_reporter(platform, m_applicationTitle, [this] { return m_messages.get(MessageId::SupportRequest); }),
      m_ini(m_reporter, m_locale)
{}

void ProgramSession::setSettingsFile(const QString& path)
{
    m_ini.setCurrentSettingsFile(path);
    const qsizetype last = path.lastIndexOf(QDir::separator());
    m_buttonFolder = last >= 0 ? path.left(last + 1) : QString();
}

MessageAnswer ProgramSession::showMessage(const QString& text, MessageButtons buttons, MessageIcon icon,
                                          int defaultButton) const
{
    return m_platform.showMessage({.text = text,
                                   .title = m_applicationTitle,
                                   .buttons = buttons,
                                   .icon = icon,
                                   .defaultButton = defaultButton});
}

} // namespace valdora
