#pragma once

#include "core/Platform.h"

#include <QColor>

class QWidget;

namespace valdora {

/// The platform seam on Qt: QMessageBox, QFileDialog, QColorDialog, QClipboard, QProcess and
/// QDesktopServices. Dialogs are parented to the given window when there is one.
class QtPlatform final : public Platform {
public:
    explicit QtPlatform(QWidget* parentWindow = nullptr) : m_parent(parentWindow) {}
    void setParentWindow(QWidget* parentWindow) { m_parent = parentWindow; }

    MessageAnswer showMessage(const MessageRequest& request) override;
    std::optional<QString> askOpenFile(const FileRequest& request) override;
    std::optional<QString> askSaveFile(const FileRequest& request) override;
    std::optional<quint32> askColour(quint32 initial) override;
    void setClipboardText(const QString& text) override;
    bool startProgram(const ProgramStart& start) override;
    bool openDocument(const QString& target) override;

private:
    QWidget* m_parent;
};

/// A filter in the "Text (*.txt)|*.txt|All (*.*)|*.*" form as Qt's "Text (*.txt);;All (*.*)".
QString qtFileFilter(const QString& filter);
/// A colour number (0x00BBGGRR) as a colour, and back.
QColor colourFromNumber(quint32 number);
quint32 numberFromColour(const QColor& colour);

} // namespace valdora
