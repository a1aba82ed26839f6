#pragma once

#include "core/Platform.h"

#include <QStringList>

namespace valdora::schedule {

/// The platform of a run with nobody at the screen: no window, no message box, no program started
/// (not even the progress window). Every message box becomes one failure line on standard error,
/// kept for the run's error.log and notification, and is answered with its default button; every
/// dialog answers "cancelled".
class UnattendedPlatform final : public Platform {
public:
    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override;
    std::optional<QString> askSaveFile(const FileRequest& request) override;
    std::optional<quint32> askColour(quint32 initial) override;
    void setClipboardText(const QString& text) override;
    bool startProgram(const ProgramStart& start) override;
    bool openDocument(const QString& target) override;

    /// The lines of the messages shown so far, in order.
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
};

/// A message as one line: its line breaks become " / ", the caption goes before it.
QString messageLine(const MessageRequest& request);

} // namespace valdora::schedule
