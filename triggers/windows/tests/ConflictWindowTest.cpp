// The conflict window offscreen: its texts in the three languages and the choice each way of
// closing it gives.
#include "triggers/windows/ConflictWindow.h"

#include "widgets/testsupport/WindowTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::triggers::test {
namespace {

using valdora::test::Language;

QString textOf(const QWidget& window, const char* name)
{
    if (const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    if (const auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name)))
        return button->text();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

class ConflictWindowTexts : public ::testing::TestWithParam<Language> {};

TEST_P(ConflictWindowTexts, ComeFromTheLanguagesRows)
{
    const Language& language = GetParam();
    const Messages messages(MessageTable::keelbrook(), language.base);
    ConflictWindow window(messages);
    EXPECT_EQ(window.objectName(), u"frmConflict");
    EXPECT_EQ(window.windowTitle(), valdora::test::rowText(language, 546));
    EXPECT_EQ(textOf(window, "Label1"), valdora::test::rowText(language, 528));
    EXPECT_EQ(textOf(window, "cmdAdd"), valdora::test::rowText(language, 529));
    EXPECT_EQ(textOf(window, "cmdOverwrite"), valdora::test::rowText(language, 530));
    EXPECT_EQ(textOf(window, "cmdCancel"), valdora::test::rowText(language, 302));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    valdora::test::expectNothingClipped(window);
    EXPECT_EQ(
        valdora::test::tabOrder(
            *window.findChild<QWidget*>(QStringLiteral("cmdAdd")),
            {QStringLiteral("cmdAdd"), QStringLiteral("cmdOverwrite"), QStringLiteral("cmdCancel")}),
        (QStringList{QStringLiteral("cmdAdd"), QStringLiteral("cmdOverwrite"), QStringLiteral("cmdCancel")}));
    valdora::test::saveScreenshot(window,
                                  QStringLiteral("frmConflict_") + QString::fromLatin1(language.name));
}

INSTANTIATE_TEST_SUITE_P(Triggers, ConflictWindowTexts,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return info.param.name; });

struct ChoiceRow {
    const char* name;
    const char* button; // "" for the close box
    CheckResult result;
};

class ConflictWindowChoice : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(ConflictWindowChoice, EachWayOfClosingGivesItsResult)
{
    const Messages messages(MessageTable::keelbrook(), 300);
    const QString button = QString::fromLatin1(GetParam().button);
    qint16 seen = -1;
    valdora::test::inNextModal([&](QWidget& modal) {
        auto& window = dynamic_cast<ConflictWindow&>(modal);
        if (button.isEmpty()) {
            // An earlier choice must not survive a close box.
            window.intConflictResult = 2;
            window.close();
        } else {
            valdora::test::click(window, button);
        }
        seen = window.intConflictResult;
    });
    EXPECT_EQ(ConflictWindow::choose(messages, nullptr), GetParam().result);
    EXPECT_EQ(seen, static_cast<qint16>(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(Triggers, ConflictWindowChoice,
                         ::testing::Values(ChoiceRow{"AddToQueue", "cmdAdd", CheckResult::Queue},
                                           ChoiceRow{"Overwrite", "cmdOverwrite", CheckResult::Write},
                                           ChoiceRow{"Cancel", "cmdCancel", CheckResult::Nothing},
                                           ChoiceRow{"CloseBox", "", CheckResult::Nothing}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace valdora::triggers::test
