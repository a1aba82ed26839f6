// The real bar, offscreen, against a running headless host: its slotCount and size, a run from a click,
// the hand-over to ValdoraAuto, the button menu, deletion, the ways it closes, the second start and
// the first run's language.
#include "BarOnHostTest.h"
#include "BarScriptedScreens.h"
#include "RunningHostFactories.h"

#include "bar/BarLayout.h"
#include "bar/JournalActions.h"
#include "bar/windows/BarMain.h"
#include "bar/windows/MainBar.h"

#include "core/UserSockets.h"
#include "core/icons/ProgramIcons.h"
#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/tests/HostProcess.h"
#include "run/pb/ProgressArguments.h"
#include "run/pb/ProgressWindow.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "settings/MessageId.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLockFile>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace valdora::bar {
namespace {

const QString Amount = QStringLiteral("Amount");

class MainBarTest : public test::BarOnHostTest {
protected:
    void SetUp() override
    {
        BarOnHostTest::SetUp();
        m_screens = std::make_unique<test::ScriptedScreens>(store());
    }
    void TearDown() override
    {
        // The bar stores its position as it goes: it goes while the test's settings folder is
        // still there, or it would make that folder again after the fixture removed it.
        m_ended.reset();
        m_bar.reset();
        BarOnHostTest::TearDown();
    }

    BarHostFactories factories() const { return test::runningHostFactories(); }

    /// The bar, loaded; `trayAvailable` says whether the desktop has a notification area.
    MainBar& loadBar(bool trayAvailable = false)
    {
        auto icon = std::make_unique<test::ScriptedIcon>(trayAvailable);
        m_icon = icon.get();
        m_bar = std::make_unique<MainBar>(BarParts{*m_session, *m_screens, m_chooser ? *m_chooser : m_scopes,
                                                   factories(), std::move(icon)});
        m_ended = std::make_unique<QSignalSpy>(m_bar.get(), &MainBar::programEnded);
        EXPECT_TRUE(m_bar->Form_Load()) << m_platform.messageTexts().join(" | ").toStdString();
        return *m_bar;
    }

    QPushButton* fill(int slot) const
    {
        return m_bar->findChild<QPushButton*>(QStringLiteral("cmdButton_%1").arg(slot));
    }

    QAction* action(const char* name) const { return m_bar->findChild<QAction*>(QLatin1String(name)); }

    bool waitForEnd()
    {
        return QTest::qWaitFor([this] { return m_ended->count() > 0; }, 10000);
    }

    std::unique_ptr<test::ScriptedScreens> m_screens;
    run::FixedScopeChooser m_scopes{run::Scope::AllContacts};
    /// Another way of answering the scope question, when a test sets one.
    run::ScopeChooser* m_chooser = nullptr;
    test::ScriptedIcon* m_icon = nullptr;
    std::unique_ptr<MainBar> m_bar;
    std::unique_ptr<QSignalSpy> m_ended;
};

TEST_F(MainBarTest, SlotsAndSizeFollowTheButtonsOfTheOpenDatabase)
{
    for (const int buttons : {0, 20, 125}) {
        SCOPED_TRACE(buttons);
        QDir(m_session->buttonFolder()).removeRecursively();
        QDir().mkpath(m_session->buttonFolder());
        for (int i = 0; i < buttons; ++i)
            writeButton(QStringLiteral("~%1.ini").arg(100 + i), {{"Name", QStringLiteral("B%1").arg(i)}});
        writeButton(QStringLiteral("~900.ini"), {{"Name", "Elsewhere"}, {"_DB", "Other.dbf"}});
        MainBar& bar = loadBar();
        const int slotCount = buttons + 1;
        EXPECT_EQ(bar.slotsShown(), slotCount);
        EXPECT_EQ(bar.lastButtonFile(), QStringLiteral("~900.ini"));
        for (int slot = 0; slot < std::max(slotCount, BarLayout::DesignedSlots); ++slot) {
            QPushButton* button = fill(slot);
            ASSERT_NE(button, nullptr) << slot;
            EXPECT_EQ(button->isHidden(), slot >= slotCount) << slot;
        }
        EXPECT_EQ(fill(buttons)->text(), QStringLiteral("New"));
        if (buttons > 0) {
            EXPECT_EQ(fill(buttons - 1)->text(), QStringLiteral("B%1").arg(buttons - 1));
        }
        const double dpi = bar.logicalDpiY();
        const QSize client = BarLayout::clientSize(slotCount);
        EXPECT_EQ(bar.width(), BarLayout::toPixels(client.width(), dpi));
        EXPECT_GE(bar.height(), BarLayout::toPixels(client.height(), dpi));
        EXPECT_TRUE(bar.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(bar.windowTitle(), QStringLiteral("Valdora"));
        m_bar.reset();
    }
}

TEST_F(MainBarTest, BeyondTheDesignedSlotsEveryButtonStaysReachable)
{
    for (int i = 0; i < 230; ++i)
        writeButton(QStringLiteral("~%1.ini").arg(1000 + i), {{"Name", QStringLiteral("B%1").arg(i)}});
    MainBar& bar = loadBar();
    ASSERT_NE(fill(230), nullptr);
    EXPECT_EQ(fill(229)->text(), QStringLiteral("B229"));
    EXPECT_EQ(fill(230)->text(), QStringLiteral("New"));
    auto* scroll = bar.findChild<QScrollArea*>(QStringLiteral("barSlots"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_GE(scroll->widget()->width(), fill(230)->geometry().right());
}

TEST_F(MainBarTest, ALongCaptionIsDrawnSmallerRatherThanCut)
{
    writeButton(QStringLiteral("~100.ini"), {{"Name", "Cntry+Curr"}, {"FontBold", "-1"}});
    writeButton(QStringLiteral("~101.ini"), {{"Name", "Age"}});
    loadBar();
    const QFont normal = QApplication::font(fill(1));
    EXPECT_EQ(fill(1)->font().pointSizeF(), normal.pointSizeF());
    const QFont shrunk = fill(0)->font();
    EXPECT_TRUE(shrunk.bold());
    EXPECT_LE(shrunk.pointSizeF(), normal.pointSizeF());
    EXPECT_LE(QFontMetrics(shrunk).horizontalAdvance(fill(0)->text()), fill(0)->width());
}

TEST_F(MainBarTest, AClickRunsTheButtonOverTheChosenScope)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    loadBar();
    QTest::mouseClick(fill(0), Qt::LeftButton);
    EXPECT_FALSE(fill(0)->isChecked());
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
}

/// The scope question as a user answers it who looks at the preview first: "Preview..." over all
/// contacts, then whatever the preview ends with (a run from it, or Cancel after closing it).
class PreviewingScopes final : public run::ScopeChooser {
public:
    std::optional<run::Scope> chooseScope(bool) override
    {
        ++asked;
        if (m_offer && m_offer(run::Scope::AllContacts))
            return run::Scope::AllContacts;
        return std::nullopt;
    }
    void offerPreview(PreviewOffer offer) override { m_offer = std::move(offer); }
    bool holdsOffer() const { return static_cast<bool>(m_offer); }
    int asked = 0;

private:
    PreviewOffer m_offer;
};

TEST_F(MainBarTest, TheScopeQuestionOffersAPreviewOfTheButtonItRuns)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    PreviewingScopes scopes;
    m_chooser = &scopes;
    loadBar();
    const QStringList before = column(Amount);

    // Closed after the preview: nothing is written.
    QTest::mouseClick(fill(0), Qt::LeftButton);
    ASSERT_EQ(m_screens->previews.size(), 1);
    EXPECT_EQ(m_screens->previews[0].first, QStringLiteral("~100.ini"));
    EXPECT_EQ(m_screens->previews[0].second, run::Scope::AllContacts);
    EXPECT_EQ(column(Amount), before);
    EXPECT_FALSE(scopes.holdsOffer()) << "no other question offers this button's preview";

    // Run from the preview.
    m_screens->runFromPreview = true;
    QTest::mouseClick(fill(0), Qt::LeftButton);
    EXPECT_EQ(scopes.asked, 2);
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
}

TEST_F(MainBarTest, UndoLastRunPutsBackWhatTheRunWroteAndIsNotOfferedAgain)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    EXPECT_TRUE(bar.trayMenu()->actions().contains(action("mnuUndo")));
    EXPECT_TRUE(bar.trayMenu()->actions().contains(action("mnuRetry")));
    EXPECT_EQ(action("mnuUndo")->text(), QStringLiteral("&Undo a run..."));
    const QStringList before = column(Amount);
    QTest::mouseClick(fill(0), Qt::LeftButton);
    ASSERT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));

    // Declined: nothing goes back.
    m_platform.clearRecord();
    m_platform.answerNextMessage(MessageAnswer::No);
    action("mnuUndo")->trigger();
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));

    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    action("mnuUndo")->trigger();
    EXPECT_EQ(column(Amount), before);
    const QStringList texts = m_platform.messageTexts();
    ASSERT_EQ(texts.size(), 3) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Undo run 1 of \"Times\" ("))) << texts[1].toStdString();
    EXPECT_TRUE(texts[1].contains(QStringLiteral("fields of 5 contacts"))) << texts[1].toStdString();
    // The first changes are listed by the contact's name, not its id.
    EXPECT_TRUE(texts[1].contains(QStringLiteral("Amount: \"12.00\" back to"))) << texts[1].toStdString();
    EXPECT_FALSE(texts[1].contains(firstContactId())) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].startsWith(QStringLiteral("Undo of run 1: 5 contacts written back")))
        << texts[2].toStdString();

    // The undo is recorded against the run and not offered itself: nothing is left to undo.
    m_platform.clearRecord();
    action("mnuUndo")->trigger();
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("The run journal holds nothing to undo.")});
    EXPECT_EQ(column(Amount), before);
}

/// Remembers what each scope question started with, and answers all contacts.
class PreselectedScopes final : public run::ScopeChooser {
public:
    std::optional<run::Scope> chooseScope(bool) override
    {
        startedWith << m_preselected;
        return run::Scope::AllContacts;
    }
    void preselect(std::optional<run::Scope> scope) override { m_preselected = scope; }
    QList<std::optional<run::Scope>> startedWith;

private:
    std::optional<run::Scope> m_preselected;
};

TEST_F(MainBarTest, TheScopeQuestionStartsWithTheButtonsLastScope)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("Again"));
    PreselectedScopes scopes;
    m_chooser = &scopes;
    loadBar();
    QTest::mouseClick(fill(0), Qt::LeftButton);
    QTest::mouseClick(fill(0), Qt::LeftButton);
    QTest::mouseClick(fill(1), Qt::LeftButton);
    EXPECT_EQ(scopes.startedWith,
              (QList<std::optional<run::Scope>>{std::nullopt, run::Scope::AllContacts, std::nullopt}))
        << "each button starts with its own last scope, none before its first run";
}

/// An undo, and whether it outlasts the delay after which its progress window starts.
struct UndoWindowCase {
    const char* name;
    /// How long the undo goes before its window starts: an hour stands for an undo over before the
    /// delay, zero for one that outlasts it.
    std::chrono::milliseconds windowDelay;
    bool windowStarts;
};

class UndoWindowTest : public MainBarTest, public ::testing::WithParamInterface<UndoWindowCase> {};

TEST_P(UndoWindowTest, TheProgressWindowStartsOnlyForAnUndoThatOutlastsItsDelay)
{
    const UndoWindowCase& row = GetParam();
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    const QStringList before = column(Amount);
    QTest::mouseClick(fill(0), Qt::LeftButton);
    ASSERT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));

    // The window pb.exe shows, here in this process: it reads the values as the undo writes them (the
    // run's last stage, still stored, is ignored as the window ignores it after its start).
    run::ProgressWindow window(store());
    window.show();
    QStringList written;
    QStringList shown;
    JournalActions actions(*m_session, bar.connection().host.runHost());
    actions.setProgressWindowDelay(row.windowDelay);
    actions.setProgressObserver([&](const QString& key, const QString& value) {
        written << key + u'=' + value;
        window.poll();
        shown << (window.isVisible() ? window.text() : QStringLiteral("(closed)"));
    });
    m_platform.clearRecord();
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    actions.undoRun(1);

    EXPECT_EQ(column(Amount), before);
    // Started over a cleared summary; then counting, the total, the first contact, and the end.
    ASSERT_GE(written.size(), 6) << written.join(" | ").toStdString();
    EXPECT_EQ(written.mid(0, 5), (QStringList{"Summary=", "Status=On", "Stage=-1", "Total=5", "Stage=1"}));
    EXPECT_EQ(written.constLast(), QStringLiteral("Stage=0"));
    if (row.windowStarts) {
        ASSERT_EQ(m_platform.startedPrograms().size(), 1);
        const ProgramStart& started = m_platform.startedPrograms().constFirst();
        EXPECT_TRUE(started.program.endsWith(QStringLiteral("/pb.exe"))) << started.program.toStdString();
        EXPECT_EQ(started.arguments, run::progressWindowArguments(QCoreApplication::applicationPid(), 300));
        EXPECT_TRUE(shown.at(4).startsWith(QStringLiteral("1 of 5"))) << shown.join(" | ").toStdString();
        EXPECT_EQ(shown.constLast(), QStringLiteral("(closed)")) << "the window closes at the undo's end";
        EXPECT_FALSE(window.isVisible());
    } else {
        EXPECT_TRUE(m_platform.startedPrograms().isEmpty())
            << "a window started after the undo would say \"Starting...\" beside its report";
    }
    // The report comes after the window has closed.
    const QStringList texts = m_platform.messageTexts();
    ASSERT_EQ(texts.size(), 2) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Undo of run 1: 5 contacts written back")));
}

INSTANTIATE_TEST_SUITE_P(
    Undos, UndoWindowTest,
    ::testing::Values(UndoWindowCase{"AFastUndoShowsNoWindow", std::chrono::hours(1), false},
                      UndoWindowCase{"ASlowUndoShowsItWithItsCounts", std::chrono::milliseconds(0), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainBarTest, ClosingTheUndosProgressWindowLeavesTheUndoGoingAsARunDoes)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    const QStringList before = column(Amount);
    QTest::mouseClick(fill(0), Qt::LeftButton);
    ASSERT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));

    run::ProgressWindow window(store());
    window.show();
    QStringList written;
    JournalActions actions(*m_session, bar.connection().host.runHost());
    actions.setProgressWindowDelay(std::chrono::milliseconds(0));
    actions.setProgressObserver([&](const QString& key, const QString& value) {
        written << key + u'=' + value;
        window.poll();
        // The user closes the window at the first contact.
        if (value == QStringLiteral("1"))
            window.close();
    });
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    actions.undoRun(1);

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(column(Amount), before) << "every contact is still written back";
    EXPECT_EQ(written.constLast(), QStringLiteral("Stage=0"));
}

TEST_F(MainBarTest, TheButtonMenuUndoesARunOfItsOwnButtonChosenInTheList)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    writeButton(QStringLiteral("~101.ini"), {{"Name", QStringLiteral("Notes")},
                                             {"Type", "3"},
                                             {"Target", QStringLiteral("User 1")},
                                             {"Over3", "1"},
                                             {"CalcOperator", "0"},
                                             {"CalcTextOption0", "1"},
                                             {"CalcText0", "2"},
                                             {"CalcTextOption1", "1"},
                                             {"CalcText1", "5"}});
    MainBar& bar = loadBar();
    const QStringList amounts = column(Amount);
    const QStringList notes = column(QStringLiteral("User 1"));
    QTest::mouseClick(fill(0), Qt::LeftButton);
    QTest::mouseClick(fill(1), Qt::LeftButton);
    ASSERT_EQ(column(QStringLiteral("User 1")), QStringList(5, QStringLiteral("10")));

    // The menu of Times, whose run is not the newest: the list starts with Times's run.
    bar.prepareSlotMenu(0);
    emit bar.popupMenu()->aboutToShow();
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    action("mnuUndo")->trigger();
    ASSERT_EQ(m_screens->listedRuns.size(), 1u);
    const std::vector<ListedRun>& listed = m_screens->listedRuns[0];
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].caption, QStringLiteral("Notes")) << "newest first, by caption";
    EXPECT_EQ(listed[1].caption, QStringLiteral("Times"));
    EXPECT_EQ(listed[1].run.contacts, 5);
    EXPECT_EQ(m_screens->preselectedRuns, (QList<std::optional<qint64>>{1}));
    EXPECT_EQ(column(Amount), amounts);
    EXPECT_EQ(column(QStringLiteral("User 1")), QStringList(5, QStringLiteral("10")));

    // The list shows it undone, and another run can still be chosen.
    m_screens->runChoice = RunChoice{2, RunChoice::Action::Undo};
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    emit bar.popupMenu()->aboutToShow();
    action("mnuUndo")->trigger();
    ASSERT_EQ(m_screens->listedRuns.size(), 2u);
    EXPECT_NE(m_screens->listedRuns[1][1].run.undoneBy, 0);
    EXPECT_EQ(m_screens->preselectedRuns[1], std::nullopt) << "Times has nothing left to undo";
    EXPECT_EQ(column(QStringLiteral("User 1")), notes);

    // Closed without a choice: nothing happens.
    m_screens->runChoice.reset();
    m_platform.clearRecord();
    QTest::mouseClick(fill(0), Qt::LeftButton);
    m_platform.clearRecord();
    action("mnuUndo")->trigger();
    EXPECT_TRUE(m_platform.messageTexts().isEmpty());
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
}

TEST_F(MainBarTest, ALanguageChosenSinceWaitsForTheNextStartAfterARebuild)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    ASSERT_EQ(action("mnuUndo")->text(), QStringLiteral("&Undo a run..."));
    // The editor's language window stored French; its save rebuilds the bar.
    store().set(Application::Valdora, "Options", "Language", "1");
    bar.reloadAfterEdit();
    EXPECT_EQ(action("mnuUndo")->text(), QStringLiteral("&Undo a run..."));
    EXPECT_EQ(m_session->messages().languageBase(), 300);
}

TEST_F(MainBarTest, WithNothingJournalledTheItemsAreOffOrSaySo)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    emit bar.popupMenu()->aboutToShow();
    EXPECT_FALSE(action("mnuUndo")->isEnabled());
    EXPECT_FALSE(action("mnuRetry")->isEnabled());
    // As when the journal could not be read while the menu opened: the click says what there is.
    action("mnuUndo")->setEnabled(true);
    action("mnuRetry")->setEnabled(true);
    action("mnuUndo")->trigger();
    action("mnuRetry")->trigger();
    EXPECT_EQ(m_platform.messageTexts(), QStringList({"The run journal holds nothing to undo.",
                                                      "The run journal holds no failed contacts."}));
    QTest::mouseClick(fill(0), Qt::LeftButton);
    emit bar.trayMenu()->aboutToShow();
    EXPECT_TRUE(action("mnuUndo")->isEnabled());
    EXPECT_FALSE(action("mnuRetry")->isEnabled());
}

TEST_F(MainBarTest, ALockedContactIsOfferedForRetryAfterTheRunAndFromTheMenu)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    loadBar();
    QProcess holder;
    // Not the contact on screen, which the bar would ask to be saved first.
    const std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(m_database);
    host::ContactTable& contacts = database->Contact();
    contacts.Query(QString());
    contacts.MoveFirst();
    contacts.MoveNext();
    const QString second = contacts.Data(host::FieldNumber::UniqueId);
    ASSERT_NE(second, firstContactId());
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, second, 120));

    // The run's message for the locked contact, then its offer: Retry. Still held, so the retry's own
    // message, then its offer again: Cancel.
    for (const MessageAnswer answer :
         {MessageAnswer::Ok, MessageAnswer::Retry, MessageAnswer::Ok, MessageAnswer::Cancel})
        m_platform.answerNextMessage(answer);
    QTest::mouseClick(fill(0), Qt::LeftButton);
    QStringList texts = m_platform.messageTexts();
    ASSERT_EQ(texts.size(), 4) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("1 contact could not be written")))
        << texts[1].toStdString();
    EXPECT_EQ(m_platform.messages()[1].buttons, MessageButtons::RetryCancel);
    EXPECT_TRUE(texts[3].startsWith(QStringLiteral("Retry of run 1: 0 contacts written, 1 still failed.")))
        << texts[3].toStdString();
    EXPECT_EQ(column(Amount).count(QStringLiteral("12.00")), 4);

    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";
    m_platform.clearRecord();
    m_screens->runChoice = RunChoice{0, RunChoice::Action::Retry};
    m_platform.answerNextMessage(MessageAnswer::Yes);
    m_platform.answerNextMessage(MessageAnswer::Ok);
    action("mnuRetry")->trigger();
    texts = m_platform.messageTexts();
    ASSERT_EQ(texts.size(), 2) << texts.join(" | ").toStdString();
    EXPECT_EQ(texts[0], QStringLiteral("Run \"Times\" again on the 1 contact of run 2 whose write failed?"));
    EXPECT_EQ(texts[1], QStringLiteral("Retry of run 2: 1 contact written, 0 still failed."));
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
}

TEST_F(MainBarTest, TheContactOnScreenIsHandedToValdoraAuto)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    const QStringList before = column(Amount);
    m_scopes = run::FixedScopeChooser(run::Scope::CurrentContact);
    loadBar();
    QTest::mouseClick(fill(0), Qt::LeftButton);
    ASSERT_FALSE(m_platform.startedPrograms().isEmpty());
    const ProgramStart& started = m_platform.startedPrograms().constLast();
    EXPECT_TRUE(started.program.endsWith(QStringLiteral("ValdoraAuto.exe"))) << started.program.toStdString();
    EXPECT_EQ(started.arguments, QStringList{QStringLiteral("*~100.ini")});
    EXPECT_EQ(column(Amount), before);
}

TEST_F(MainBarTest, TheNewSlotAndTheEditButtonsOpenTheEditor)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    QTest::mouseClick(fill(1), Qt::LeftButton);
    QTest::mouseClick(bar.findChild<QPushButton*>(QStringLiteral("cmdOptions_0")), Qt::LeftButton);
    EXPECT_EQ(m_screens->editorSlots, (QList<int>{1, 0}));
    EXPECT_EQ(bar.currentButton(), QStringLiteral("~100.ini"));
    EXPECT_FALSE(bar.newButton());
}

