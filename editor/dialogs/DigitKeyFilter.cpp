#include "DigitKeyFilter.h"

#include "widgets/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace valdora::editor {

namespace {

const QString Digits = QStringLiteral("0123456789");

} // namespace

DigitKeyFilter::DigitKeyFilter(QLineEdit& box) : QObject(&box)
{
    // Keys are filtered below; the validator refuses what arrives without a key (paste, drop).
    box.setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), &box));
    box.installEventFilter(this);
}

void DigitKeyFilter::install(QLineEdit& box)
{
    new DigitKeyFilter(box);
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Only a key that types a character is filtered; editing keys and shortcuts go on.
    if (text.size() != 1 || !text.at(0).isPrint() ||
        (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    return widgets::ValidateText(text.at(0).unicode(), Digits, true, [] { QApplication::beep(); }) == 0;
}

} // namespace valdora::editor
