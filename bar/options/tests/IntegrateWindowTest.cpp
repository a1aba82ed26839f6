// The integration window offscreen against a running headless host: the boxes read from the host's
// placements, the command defined before its first placement, the restart question answered No and
// Yes, no host call when nothing is clicked, a refused command, and a screenshot in each language.
#include "bar/options/windows/IntegrateWindow.h"
#include "bar/BarFlags.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "host/app/AuxCommandStore.h"
#include "host/client/ClientFactories.h"
#include "host/tests/RunningHostFixture.h"
#include "settings/MessageId.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

using namespace valdora::test;

/// The host's auxiliary commands with every call counted by name.
class CountingAuxCommands final : public host::AuxCommands {
public:
    CountingAuxCommands(std::unique_ptr<host::AuxCommands> inner, QStringList& calls)
        : m_inner(std::move(inner)), m_calls(calls)
    {}

    int AuxCommandExists(const QString& name, Where where) override
    {
        m_calls << QStringLiteral("AuxCommandExists");
        return m_inner->AuxCommandExists(name, where);
    }
    int AddAuxCommand(const QString& name, const QString& a, const QString& b, const QString& c,
                      const QString& d, const QString& e, const QString& f, int flags, Where where) override
    {
        m_calls << QStringLiteral("AddAuxCommand");
        return m_inner->AddAuxCommand(name, a, b, c, d, e, f, flags, where);
    }
    int AuxCommandExistsInToolbar(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("AuxCommandExistsInToolbar");
        return m_inner->AuxCommandExistsInToolbar(view, name, where);
    }
    int AuxCommandExistsInToolsMenu(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("AuxCommandExistsInToolsMenu");
        return m_inner->AuxCommandExistsInToolsMenu(view, name, where);
    }
    int AddAuxCommandToToolbar(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("AddAuxCommandToToolbar %1").arg(view);
        return m_inner->AddAuxCommandToToolbar(view, name, where);
    }
    int RemoveAuxCommandFromToolbar(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("RemoveAuxCommandFromToolbar %1").arg(view);
        return m_inner->RemoveAuxCommandFromToolbar(view, name, where);
    }
    int AddAuxCommandToToolsMenu(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("AddAuxCommandToToolsMenu %1").arg(view);
        return m_inner->AddAuxCommandToToolsMenu(view, name, where);
    }
    int RemoveAuxCommandFromToolsMenu(int view, const QString& name, Where where) override
    {
        m_calls << QStringLiteral("RemoveAuxCommandFromToolsMenu %1").arg(view);
        return m_inner->RemoveAuxCommandFromToolsMenu(view, name, where);
    }

private:
    std::unique_ptr<host::AuxCommands> m_inner;
    QStringList& m_calls;
};

/// A host that refuses every definition and placement.
class RefusingAuxCommands final : public host::AuxCommands {
public:
    int AuxCommandExists(const QString&, Where) override { return 0; }
    int AddAuxCommand(const QString&, const QString&, const QString&, const QString&, const QString&,
                      const QString&, const QString&, int, Where) override
    {
        return 1;
    }
    int AuxCommandExistsInToolbar(int, const QString&, Where) override { return 0; }
    int AuxCommandExistsInToolsMenu(int, const QString&, Where) override { return 0; }
    int AddAuxCommandToToolbar(int, const QString&, Where) override { return 1; }
    int RemoveAuxCommandFromToolbar(int, const QString&, Where) override { return 1; }
    int AddAuxCommandToToolsMenu(int, const QString&, Where) override { return 1; }
    int RemoveAuxCommandFromToolsMenu(int, const QString&, Where) override { return 1; }
};

class IntegrateWindowTest : public valdora::test::RunningHostTest {
protected:
    void SetUp() override
    {
        RunningHostTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startHost());
    }

    AuxCommandsFactory counted()
    {
        return [this] { return std::make_unique<CountingAuxCommands>(host::createAuxCommands(), m_calls); };
    }
    QCheckBox* box(QWidget& window, int index)
    {
        auto* found = window.findChild<QCheckBox*>(QStringLiteral("chkScreen_%1").arg(index));
        EXPECT_NE(found, nullptr) << index;
        return found;
    }
    void click(QWidget& window, const QString& name) { valdora::test::click(window, name); }
    /// The calls other than the reading of the boxes.
    QStringList changingCalls() const
    {
        QStringList calls;
        for (const QString& call : m_calls)
            if (!call.startsWith(QStringLiteral("AuxCommandExistsIn")))
                calls << call;
        return calls;
    }

    ScriptedPlatform m_platform;
    ProgramSession m_session{m_platform, QStringLiteral("Valdora"),
                             m_dir.path() + QStringLiteral("/program")};
    QStringList m_calls;
};

TEST_F(IntegrateWindowTest, OpeningAndClosingWithoutAClickAsksNothingAndChangesNothing)
{
    for (const char* closer : {"cmdOK", "cmdCancel"}) {
        m_calls.clear();
        IntegrateWindow window(m_session, counted());
        window.show();
        click(window, QString::fromLatin1(closer));
        EXPECT_FALSE(window.isVisible()) << closer;
        EXPECT_TRUE(m_platform.messages().isEmpty()) << closer;
        EXPECT_EQ(changingCalls(), QStringList()) << closer;
        EXPECT_EQ(m_calls.size(), 12) << closer;
        EXPECT_FALSE(window.restartAsked());
    }
    EXPECT_EQ(host::createAuxCommands()->AuxCommandExists(QStringLiteral("Valdora")), 0);
}

TEST_F(IntegrateWindowTest, TheFirstBoxDefinesTheCommandThenPlacesItAndNoKeepsTheBarRunning)
{
    BarFlags flags;
    int restarts = 0;
    inNextModal([this](QWidget& window) {
        EXPECT_FALSE(box(window, 0)->isChecked());
        click(window, QStringLiteral("chkScreen_0"));
        // The label of the third view's Tools-menu box clicks that box.
        click(window, QStringLiteral("lblScreen_8"));
        EXPECT_TRUE(box(window, 8)->isChecked());
        m_platform.answerNextMessage(MessageAnswer::No);
        click(window, QStringLiteral("cmdOK"));
    });
    EXPECT_FALSE(IntegrateWindow::edit(m_session, counted(), flags, [&] { ++restarts; }));
    EXPECT_FALSE(flags.restartHost);
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(changingCalls(), QStringList({"AuxCommandExists", "AddAuxCommand", "AddAuxCommandToToolbar 1",
                                            "AuxCommandExists", "AddAuxCommandToToolsMenu 3"}));
    ASSERT_EQ(m_platform.messages().size(), 1);
    const MessageRequest& question = m_platform.messages().at(0);
    EXPECT_EQ(question.text,
              QStringLiteral("You need to re-start ContactHost for the changes to take effect!\n"
                             "Do you want to re-start it now?"));
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.title, QStringLiteral("Valdora"));

    // The command as the host keeps it, argument by argument.
    const std::optional<host::AuxCommand> defined =
        host::AuxCommandStore(host::AuxCommandStore::defaultFile()).find(QStringLiteral("Valdora"));
    ASSERT_TRUE(defined.has_value());
    const QString folder = m_session.programFolder();
    EXPECT_EQ(defined->texts,
              QStringList({folder + QStringLiteral("/Valdora.exe"), folder, QStringLiteral("Valdora"),
                           QStringLiteral("Click to launch Valdora"), folder + QStringLiteral("/Valdora.ico"),
                           folder + QStringLiteral("/Valdora32.ico")}));
    EXPECT_EQ(defined->flags, 1);

    // Read back through the host when the window opens again; unchecking removes.
    IntegrateWindow again(m_session, counted());
    again.show();
    for (int index = 0; index < 12; ++index)
        EXPECT_EQ(box(again, index)->isChecked(), index == 0 || index == 8) << index;
    m_calls.clear();
    click(again, QStringLiteral("chkScreen_0"));
    EXPECT_EQ(changingCalls(), QStringList({"AuxCommandExists", "RemoveAuxCommandFromToolbar 1"}));
    EXPECT_EQ(host::createAuxCommands()->AuxCommandExistsInToolbar(1, QStringLiteral("Valdora")), 0);
    EXPECT_EQ(host::createAuxCommands()->AuxCommandExistsInToolsMenu(3, QStringLiteral("Valdora")), 1);
}