TEST_F(MainBarTest, ButtonMenuRestylesAndShowsTheTriggerSyntax)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    const ButtonFile file = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~100.ini");

    bar.prepareSlotMenu(1); // the "New" slot: only Settings
    EXPECT_TRUE(action("mnuSettings")->isEnabled());
    for (const char* name : {"mnuTrigger", "mnuColor", "mnuBold", "mnuDelete"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;

    bar.prepareSlotMenu(0);
    for (const char* name : {"mnuSettings", "mnuTrigger", "mnuColor", "mnuBold", "mnuDelete"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_EQ(action("mnuBold")->text(), QStringLiteral("&Bold"));
    action("mnuBold")->trigger();
    EXPECT_EQ(file.read(ButtonKey::FontBold), QStringLiteral("-1"));
    EXPECT_TRUE(fill(0)->font().bold());
    action("mnuBold")->trigger();
    EXPECT_EQ(file.read(ButtonKey::FontBold), QStringLiteral("0"));
    EXPECT_FALSE(fill(0)->font().bold());

    m_platform.answerNextColour(0x0000FF);
    action("mnuColor")->trigger();
    EXPECT_EQ(file.read(ButtonKey::ForeColor), QStringLiteral("255"));
    EXPECT_EQ(fill(0)->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

    action("mnuTrigger")->trigger();
    ASSERT_EQ(m_screens->syntaxes.size(), 1);
    EXPECT_EQ(m_screens->syntaxes.first(),
              QDir::toNativeSeparators(m_program + "/ValdoraAuto.exe") + " ~100");
}

TEST_F(MainBarTest, ScheduleItemOpensTheButtonsScheduleOnTheOpenDatabase)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    MainBar& bar = loadBar();
    bar.prepareSlotMenu(1); // the "New" slot has no button to schedule
    EXPECT_FALSE(action("mnuSchedule")->isEnabled());
    bar.prepareSlotMenu(0);
    EXPECT_TRUE(action("mnuSchedule")->isEnabled());
    EXPECT_EQ(action("mnuSchedule")->text(), QStringLiteral("Sc&hedule..."));
    action("mnuSchedule")->trigger();
    ASSERT_EQ(m_screens->schedules.size(), 1);
    EXPECT_EQ(m_screens->schedules[0].first, QStringLiteral("~100.ini"));
    EXPECT_EQ(QFileInfo(m_screens->schedules[0].second).canonicalFilePath(),
              QFileInfo(m_database).canonicalFilePath());
}

TEST_F(MainBarTest, ACancelledColourChangesNothing)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("Twice"));
    MainBar& bar = loadBar();
    const ButtonFile second = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~101.ini");
    const QColor caption = fill(1)->palette().color(QPalette::ButtonText);
    bar.prepareSlotMenu(0);
    m_platform.answerNextColour(0x0000FF);
    action("mnuColor")->trigger();
    ASSERT_EQ(fill(0)->palette().color(QPalette::ButtonText), QColor(255, 0, 0));

    bar.prepareSlotMenu(1);
    m_platform.answerNextColour(std::nullopt);
    action("mnuColor")->trigger();

    EXPECT_EQ(second.read(ButtonKey::ForeColor), QString());
    EXPECT_EQ(fill(1)->palette().color(QPalette::ButtonText), caption);
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
}

TEST_F(MainBarTest, ARebuildThatFailsEndsTheBarWithItsMessage)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("Twice"));
    MainBar& bar = loadBar();
    m_host->kill();
    ASSERT_TRUE(m_host->waitForFinished(10000)) << "the host did not end after its kill";

    bar.prepareSlotMenu(0);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    action("mnuDelete")->trigger();

    ASSERT_TRUE(waitForEnd()) << "the bar did not end after its rebuild failed";
    EXPECT_TRUE(bar.flags().quit);
    EXPECT_TRUE(bar.isHidden());
    // The question, then the load's own message of the host that is gone.
    ASSERT_EQ(m_platform.messages().size(), 2) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_NE(m_platform.messages().last().text, m_platform.messages().first().text);
    // A click that still reaches the bar runs nothing.
    bar.cmdButton_Click(0);
    EXPECT_EQ(m_platform.messages().size(), 2) << m_platform.messageTexts().join(" | ").toStdString();
}

TEST_F(MainBarTest, DeletionAsksThenRebuildsTheBar)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("Twice"));
    MainBar& bar = loadBar();
    bar.prepareSlotMenu(0);
    m_platform.answerNextMessage(MessageAnswer::No);
    action("mnuDelete")->trigger();
    EXPECT_EQ(m_platform.messageTexts().constLast(),
              QStringLiteral("Are you sure you want to delete the button called Times?"));
    EXPECT_EQ(bar.slotsShown(), 3);

    m_platform.answerNextMessage(MessageAnswer::Yes);
    action("mnuDelete")->trigger();
    EXPECT_FALSE(QFile::exists(m_session->buttonFilePath("~100.ini")));
    EXPECT_EQ(bar.buttonFiles(), QStringList{QStringLiteral("~101.ini")});
    EXPECT_EQ(fill(0)->text(), QStringLiteral("Twice"));
    EXPECT_EQ(fill(1)->text(), QStringLiteral("New"));
    EXPECT_TRUE(fill(2)->isHidden());

    bar.prepareSlotMenu(0);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    action("mnuDelete")->trigger();
    EXPECT_EQ(bar.slotsShown(), 1);
    EXPECT_EQ(fill(0)->text(), QStringLiteral("New"));
    EXPECT_EQ(m_ended->count(), 0);
}

TEST_F(MainBarTest, DeletingAComboMemberNamesTheCombosFirst)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("Twice"));
    writeButton(QStringLiteral("~102.ini"), {{"Name", "Both"},
                                             {"Type", "5"},
                                             {"Button0", "1"},
                                             {"ButtonName0", "~100.ini"},
                                             {"Button12", "1"},
                                             {"ButtonName12", "~101.ini"}});
    // Slot 3 is not enabled: this Combo does not run the button.
    writeButton(QStringLiteral("~103.ini"),
                {{"Name", "Off"}, {"Type", "5"}, {"Button3", "0"}, {"ButtonName3", "~101.ini"}});
    writeButton(QStringLiteral("~104.ini"), {{"Name", "Elsewhere"},
                                             {"_DB", "Other.dbf"},
                                             {"Type", "5"},
                                             {"Button1", "1"},
                                             {"ButtonName1", "~101.ini"}});
    MainBar& bar = loadBar();
    ASSERT_EQ(bar.buttonFiles().indexOf(QStringLiteral("~101.ini")), 1);

    bar.prepareSlotMenu(1);
    m_platform.answerNextMessage(MessageAnswer::No);
    action("mnuDelete")->trigger();
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(
        m_platform.messages().last().text,
        QStringLiteral("The button Twice is a member of these Combo buttons: Both, Elsewhere. Without it "
                       "they will fail at their next run. Delete it anyway?"));
    EXPECT_EQ(m_platform.messages().last().buttons, MessageButtons::YesNo);
    EXPECT_EQ(m_platform.messages().last().defaultButton, 1) << "No is the default";
    EXPECT_TRUE(QFile::exists(m_session->buttonFilePath("~101.ini")));

    bar.prepareSlotMenu(1);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    action("mnuDelete")->trigger();
    EXPECT_FALSE(QFile::exists(m_session->buttonFilePath("~101.ini")));
}

TEST_F(MainBarTest, TheHostClosingItsDatabaseEndsTheBarAtOnce)
{
    MainBar& bar = loadBar();
    bar.move(bar.pos() + QPoint(30, 45));
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);
    ASSERT_TRUE(waitForEnd()) << "the bar did not end within 10 s";
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_NE(store().get(Application::Valdora, "Settings", "Top"), QString());
    EXPECT_NE(store().get(Application::Valdora, "Settings", "Left"), QString());
}

TEST_F(MainBarTest, TheHostQuittingEndsTheBar)
{
    loadBar();
    ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    ASSERT_TRUE(waitForEnd()) << "the bar did not end within 10 s";
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
}

/// When the scope question's window goes, relative to the host's closing.
enum class QuestionEnd {
    /// The window is still open when the host's event reaches the bar.
    AfterTheHostsEvent,
    /// The window has closed and the loop has run on before the answer returns, as it does when the
    /// window's closing and the host's event come in one pass of the loop.
    ThenTheLoopRunsOn,
};

/// Asks for the scope in a modal window of its own; while it is open, the host closes its database.
class HostClosesWhileAsked final : public run::ScopeChooser {
public:
    HostClosesWhileAsked(std::function<void()> closeHost, QuestionEnd end)
        : m_closeHost(std::move(closeHost)), m_end(end)
    {}
    std::optional<run::Scope> chooseScope(bool /*otherDatabase*/) override
    {
        QDialog question;
        QTimer::singleShot(0, &question, [this, &question] {
            m_closeHost();
            // Counted from the host's closing, however long that took: long enough for its event to
            // reach the bar while the question is still open.
            QTimer::singleShot(1500, &question, &QDialog::accept);
        });
        question.exec();
        if (m_end == QuestionEnd::ThenTheLoopRunsOn) {
            QElapsedTimer running;
            running.start();
            while (running.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return run::Scope::AllContacts;
    }

private:
    std::function<void()> m_closeHost;
    QuestionEnd m_end;
};

class HostClosingWhileAskedTest : public MainBarTest, public ::testing::WithParamInterface<QuestionEnd> {};

TEST_P(HostClosingWhileAskedTest, RunsNothingAndEndsTheBarAfterTheClick)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    const QStringList before = column(Amount);
    HostClosesWhileAsked chooser([this] { ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0); },
                                 GetParam());
    m_chooser = &chooser;
    loadBar();

    // The click's own stack still holds the host objects: the bar ends after it, not under it.
    QTest::mouseClick(fill(0), Qt::LeftButton);
    EXPECT_EQ(m_ended->count(), 0);
    ASSERT_TRUE(waitForEnd()) << "the bar did not end within 10 s";
    // The answer came after the host had gone: nothing ran, nothing was reported.
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(column(Amount), before);
}

INSTANTIATE_TEST_SUITE_P(QuestionEnds, HostClosingWhileAskedTest,
                         ::testing::Values(QuestionEnd::AfterTheHostsEvent, QuestionEnd::ThenTheLoopRunsOn));

TEST_F(MainBarTest, ARestartClosesTheHostStartsItAgainAndEndsTwoTicksLater)
{
    MainBar& bar = loadBar();
    bar.flags().restartHost = true;
    action("mnuClose")->trigger();
    ASSERT_TRUE(waitForHostEnd(10000)); // command 150 closed the host
    EXPECT_TRUE(bar.isHidden());
    EXPECT_EQ(m_ended->count(), 0);
    ASSERT_EQ(m_platform.startedPrograms().size(), 1);
    const ProgramStart& started = m_platform.startedPrograms().first();
    EXPECT_TRUE(started.program.endsWith(QStringLiteral("ContactHost.exe"))) << started.program.toStdString();
    EXPECT_EQ(QFileInfo(started.arguments.value(0)).canonicalFilePath(),
              QFileInfo(m_database).canonicalFilePath());
    ASSERT_TRUE(waitForEnd()) << "the bar did not end within 10 s";
    EXPECT_NE(store().get(Application::Valdora, "Settings", "Top"), QString());
}

TEST_F(MainBarTest, LaunchingKeelbrookClosesTheHostAndStartsItWithW5)
{
    loadBar();
    m_bar->flags().launchKeelbrook = true;
    action("mnuClose")->trigger();
    EXPECT_EQ(m_ended->count(), 1);
    ASSERT_TRUE(waitForHostEnd(10000));
    ASSERT_EQ(m_platform.startedPrograms().size(), 1);
    const ProgramStart& started = m_platform.startedPrograms().first();
    EXPECT_EQ(started.program, QDir(m_program).filePath(QStringLiteral("Keelbrook.exe")));
    EXPECT_EQ(started.arguments, QStringList{QStringLiteral("/w5")});
    EXPECT_EQ(started.workingFolder, m_program);
}

TEST_F(MainBarTest, TheCloseBoxFollowsNotClose)
{
    const struct {
        const char* notClose;
        bool tray;
        bool ends;
        bool hidden;
    } cases[] = {{"0", true, true, true}, {"1", true, false, true}, {"1", false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.notClose) + (c.tray ? " tray" : " no tray"));
        store().set(Application::Valdora, "Settings", "NotClose", QString::fromLatin1(c.notClose));
        MainBar& bar = loadBar(c.tray);
        bar.show();
        bar.close();
        QCoreApplication::processEvents();
        EXPECT_EQ(m_ended->count() > 0, c.ends);
        EXPECT_EQ(bar.isHidden(), c.hidden);
        EXPECT_EQ(m_icon->isShown(), !c.ends && c.tray);
        if (!c.ends) {
            if (c.tray) {
                bar.ProcessTray(TrayLeftButtonDown); // a left click on the icon shows the bar
                EXPECT_FALSE(bar.isHidden());
            }
            EXPECT_EQ(action("mnuClose")->text(), QStringLiteral("&Close"));
            action("mnuClose")->trigger();
            EXPECT_EQ(m_ended->count(), 1);
            EXPECT_FALSE(m_icon->isShown());
        }
        m_bar.reset();
    }
}

TEST_F(MainBarTest, StartedInTheNotificationAreaTheBarStaysHiddenUntilItsIconIsClicked)
{
    store().set(Application::Valdora, "Settings", "startBar", "1");
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "tray" : "no tray");
        MainBar& bar = loadBar(tray);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_icon->isShown(), tray);
        // Without a notification area the bar is shown: hidden, nothing would reach it.
        EXPECT_EQ(bar.isVisible(), !tray);
        if (tray) {
            EXPECT_TRUE(icons::rendersVisibly(m_icon->lastIcon, 22)) << "the notification icon is blank";
            bar.ProcessTray(TrayLeftButtonDown);
            EXPECT_TRUE(bar.isVisible());
        }
        m_bar.reset();
    }
}

TEST_F(MainBarTest, TheBarCarriesItsIcon)
{
    MainBar& bar = loadBar();
    EXPECT_TRUE(icons::rendersVisibly(bar.windowIcon(), 32)) << "the bar's window icon is blank";
}

/// A stored place, and where the bar's frame stands after a start with it (pixels from the screen's
/// top-left corner, at the screen's resolution).
struct PlaceCase {
    const char* name;
    const char* top;
    const char* left;
    /// The frame's top-left corner in twips; nullopt: where the screen's corner keeps it on screen.
    std::optional<QPoint> expectedTwips;
};

class BarPlaceTest : public MainBarTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(BarPlaceTest, TheBarComesBackWhereItWasLeftAndNeverOffTheScreen)
{
    const PlaceCase& row = GetParam();
    store().set(Application::Valdora, "Settings", "Top", QString::fromLatin1(row.top));
    store().set(Application::Valdora, "Settings", "Left", QString::fromLatin1(row.left));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QPoint firstPlace;
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        MainBar& bar = loadBar();
        QCoreApplication::processEvents();
        const double dpi = bar.logicalDpiY();
        const QRect frame = bar.frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << frame << " is not wholly on " << screen;
        if (row.expectedTwips) {
            EXPECT_EQ(frame.topLeft(), QPoint(BarLayout::toPixels(row.expectedTwips->x(), dpi),
                                              BarLayout::toPixels(row.expectedTwips->y(), dpi)));
        }
        if (start == 1)
            firstPlace = frame.topLeft();
        else
            EXPECT_EQ(frame.topLeft(), firstPlace) << "the bar moved between two starts";
        // The close stores the place the next start restores.
        bar.close();
        ASSERT_TRUE(waitForEnd()) << "the bar did not end within the wait";
        EXPECT_EQ(store().get(Application::Valdora, "Settings", "Top").toInt(),
                  BarLayout::toTwips(frame.y(), dpi));
        EXPECT_EQ(store().get(Application::Valdora, "Settings", "Left").toInt(),
                  BarLayout::toTwips(frame.x(), dpi));
        m_bar.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Places, BarPlaceTest,
    ::testing::Values(PlaceCase{"TheScreensCorner", "0", "0", QPoint(0, 0)},
                      PlaceCase{"BesideTheHost", "600", "3000", QPoint(3000, 600)},
                      // Stored by an earlier version whose bar crept up by its title bar.
                      PlaceCase{"AboveTheScreen", "-300", "-15", QPoint(0, 0)},
                      PlaceCase{"NoNumbers", "top", "", QPoint(0, 0)},
                      // Past the bottom right: the stored values are not applied.
                      PlaceCase{"PastTheScreen", "999999", "999999", QPoint(0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainBarTest, FirstRunAsksForTheLanguageOnce)
{
    const struct {
        std::optional<int> choice;
        const char* showBar;
    } cases[] = {{1, "&Afficher la barre"}, {std::nullopt, nullptr}};
    for (const auto& c : cases) {
        store().set(Application::Valdora, "Settings", "Installed", "0");
        store().set(Application::Valdora, "Options", "Language", "");
        m_screens->languageChoice = c.choice;
        m_screens->languageAsked = 0;
        loadBar();
        EXPECT_EQ(m_screens->languageAsked, 1);
        EXPECT_EQ(store().get(Application::Valdora, "Settings", "Installed"), QStringLiteral("1"));
        // Without a choice the bar takes German until one is made.
        const qint16 base = c.choice ? qint16(*c.choice * 1000 + 300) : qint16(2300);
        EXPECT_EQ(m_session->messages().languageBase(), base);
        if (c.showBar) {
            EXPECT_EQ(action("mnuShow")->text(), QString::fromUtf8(c.showBar));
        }
        m_bar.reset();
        loadBar();
        EXPECT_EQ(m_screens->languageAsked, 1);
        m_bar.reset();
    }
}

TEST_F(MainBarTest, NoHostRunningEndsWithItsMessage)
{
    m_host->kill();
    ASSERT_TRUE(m_host->waitForFinished(10000)) << "the host did not end after its kill";
    auto bar = std::make_unique<MainBar>(
        BarParts{*m_session, *m_screens, m_scopes, factories(), std::make_unique<test::ScriptedIcon>(false)});
    EXPECT_FALSE(bar->Form_Load());
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().first().text,
              QStringLiteral("Please run ContactHost before running Valdora!"));
    EXPECT_EQ(m_platform.messages().first().icon, MessageIcon::Critical);
    EXPECT_TRUE(bar->flags().quit);
    bar.reset();
    // The bar that never loaded stores nothing.
    EXPECT_EQ(store().get(Application::Valdora, "Settings", "Top"), QString());
}

TEST_F(MainBarTest, AHostThatRefusesItsEventsIsTold)
{
    m_host->kill();
    ASSERT_TRUE(m_host->waitForFinished(10000)) << "the host did not end after its kill";
    qputenv("VALDORA_HOST_REFUSE_EVENTS", "1");
    startHost();
    qunsetenv("VALDORA_HOST_REFUSE_EVENTS");
    auto bar = std::make_unique<MainBar>(
        BarParts{*m_session, *m_screens, m_scopes, factories(), std::make_unique<test::ScriptedIcon>(false)});
    EXPECT_FALSE(bar->Form_Load());
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().first().text,
              QStringLiteral("Problem registering ContactHost event.\nYou should close and re-start "
                             "ContactHost. If the problem persists, please run hostreg.exe in your "
                             "ContactHost folder and try again."));
    EXPECT_EQ(m_platform.messages().first().icon, MessageIcon::Critical);
    EXPECT_TRUE(bar->flags().quit);
}

TEST_F(MainBarTest, NoDatabaseToOpenEndsWithItsMessage)
{
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);
    // The file is gone: the host cannot open its last database again.
    ASSERT_TRUE(QFile::rename(m_database, m_database + QStringLiteral(".away")));
    auto bar = std::make_unique<MainBar>(
        BarParts{*m_session, *m_screens, m_scopes, factories(), std::make_unique<test::ScriptedIcon>(false)});
    EXPECT_FALSE(bar->Form_Load());
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("Please open a database before running Valdora!")});
    bar.reset();
    EXPECT_EQ(store().get(Application::Valdora, "Settings", "Top"), QString());
}

