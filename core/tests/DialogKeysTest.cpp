// Return presses OK and Escape presses Cancel, in dialogs and in plain windows alike.
#include "core/qt/DialogKeys.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace valdora {
namespace {

struct KeyCase {
    const char* name;
    bool dialog;
    Qt::Key key;
    bool okEnabled;
    /// What the key presses: "ok", "cancel" or "nothing".
    const char* pressed;
};

class DialogKeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DialogKeysTest, TheKeyPressesItsButton)
{
    const KeyCase& row = GetParam();
    std::unique_ptr<QWidget> window = row.dialog ? std::make_unique<QDialog>() : std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    auto* text = new QLineEdit;
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    layout->addWidget(text);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    ok->setEnabled(row.okEnabled);
    int oks = 0;
    int cancels = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++oks; });
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancels; });
    acceptOnReturnCancelOnEscape(*window, *ok, *cancel);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << "the window did not become active";
    text->setFocus();
    QTest::keyClick(text, row.key);
    const QString pressed = QString::fromLatin1(row.pressed);
    EXPECT_EQ(oks, pressed == QStringLiteral("ok") ? 1 : 0);
    EXPECT_EQ(cancels, pressed == QStringLiteral("cancel") ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, DialogKeysTest,
                         ::testing::Values(KeyCase{"WindowReturn", false, Qt::Key_Return, true, "ok"},
                                           KeyCase{"WindowEnter", false, Qt::Key_Enter, true, "ok"},
                                           KeyCase{"WindowEscape", false, Qt::Key_Escape, true, "cancel"},
                                           KeyCase{"WindowReturnWithOkOff", false, Qt::Key_Return, false,
                                                   "nothing"},
                                           KeyCase{"DialogReturn", true, Qt::Key_Return, true, "ok"},
                                           KeyCase{"DialogEscape", true, Qt::Key_Escape, true, "cancel"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora
