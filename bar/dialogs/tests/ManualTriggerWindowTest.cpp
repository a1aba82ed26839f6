// The trigger-syntax window offscreen: its texts in the three languages, the copy that leaves
// exactly the box's text on the clipboard, and the modal show the bar's menu uses.
#include "widgets/testsupport/WindowTestSupport.h"

#include "bar/dialogs/ManualTriggerWindow.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "triggers/TriggerText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace valdora::bar::test {

using namespace valdora::test;
namespace {

QString syntaxFor(const QString& folder, const QString& buttonFile)
{
    return TriggerText::forButtonFile(folder, buttonFile);
}

QString text(const QWidget& window, const QString& name)
{
    if (const auto* label = window.findChild<QLabel*>(name))
        return label->text();
    if (const auto* box = window.findChild<QLineEdit*>(name))
        return box->text();
    if (const auto* button = window.findChild<QPushButton*>(name))
        return button->text();
    return QStringLiteral("<no %1>").arg(name);
}

void show(QDialog& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
}

TEST(ManualTriggerWindow, EnglishTextsAreTheSystemsOwn)
{
    ScriptedPlatform platform;
    const QString syntax = syntaxFor(QStringLiteral("/opt/Valdora"), QStringLiteral("~101.ini"));
    ManualTriggerWindow window(Messages(), platform, syntax);
    EXPECT_EQ(window.objectName(), QStringLiteral("frmManualTrigger"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Trigger Syntax"));
    EXPECT_EQ(
        text(window, QStringLiteral("Label1")),
        QStringLiteral("If you want to setup your trigger manually, copy the syntax below and paste it in "
                       "the appropriate field under the Triggers tab of ContactHost Define Fields window :"));
    EXPECT_EQ(text(window, QStringLiteral("Text1")), QStringLiteral("/opt/Valdora/ValdoraAuto.exe ~101"));
    EXPECT_EQ(text(window, QStringLiteral("Command1")), QStringLiteral("Copy syntax to clipboard"));
    EXPECT_EQ(
        text(window, QStringLiteral("Label2")),
        QStringLiteral("You will need to completely close Valdora to be able to access the Define field "
                       "area. If you leave Valdora open, even in the system tray, you will get a "
                       "\"Database locked\" message from ContactHost"));
    EXPECT_EQ(text(window, QStringLiteral("cmdClose")), QStringLiteral("&Close"));
    EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("Text1"))->isReadOnly());
    EXPECT_TRUE(platform.clipboardText().isEmpty());
}

struct CopyCase {
    const char* name;
    QString syntax;
};

void PrintTo(const CopyCase& row, std::ostream* out)
{
    *out << row.name;
}

class ManualTriggerCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(ManualTriggerCopy, LeavesExactlyTheBoxsTextOnTheClipboard)
{
    ScriptedPlatform platform;
    ManualTriggerWindow window(Messages(), platform, GetParam().syntax);
    show(window);
    EXPECT_EQ(text(window, QStringLiteral("Text1")), GetParam().syntax);
    click(window, QStringLiteral("Command1"));
    EXPECT_EQ(platform.clipboardText(), text(window, QStringLiteral("Text1")));
    EXPECT_EQ(platform.clipboardText(), GetParam().syntax);
    // A second copy replaces the first; the window stays open for it.
    click(window, QStringLiteral("Command1"));
    EXPECT_EQ(platform.clipboardText(), GetParam().syntax);
    EXPECT_TRUE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Syntaxes, ManualTriggerCopy,
    ::testing::Values(
        CopyCase{"PlainFolder", syntaxFor(QStringLiteral("/opt/Valdora"), QStringLiteral("~101.ini"))},
        CopyCase{
            "FolderWithBlanksAndAccents",
            syntaxFor(QStringLiteral("C:\\Program Files\\Zoë Müller\\Valdora"), QStringLiteral("~100.ini"))},
        CopyCase{"IniInsideTheFolderName",
                 syntaxFor(QStringLiteral("/srv/app.ini.d/Valdora"), QStringLiteral("~2000.ini"))},
        CopyCase{
            "LongerThanTheBox",
            syntaxFor(QStringLiteral("/home/someone/a/very/long/path/that/does/not/fit/in/the/box/at/all/"
                                     "Valdora/Program/Folder"),
                      QStringLiteral("~123.ini"))},
        CopyCase{"Empty", QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ManualTriggerWindow, CloseButtonAndCloseBoxCloseIt)
{
    ScriptedPlatform platform;
    for (const bool closeBox : {false, true}) {
        ManualTriggerWindow window(Messages(), platform, QStringLiteral("x"));
        show(window);
        if (closeBox)
            window.close();
        else
            click(window, QStringLiteral("cmdClose"));
        EXPECT_FALSE(window.isVisible()) << closeBox;
    }
    EXPECT_TRUE(platform.clipboardText().isEmpty());
}

TEST(ManualTriggerWindow, ShowIsModalAndCopiesFromItsBox)
{
    ScriptedPlatform platform;
    const QString syntax = syntaxFor(QStringLiteral("/opt/Valdora"), QStringLiteral("~105.ini"));
    bool modal = false;
    inNextModal([&](QWidget& window) {
        modal = window.isModal() && window.objectName() == QStringLiteral("frmManualTrigger");
        click(window, QStringLiteral("Command1"));
        click(window, QStringLiteral("cmdClose"));
    });
    ManualTriggerWindow::show(Messages(), platform, syntax);
    EXPECT_TRUE(modal);
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("/opt/Valdora/ValdoraAuto.exe ~105"));
}

TEST(ManualTriggerWindow, TabVisitsTheBoxThenCopyThenClose)
{
    ScriptedPlatform platform;
    ManualTriggerWindow window(Messages(), platform, QStringLiteral("x"));
    show(window);
    const QStringList wanted{QStringLiteral("Text1"), QStringLiteral("Command1"), QStringLiteral("cmdClose")};
    EXPECT_EQ(tabOrder(*window.findChild<QWidget*>(QStringLiteral("Text1")), wanted), wanted);
}

class ManualTriggerLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(ManualTriggerLanguage, CaptionsComeFromTheTableAndFit)
{
    const Language& language = GetParam();
    ScriptedPlatform platform;
    ManualTriggerWindow window(
        Messages(MessageTable::valdora(), language.base), platform,
        syntaxFor(QStringLiteral("C:\\Program Files\\Valdora"), QStringLiteral("~101.ini")));
    show(window);
    EXPECT_EQ(window.windowTitle(), rowText(language, 564));
    EXPECT_EQ(text(window, QStringLiteral("Label1")), rowText(language, 561));
    EXPECT_EQ(text(window, QStringLiteral("Command1")), rowText(language, 562));
    EXPECT_EQ(text(window, QStringLiteral("Label2")), rowText(language, 563));
    EXPECT_EQ(text(window, QStringLiteral("cmdClose")), rowText(language, 317));
    expectNothingClipped(window);
    const auto* box = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), box->width())
        << "a usual trigger command is seen whole";
    EXPECT_LE(window.width(), 640);
    EXPECT_LE(window.height(), 480);
    if (language.base != French.base)
        saveScreenshot(window, QStringLiteral("frmManualTrigger-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, ManualTriggerLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar::test
