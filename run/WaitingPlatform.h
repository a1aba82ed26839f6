#pragma once

#include "ProgressWriter.h"

#include "core/Platform.h"

namespace valdora::run {

/// The desktop of a program whose runs show a progress window: while one of its message boxes is
/// open, "Progress"/"Waiting" reads "1", so that the progress window says the run waits for the
/// user's answer instead of standing on its last count. Everything else goes to the desktop as is.
class WaitingPlatform final : public Platform {
public:
    WaitingPlatform(Platform& desktop, UserSettings settings)
        : m_desktop(desktop), m_progress(std::move(settings))
    {}

    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override
    {
        return m_desktop.askOpenFile(request);
    }
    std::optional<QString> askSaveFile(const FileRequest& request) override
    {
        return m_desktop.askSaveFile(request);
    }
    std::optional<quint32> askColour(quint32 initial) override { return m_desktop.askColour(initial); }
    void setClipboardText(const QString& text) override { m_desktop.setClipboardText(text); }
    bool startProgram(const ProgramStart& start) override { return m_desktop.startProgram(start); }
    bool openDocument(const QString& target) override { return m_desktop.openDocument(target); }

private:
    Platform& m_desktop;
    ProgressWriter m_progress;
    /// Message boxes open now (one may open another, through a failure report).
    int m_open = 0;
};

} // namespace valdora::run
