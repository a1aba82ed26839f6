#pragma once

#include "core/Platform.h"

#include <QList>

#include <deque>

namespace valdora {

/// A platform for tests: records every message box, file dialog, program start and clipboard text, and
/// answers from a script. A message box without a scripted answer gets its default button's answer.
class ScriptedPlatform final : public Platform {
public:
    // Script
    void answerNextMessage(MessageAnswer answer) { m_messageAnswers.push_back(answer); }
    void answerNextOpenFile(std::optional<QString> name) { m_openAnswers.push_back(std::move(name)); }
    void answerNextSaveFile(std::optional<QString> name) { m_saveAnswers.push_back(std::move(name)); }
    void answerNextColour(std::optional<quint32> colour) { m_colourAnswers.push_back(colour); }
    /// Whether startProgram reports success (default: true, without starting anything).
    void setProgramStartsSucceed(bool succeed) { m_startsSucceed = succeed; }
    /// When true, startProgram really starts the program (detached) and reports the outcome.
    void setReallyStartPrograms(bool really) { m_reallyStart = really; }

    // Record
    const QList<MessageRequest>& messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<FileRequest>& openFileRequests() const { return m_openRequests; }
    const QList<FileRequest>& saveFileRequests() const { return m_saveRequests; }
    const QList<ProgramStart>& startedPrograms() const { return m_started; }
    const QStringList& openedDocuments() const { return m_documents; }
    const QString& clipboardText() const { return m_clipboard; }
    void clearRecord();

    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override;
    std::optional<QString> askSaveFile(const FileRequest& request) override;
    std::optional<quint32> askColour(quint32 initial) override;
    void setClipboardText(const QString& text) override;
    bool startProgram(const ProgramStart& start) override;
    bool openDocument(const QString& target) override;

private:
    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<std::optional<QString>> m_openAnswers;
    std::deque<std::optional<QString>> m_saveAnswers;
    std::deque<std::optional<quint32>> m_colourAnswers;
    bool m_startsSucceed = true;
    bool m_reallyStart = false;

    QList<MessageRequest> m_messages;
    QList<FileRequest> m_openRequests;
    QList<FileRequest> m_saveRequests;
    QList<ProgramStart> m_started;
    QStringList m_documents;
    QString m_clipboard;
};

} // namespace valdora
