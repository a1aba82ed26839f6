#include "ScriptedPlatform.h"

#include "core/ConsolePlatform.h"

namespace valdora {

namespace {

template <typename T> T takeFront(std::deque<T>& queue, T fallback)
{
    if (!queue.empty()) {
        fallback = std::move(queue.front());
        queue.pop_front();
    }
    return fallback;
}

} // namespace

QStringList ScriptedPlatform::messageTexts() const
{
    QStringList texts;
    for (const auto& message : m_messages)
        texts << message.text;
    return texts;
}

void ScriptedPlatform::clearRecord()
{
    m_messages.clear();
    m_openRequests.clear();
    m_saveRequests.clear();
    m_started.clear();
    m_documents.clear();
    m_clipboard.clear();
}

MessageAnswer ScriptedPlatform::showMessage(const MessageRequest& request)
{
    m_messages << request;
    return takeFront(m_messageAnswers, defaultAnswer(request));
}

std::optional<QString> ScriptedPlatform::askOpenFile(const FileRequest& request)
{
    m_openRequests << request;
    return takeFront(m_openAnswers, std::optional<QString>());
}

std::optional<QString> ScriptedPlatform::askSaveFile(const FileRequest& request)
{
    m_saveRequests << request;
    return takeFront(m_saveAnswers, std::optional<QString>());
}

std::optional<quint32> ScriptedPlatform::askColour(quint32)
{
    return takeFront(m_colourAnswers, std::optional<quint32>());
}

void ScriptedPlatform::setClipboardText(const QString& text)
{
    m_clipboard = text;
}

bool ScriptedPlatform::startProgram(const ProgramStart& start)
{
    m_started << start;
    if (m_reallyStart)
        return startDetached(start);
    return m_startsSucceed;
}

bool ScriptedPlatform::openDocument(const QString& target)
{
    m_documents << target;
    return m_startsSucceed;
}

} // namespace valdora