class SecondStartTest : public MainBarTest {
protected:
    std::unique_ptr<MainBar> start(SingleInstance& instance)
    {
        return Main({*m_session, *m_screens, m_scopes, factories(),
                     [] { return std::make_unique<test::ScriptedIcon>(true); }},
                    instance);
    }
};

TEST_F(SecondStartTest, ASecondStartShowsTheRunningBar)
{
    store().set(Application::Valdora, "Settings", "NotClose", "1");
    SingleInstance first(store().folder());
    std::unique_ptr<MainBar> bar = start(first);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(m_screens->splashShown, 1);
    EXPECT_EQ(m_screens->splashClosed, 1);
    bar->close(); // into the notification area
    ASSERT_TRUE(bar->isHidden());

    // The later start waits for the running bar's answer, which comes on this thread's event loop.
    SingleInstance second(store().folder());
    ASSERT_FALSE(second.claim());
    std::atomic<int> handover = -1;
    std::thread asking([&] { handover = static_cast<int>(second.askRunningToShow()); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return handover >= 0; }, 10000))
        << "timed out waiting for: handover >= 0";
    asking.join();
    EXPECT_EQ(handover, static_cast<int>(SingleInstance::Handover::Shown));
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(SecondStartTest, AStartBesideABarThatDoesNotAnswerSaysSo)
{
    // A bar holds the lock but never listens (hung, or still starting).
    QLockFile held(QDir(store().folder()).filePath(QStringLiteral("Valdora.bar.lock")));
    ASSERT_TRUE(held.tryLock(0));
    SingleInstance second(store().folder());
    EXPECT_EQ(start(second), nullptr);
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("An instance of this program is already running !")});
    EXPECT_EQ(m_screens->splashShown, 0);
}

TEST_F(SecondStartTest, AStartBesideASocketOfAnotherUserSaysWhoseItIs)
{
    if (!valdora::test::canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    QLockFile held(QDir(store().folder()).filePath(QStringLiteral("Valdora.bar.lock")));
    ASSERT_TRUE(held.tryLock(0));
    const QString path = userSocketPath(SingleInstance::serverName(store().folder())).path;
    valdora::test::ForeignServer foreign(path);
    ASSERT_TRUE(foreign.listening());
    SingleInstance second(store().folder());
    EXPECT_EQ(start(second), nullptr);
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{
                  QStringLiteral("The socket \"%1\" belongs to another user (nobody, uid 65534): nothing is "
                                 "sent to it")
                      .arg(path)});
    EXPECT_EQ(m_screens->splashShown, 0);
}

TEST_F(SecondStartTest, AStoreThatCannotBeWrittenIsSaidWithItsFolderNotAsARunningBar)
{
    // A store folder under a file: no lock can be made there, and no bar runs.
    const QString file = m_dir.filePath(QStringLiteral("plain-file"));
    ASSERT_TRUE(valdora::test::writeFile(file, "x"));
    const QString folder = file + QStringLiteral("/Valdora");
    SingleInstance instance(folder);
    EXPECT_EQ(start(instance), nullptr);
    EXPECT_TRUE(instance.storeUnwritable());
    EXPECT_EQ(
        m_platform.messageTexts(),
        QStringList{QStringLiteral("Valdora cannot start: its settings store %1 cannot be written. Check "
                                   "that this folder exists and that you may write in it.")
                        .arg(folder)});
    EXPECT_EQ(m_screens->splashShown, 0);
}

/// Valdora.exe itself, offscreen, beside the running host.
class BarProgramTest : public MainBarTest {
protected:
    bool barIsUp() const { return !store().get(Application::Valdora, "Settings", "Hwnd").isEmpty(); }
};

TEST_F(BarProgramTest, TheProgramShowsTheBar)
{
    multiplyButton(QStringLiteral("~100.ini"), QStringLiteral("Times"));
    qputenv("VALDORA_EXIT_ON_FIRST_PAINT", "1");
    const valdora::test::CommandResult result = valdora({}, 30000);
    qunsetenv("VALDORA_EXIT_ON_FIRST_PAINT");
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(barIsUp());
    EXPECT_EQ(store().get(Application::Valdora, "Settings", "Version"), QStringLiteral("313"));
}

TEST_F(BarProgramTest, ASecondProgramEndsAndTheFirstEndsWithTheHost)
{
    const std::unique_ptr<QProcess> first = startValdora({});
    ASSERT_TRUE(QTest::qWaitFor([this] { return barIsUp(); }, 20000))
        << first->readAllStandardError().toStdString();

    const valdora::test::CommandResult second = valdora({}, 20000);
    EXPECT_EQ(second.code, 0) << second.err.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);

    ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    ASSERT_TRUE(first->waitForFinished(10000)) << "first did not end within the wait";
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_NE(store().get(Application::Valdora, "Settings", "Top"), QString());
}

} // namespace
} // namespace valdora::bar
