#include "UndoProgress.h"

#include "pb/ProgressArguments.h"

#include "core/ProgramFiles.h"

#include <QCoreApplication>

namespace valdora::run {

UndoProgress::UndoProgress(ProgramSession& session, ProgressWriter::Observer observer)
    : m_writer(session.userSettings())
{
    m_writer.setObserver(std::move(observer));
    // A summary left by an earlier run is not this undo's: the undo reports in its own message.
    m_writer.setSummary(QString());
    m_writer.setStatus(QStringLiteral("On"));
    // The window only shows the undo: one that cannot start changes nothing.
    const QString folder = session.programFolder();
    session.platform().startProgram(
        {folder + u'/' + ProgramFile::Progress,
         progressWindowArguments(QCoreApplication::applicationPid(), session.messages().languageBase()),
         folder});
    m_writer.setStage(-1);
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
}

} // namespace valdora::run
