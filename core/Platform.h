#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

/// One message box: what it says, how it is captioned, which buttons and icon it has, and which of its
/// buttons (0 = first) is the default.
struct MessageRequest {
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    int defaultButton = 0;
};

/// A file dialog: title, filter in the "Text (*.ext)|*.ext" form, starting folder and preset name.
struct FileRequest {
    QString title;
    QString filter;
    QString folder;
    QString fileName;
};

/// A program start: the program file, its arguments and its working folder.
struct ProgramStart {
    QString program;
    QStringList arguments;
    QString workingFolder;
};

/// Everything the logic asks of the desktop: message boxes, file and colour dialogs, the clipboard,
/// starting programs and opening documents. Logic never calls Qt's widgets directly, so every routine
/// runs headless in tests (ScriptedPlatform) and on the command line (ConsolePlatform).
class Platform {
public:
    virtual ~Platform() = default;

    /// Shows a modal message box and returns the button the user chose.
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    /// Asks for a file to open; nullopt when the user cancels.
    virtual std::optional<QString> askOpenFile(const FileRequest& request) = 0;
    /// Asks for a file to save to; nullopt when the user cancels.
    virtual std::optional<QString> askSaveFile(const FileRequest& request) = 0;
    /// Asks for a colour, given and returned as a colour number (0x00BBGGRR); nullopt on cancel.
    virtual std::optional<quint32> askColour(quint32 initial) = 0;
    /// Puts text on the clipboard.
    virtual void setClipboardText(const QString& text) = 0;
    /// Starts a program without waiting for it; false when it could not be started.
    virtual bool startProgram(const ProgramStart& start) = 0;
    /// Opens a document or web address with its default program; false on failure.
    virtual bool openDocument(const QString& target) = 0;
};

/// The answer a message box gives when its default button is taken: what a platform without a user
/// to ask answers.
MessageAnswer defaultAnswer(const MessageRequest& request);

} // namespace valdora
