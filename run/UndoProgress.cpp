#include "UndoProgress.h"

#include "pb/ProgressArguments.h"

#include "core/ProgramFiles.h"

#include <QCoreApplication>

namespace valdora::run {

UndoProgress::UndoProgress(ProgramSession& session, std::chrono::milliseconds windowDelay,
                           ProgressWriter::Observer observer)
    : m_session(session), m_writer(session.userSettings()), m_windowDelay(windowDelay)
{
    m_sinceStart.start();
    m_writer.setObserver(std::move(observer));
    // A summary left by an earlier run is not this undo's: the undo reports in its own message.
    m_writer.setSummary(QString());
    m_writer.setStatus(QStringLiteral("On"));
    // Written before the window can start, so that it never reads the last run's closing stage.
    m_writer.setStage(-1);
    startWindowWhenDue();
}

UndoProgress::~UndoProgress()
{
    m_writer.setStage(0);
}

void UndoProgress::contact(int contact, int total)
{
    if (total != m_total) {
        m_total = total;
        m_writer.setTotal(total);
    }
    m_writer.setContactStage(contact);
    startWindowWhenDue();
}

void UndoProgress::startWindowWhenDue()
{
    if (m_windowStarted || m_sinceStart.elapsed() < m_windowDelay.count())
        return;
    m_windowStarted = true;
    // The window only shows the undo: one that cannot start changes nothing.
    const QString folder = m_session.programFolder();
    m_session.platform().startProgram(
        {folder + u'/' + ProgramFile::Progress,
         progressWindowArguments(QCoreApplication::applicationPid(), m_session.messages().languageBase()),
         folder});
}

} // namespace valdora::run
