#include "QtPlatform.h"

#include "core/ConsolePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <array>
#include <utility>

namespace valdora {

namespace {

QList<QMessageBox::StandardButton> standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return {QMessageBox::Ok};
    case MessageButtons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MessageButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MessageButtons::RetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    case MessageButtons::AbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    }
    return {QMessageBox::Ok};
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

constexpr std::array Answers{
    std::pair{QMessageBox::Ok, MessageAnswer::Ok},
    std::pair{QMessageBox::Cancel, MessageAnswer::Cancel},
    std::pair{QMessageBox::Yes, MessageAnswer::Yes},
    std::pair{QMessageBox::No, MessageAnswer::No},
    std::pair{QMessageBox::Retry, MessageAnswer::Retry},
    std::pair{QMessageBox::Abort, MessageAnswer::Abort},
    std::pair{QMessageBox::Ignore, MessageAnswer::Ignore},
};

std::optional<MessageAnswer> answerOf(QMessageBox::StandardButton button)
{
    for (const auto& [standard, answer] : Answers) {
        if (standard == button)
            return answer;
    }
    return std::nullopt;
}

/// Message texts break lines with CR or CR LF; a plain-text label breaks them with LF.
QString withLineFeeds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString startPath(const FileRequest& request)
{
    if (request.folder.isEmpty())
        return request.fileName;
    if (request.fileName.isEmpty())
        return request.folder;
    return QDir(request.folder).filePath(request.fileName);
}

std::optional<QString> chosen(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

} // namespace

QWidget* QtPlatform::ownerWindow() const
{
    // A question asked from an open dialog (the editor, the scope question) belongs to that dialog;
    // one asked while the program's window is hidden (the bar in the notification area) is centred
    // on the screen rather than over a place where nothing is shown.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (m_parent && m_parent->isVisible())
        return m_parent->window();
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return nullptr;
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Qt reads the patterns from the last parentheses, so they are rebuilt from the pattern part.
        if (description.endsWith(u')')) {
            const qsizetype open = description.lastIndexOf(u'(');
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    if (filters.isEmpty() && !filter.trimmed().isEmpty())
        filters << filter.trimmed();
    return filters.join(QStringLiteral(";;"));
}

QColor colourFromNumber(quint32 number)
{
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

quint32 numberFromColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<quint32>(rgb.red()) | (static_cast<quint32>(rgb.green()) << 8) |
           (static_cast<quint32>(rgb.blue()) << 16);
}

MessageAnswer QtPlatform::showMessage(const MessageRequest& request)
{
    QMessageBox box(qtIcon(request.icon), request.title, withLineFeeds(request.text), QMessageBox::NoButton,
                    ownerWindow());
    // Plain text: an ampersand or an angle bracket in a message shows as it is.
    box.setTextFormat(Qt::PlainText);
    const QList<QMessageBox::StandardButton> buttons = standardButtons(request.buttons);
    for (const auto button : buttons) {
        QPushButton* added = box.addButton(button);
        // Qt names its buttons in English unless its own translations are loaded; the program names
        // them in the language the user chose for it.
        if (m_buttonCaptions) {
            if (const QString caption = m_buttonCaptions(*answerOf(button)); !caption.isEmpty())
                added->setText(caption);
        }
    }
    const qsizetype defaultIndex =
        request.defaultButton >= 0 && request.defaultButton < buttons.size() ? request.defaultButton : 0;
    box.setDefaultButton(buttons[defaultIndex]);
    if (buttons.contains(QMessageBox::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons.size() == 1)
        box.setEscapeButton(buttons.front());
    box.exec();
    const auto answer = answerOf(box.standardButton(box.clickedButton()));
    if (answer)
        return *answer;
    // Closed without a button: the escape button's answer, else the default one's.
    return buttons.contains(QMessageBox::Cancel)
               ? MessageAnswer::Cancel
               : answerOf(buttons[defaultIndex]).value_or(MessageAnswer::Ok);
}

std::optional<QString> QtPlatform::askOpenFile(const FileRequest& request)
{
    return chosen(QFileDialog::getOpenFileName(ownerWindow(), request.title, startPath(request),
                                               qtFileFilter(request.filter)));
}

std::optional<QString> QtPlatform::askSaveFile(const FileRequest& request)
{
    return chosen(QFileDialog::getSaveFileName(ownerWindow(), request.title, startPath(request),
                                               qtFileFilter(request.filter)));
}

std::optional<quint32> QtPlatform::askColour(quint32 initial)
{
    const QColor colour = QColorDialog::getColor(colourFromNumber(initial), ownerWindow());
    if (!colour.isValid())
        return std::nullopt;
    return numberFromColour(colour);
}

void QtPlatform::setClipboardText(const QString& text)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

bool QtPlatform::startProgram(const ProgramStart& start)
{
    return startDetached(start);
}

bool QtPlatform::openDocument(const QString& target)
{
    const QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
    if (!url.isValid())
        return false;
    // The desktop may accept a missing file and fail later; report it at once, as the shell does.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

} // namespace valdora