TEST_F(IntegrateWindowTest, YesSetsTheRestartFlagAndRestartsOnceTheWindowHasClosed)
{
    BarFlags flags;
    int restarts = 0;
    bool windowOpenAtRestart = true;
    inNextModal([this](QWidget& window) {
        click(window, QStringLiteral("chkScreen_7"));
        m_platform.answerNextMessage(MessageAnswer::Yes);
        click(window, QStringLiteral("cmdOK"));
    });
    EXPECT_TRUE(IntegrateWindow::edit(m_session, counted(), flags, [&] {
        ++restarts;
        EXPECT_TRUE(flags.restartHost);
        windowOpenAtRestart = QApplication::activeModalWidget() != nullptr;
    }));
    EXPECT_TRUE(flags.restartHost);
    EXPECT_EQ(restarts, 1);
    EXPECT_FALSE(windowOpenAtRestart);
    EXPECT_EQ(host::createAuxCommands()->AuxCommandExistsInToolsMenu(2, QStringLiteral("Valdora")), 1);
}

TEST_F(IntegrateWindowTest, ARefusedCommandIsToldAtOnceAndAgainOnCloseWithoutTheRestartQuestion)
{
    BarFlags flags;
    inNextModal([this](QWidget& window) {
        click(window, QStringLiteral("chkScreen_0"));
        EXPECT_EQ(m_platform.messages().size(), 1);
        // The box keeps the state the user gave it.
        EXPECT_TRUE(box(window, 0)->isChecked());
        click(window, QStringLiteral("cmdOK"));
    });
    EXPECT_FALSE(IntegrateWindow::edit(
        m_session, [] { return std::make_unique<RefusingAuxCommands>(); }, flags, [] {}));
    const QString failed =
        QStringLiteral("Operation failed. You will have to add/remove the command manually.");
    EXPECT_EQ(m_platform.messageTexts(), QStringList({failed, failed}));
    EXPECT_FALSE(flags.restartHost);
}

class IntegrateWindowLanguages : public IntegrateWindowTest,
                                 public ::testing::WithParamInterface<Language> {};

TEST_P(IntegrateWindowLanguages, ShowsItsRowsUnclipped)
{
    const Language language = GetParam();
    m_session.messages().setLanguageBase(language.base);
    IntegrateWindow window(m_session, counted());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    EXPECT_EQ(window.objectName(), QStringLiteral("frmIntegrate"));
    EXPECT_EQ(window.windowTitle(), rowText(language, 313));
    EXPECT_EQ(window.findChild<QGroupBox*>(QStringLiteral("Frame1_0"))->title(),
              rowText(language, 377) + " :");
    EXPECT_EQ(window.findChild<QGroupBox*>(QStringLiteral("Frame1_1"))->title(),
              rowText(language, 386) + " :");
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label2"))->text(), rowText(language, 320));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), rowText(language, 317));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), rowText(language, 302));
    for (int index = 0; index < 12; ++index)
        EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblScreen_%1").arg(index))->text(),
                  rowText(language, 378 + index % 6))
            << index;
    QStringList order;
    for (int index = 0; index < 12; ++index)
        order << QStringLiteral("chkScreen_%1").arg(index);
    order << QStringLiteral("cmdOK") << QStringLiteral("cmdCancel");
    EXPECT_EQ(valdora::test::tabOrder(*box(window, 0), order), order);
    expectNothingClipped(window);
    saveScreenshot(window, QStringLiteral("frmIntegrate-") + QString::fromLatin1(language.name));
}

INSTANTIATE_TEST_SUITE_P(Languages, IntegrateWindowLanguages,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar
