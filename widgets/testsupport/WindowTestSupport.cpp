#include "widgets/testsupport/WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora::test {

void PrintTo(const Language& language, std::ostream* out)
{
    *out << language.name;
}

QString rowText(const Language& language, int englishRow)
{
    return MessageTable::valdora().row(language.base + englishRow - 300).value_or(QStringLiteral("<no row>"));
}

void saveScreenshot(QWidget& window, const QString& name)
{
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(VALDORA_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(VALDORA_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    ASSERT_TRUE(window.grab().save(path)) << path.toStdString();
}

void expectNothingClipped(const QWidget& window)
{
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty())
            continue;
        if (label->wordWrap())
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << label->objectName().toStdString() << " is cut off at the bottom";
        else
            EXPECT_LE(label->sizeHint().width(), label->width())
                << label->objectName().toStdString() << " is cut off at the side";
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window))
            continue;
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
        EXPECT_LE(button->sizeHint().height(), button->height()) << button->objectName().toStdString();
    }
}

QStringList tabOrder(QWidget& first, const QStringList& wanted)
{
    QStringList order;
    QWidget* widget = &first;
    do {
        if (wanted.contains(widget->objectName()) && !order.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != &first);
    return order;
}

void inNextModal(std::function<void(QWidget&)> action)
{
    inNextModal(QString(), std::move(action));
}

void inNextModal(const QString& objectName, std::function<void(QWidget&)> action)
{
    auto* poll = new QTimer(qApp); // deletes itself once it has acted
    QObject::connect(poll, &QTimer::timeout, [poll, action, objectName] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() ||
            (!objectName.isEmpty() && modal->objectName() != objectName))
            return;
        poll->stop();
        poll->deleteLater();
        action(*modal);
    });
    poll->start(10);
}

void click(QWidget& window, const QString& name)
{
    auto* widget = window.findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name.toStdString();
    QTest::mouseClick(widget, Qt::LeftButton);
}

} // namespace valdora::test
