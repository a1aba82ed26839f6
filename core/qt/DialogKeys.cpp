#include "DialogKeys.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace valdora {

namespace {

void pressWhenOffered(QAbstractButton& button)
{
    if (button.isEnabled() && button.isVisible())
        button.click();
}

} // namespace

void acceptOnReturnCancelOnEscape(QWidget& window, QPushButton& ok, QAbstractButton& cancel)
{
    ok.setDefault(true);
    // Escape goes through the Cancel button, so that it does what Cancel does (a dialog's own
    // Escape would reject it without the button's checks).
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &cancel, [&cancel] { pressWhenOffered(cancel); });
    // A dialog presses its default button on Return by itself; a plain window is taught to.
    if (qobject_cast<QDialog*>(&window) != nullptr)
        return;
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* accept = new QShortcut(QKeySequence(key), &window);
        accept->setContext(Qt::WindowShortcut);
        QObject::connect(accept, &QShortcut::activated, &ok, [&ok] { pressWhenOffered(ok); });
    }
}

} // namespace valdora
