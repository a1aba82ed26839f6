#pragma once

#include "core/Platform.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace valdora {

/// The platform seam on Qt: QMessageBox, QFileDialog, QColorDialog, QClipboard, QProcess and
/// QDesktopServices. Message boxes and dialogs open over the window they belong to: the open modal
/// dialog, else the given window while it is shown, else the active window; with none, centred on
/// the screen.
class QtPlatform final : public Platform {
public:
    explicit QtPlatform(QWidget* parentWindow = nullptr) : m_parent(parentWindow) {}
    void setParentWindow(QWidget* parentWindow) { m_parent = parentWindow; }
    /// The window a message box or dialog opened now belongs to; nullptr for none.
    QWidget* ownerWindow() const;
    /// Names the buttons of message boxes: the caption of the button that gives an answer, in the
    /// program's language at the time the box is shown; an empty caption keeps Qt's own.
    using ButtonCaptions = std::function<QString(MessageAnswer)>;
    void setButtonCaptions(ButtonCaptions captions) { m_buttonCaptions = std::move(captions); }

    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override;
    std::optional<QString> askSaveFile(const FileRequest& request) override;
    std::optional<quint32> askColour(quint32 initial) override;
    void setClipboardText(const QString& text) override;
    bool startProgram(const ProgramStart& start) override;
    bool openDocument(const QString& target) override;

private:
    QPointer<QWidget> m_parent;
    ButtonCaptions m_buttonCaptions;
};

/// A filter in the "Text (*.txt)|*.txt|All (*.*)|*.*" form as Qt's "Text (*.txt);;All (*.*)".
QString qtFileFilter(const QString& filter);
/// A colour number (0x00BBGGRR) as a colour, and back.
QColor colourFromNumber(quint32 number);
quint32 numberFromColour(const QColor& colour);

} // namespace valdora
