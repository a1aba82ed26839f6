#pragma once

#include "Platform.h"

namespace valdora {

/// A platform for runs from the command line: every message box is written to standard error as one
/// line of text and answered with its default button; dialogs answer "cancelled"; programs start.
class ConsolePlatform final : public Platform {
public:
    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override;
    std::optional<QString> askSaveFile(const FileRequest& request) override;
    std::optional<quint32> askColour(quint32 initial) override;
    void setClipboardText(const QString& text) override;
    bool startProgram(const ProgramStart& start) override;
    bool openDocument(const QString& target) override;
};

/// Starts a program detached with its working folder; shared by the platforms that really start one.
bool startDetached(const ProgramStart& start);

} // namespace valdora
