// Keelbrook's windows under the offscreen platform, over real embedded databases with no host
// running: the selection window's host check and opening, the login, the report's listing, sorting,
// removal and endings, and the return from the add window.
#include "KeelbrookFixture.h"

#include "triggers/program/DBSelectionWindow.h"
#include "triggers/program/LoginWindow.h"
#include "triggers/program/ReportWindow.h"
#include "triggers/program/WindowReportScreens.h"

#include "host/client/ClientFactories.h"
#include "host/embedded/EmbeddedDatabase.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

namespace valdora::keelbrook::test {
namespace {

using namespace valdora::test;

/// The add window as a script: runs what the test says in its place.
class ScriptedReportScreens final : public ReportScreens {
public:
    std::function<void(KeelbrookState&)> onAdd;
    int calls = 0;
    void addTrigger(KeelbrookState& state, QWidget*) override
    {
        ++calls;
        if (onAdd)
            onAdd(state);
    }
};

template <typename Widget> Widget* child(const QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void clickButton(const QWidget& window, const char* name)
{
    if (auto* button = child<QAbstractButton>(window, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

class KeelbrookWindows : public KeelbrookTest {
protected:
    void TearDown() override
    {
        m_window.reset();
        KeelbrookTest::TearDown();
    }

    /// The selection window loaded with this argument text, its event control a fake that answers
    /// `registerAnswer`, or the running host's client when `realClient`.
    DBSelectionWindow& load(const QString& arguments, int registerAnswer = 0, bool realClient = false)
    {
        EventControlFactory factory = [this, registerAnswer,
                                       realClient]() -> std::unique_ptr<host::EventControl> {
            if (realClient)
                return host::createEventControl();
            return std::make_unique<FakeEventControl>(registerAnswer, &m_unregisters);
        };
        ReportScreens& screens = m_realAddWindow ? static_cast<ReportScreens&>(m_windowScreens) : m_screens;
        m_window = std::make_unique<DBSelectionWindow>(*m_state, factory, screens);
        m_window->Form_Load(arguments);
        return *m_window;
    }

    /// Loads, then opens `database` through the OK button; the report is shown.
    ReportWindow& openReport(const QString& database)
    {
        load(QString());
        child<QLineEdit>(*m_window, "txtDB")->setText(database);
        clickButton(*m_window, "cmdOK");
        EXPECT_NE(m_window->report(), nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window->report()))
            << "the window was not shown within the wait";
        return *m_window->report();
    }

    QTreeView& list(const ReportWindow& report) { return *child<QTreeView>(report, "ListView1"); }

    QStringList fieldIds(const ReportWindow& report)
    {
        QStringList ids;
        const QAbstractItemModel* model = list(report).model();
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, 3).data().toString();
        return ids;
    }

    void clickHeader(ReportWindow& report, int section)
    {
        QHeaderView* header = list(report).header();
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    void selectRow(ReportWindow& report, int row)
    {
        QTreeView& view = list(report);
        view.selectionModel()->setCurrentIndex(
            view.model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    ScriptedReportScreens m_screens;
    WindowReportScreens m_windowScreens;
    bool m_realAddWindow = false;
    std::unique_ptr<DBSelectionWindow> m_window;
    int m_unregisters = 0;
};

TEST_F(KeelbrookWindows, ARunningHostIsRefusedAndTheProgramEnds)
{
    setLanguage(0);
    DBSelectionWindow& window = load(QString(), 1);
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("Please close ContactHost before launching Keelbrook.")});
    EXPECT_EQ(m_platform.messages().first().title, QStringLiteral("Keelbrook"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_endCount, 1);
    EXPECT_EQ(m_unregisters, 1);
}

TEST_F(KeelbrookWindows, WithoutAHostTheWindowShowsTheLastDatabase)
{
    setLanguage(0);
    ASSERT_TRUE(m_state->setLastDatabase(QStringLiteral("/data/Sales.dbf")));
    DBSelectionWindow& window = load(QString(), 0, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    EXPECT_TRUE(m_platform.messages().isEmpty());
    EXPECT_EQ(window.objectName(), QStringLiteral("frmDBSelection"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Keelbrook for ContactHost"));
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), QStringLiteral("Choose a ContactHost database:"));
    EXPECT_EQ(child<QPushButton>(window, "cmdOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(child<QPushButton>(window, "cmdCancel")->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(child<QAbstractButton>(window, "cmdBrowse")->text(), QStringLiteral("..."));
    EXPECT_EQ(child<QLineEdit>(window, "txtDB")->text(), QStringLiteral("/data/Sales.dbf"));
    EXPECT_EQ(window.offset(), 300);
    EXPECT_EQ(m_state->trace().path(), QStringLiteral("Form_Load/"));
}

TEST_F(KeelbrookWindows, W5WaitsTwoSecondsBeforeTheHostCheck)
{
    DBSelectionWindow& window = load(QStringLiteral("/w5"), 0, true);
    EXPECT_TRUE(window.timer().isActive());
    EXPECT_EQ(window.timer().interval(), 2000);
    EXPECT_FALSE(window.isVisible());
    QTest::qWait(1500);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }, 3000))
        << "timed out waiting for: window.isVisible()";
    EXPECT_FALSE(window.timer().isActive());
    EXPECT_EQ(m_state->trace().path(), QStringLiteral("Form_Load/"));
    // Without a "Language" setting, the German block.
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(),
              QStringLiteral("Wählen Sie eine ContactHost-Datenbank:"));
}

TEST_F(KeelbrookWindows, BrowseAsksThroughTheFileDialog)
{
    setLanguage(0);
    DBSelectionWindow& window = load(QString());
    child<QLineEdit>(window, "txtDB")->setText(QStringLiteral("/data"));
    m_platform.answerNextOpenFile(QStringLiteral("/data/Other.dbf"));
    clickButton(window, "cmdBrowse");
    EXPECT_EQ(child<QLineEdit>(window, "txtDB")->text(), QStringLiteral("/data/Other.dbf"));
    m_platform.answerNextOpenFile(std::nullopt);
    clickButton(window, "cmdBrowse");
    EXPECT_EQ(child<QLineEdit>(window, "txtDB")->text(), QStringLiteral("/data/Other.dbf"));
}

TEST_F(KeelbrookWindows, ADatabaseThatCannotBeOpenedKeepsTheWindowForAnotherTry)
{
    setLanguage(0);
    DBSelectionWindow& window = load(QString());
    child<QLineEdit>(window, "txtDB")->setText(m_dir.filePath(QStringLiteral("missing.dbf")));
    clickButton(window, "cmdOK");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.report(), nullptr);
    EXPECT_TRUE(m_platform.messages().isEmpty());
    EXPECT_TRUE(m_state->lastDatabase().isEmpty());
    // The second try with a database that opens goes through.
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"));
    child<QLineEdit>(window, "txtDB")->setText(path);
    clickButton(window, "cmdOK");
    EXPECT_FALSE(window.isVisible());
    ASSERT_NE(window.report(), nullptr);
    EXPECT_EQ(m_state->lastDatabase(), path);
}

TEST_F(KeelbrookWindows, CancelEndsTheProgram)
{
    DBSelectionWindow& window = load(QString());
    clickButton(window, "cmdCancel");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_endCount, 1);
    EXPECT_EQ(m_unregisters, 1);
}

/// A key pressed in the selection window, as a user presses it with the database box focused.
struct SelectionKeyCase {
    const char* name;
    Qt::Key key;
    /// Return and Enter open the database (the report comes), Escape ends the program.
    bool opens;
};

class KeelbrookSelectionKeys : public KeelbrookWindows,
                               public ::testing::WithParamInterface<SelectionKeyCase> {};

TEST_P(KeelbrookSelectionKeys, ReturnOpensTheDatabaseAndEscapeCancels)
{
    const SelectionKeyCase& row = GetParam();
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"));
    DBSelectionWindow& window = load(QString());
    auto* box = child<QLineEdit>(window, "txtDB");
    box->setText(path);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "the selection window did not become active";
    box->setFocus();
    QTest::keyClick(box, row.key);
    if (row.opens) {
        ASSERT_NE(window.report(), nullptr) << "the key did not press OK";
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(m_state->lastDatabase(), path);
        EXPECT_EQ(m_endCount, 0);
    } else {
        EXPECT_EQ(window.report(), nullptr);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(m_endCount, 1) << "the key did not press Cancel";
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeelbrookSelectionKeys,
                         ::testing::Values(SelectionKeyCase{"Return", Qt::Key_Return, true},
                                           SelectionKeyCase{"Enter", Qt::Key_Enter, true},
                                           SelectionKeyCase{"Escape", Qt::Key_Escape, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LoginCase {
    const char* name;
    const char* password;
    bool wrong;
};

class KeelbrookLoginWindow : public KeelbrookWindows, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(KeelbrookLoginWindow, OneAttemptAndTheReportOpensEitherWay)
{
    setLanguage(0);
    const QString path =
        makeDatabase(QStringLiteral("Shared.dbf"), {{7, TriggerKind::Exit, QStringLiteral("/opt/a.exe")}});
    addUser(path, QStringLiteral("Chris"), QStringLiteral("s3cret"));
    ASSERT_TRUE(m_state->setLastUser(QStringLiteral("Chris")));
    load(QString());
    child<QLineEdit>(*m_window, "txtDB")->setText(path);
    QString focused;
    QStringList order;
    QString caption;
    inNextModal([&](QWidget& login) {
        caption = login.windowTitle();
        focused = login.focusWidget() ? login.focusWidget()->objectName() : QString();
        order = tabOrder(*child<QLineEdit>(login, "txtPassword"),
                         {QStringLiteral("txtPassword"), QStringLiteral("cmdOK"), QStringLiteral("cmdCancel"),
                          QStringLiteral("txtUserName")});
        EXPECT_EQ(child<QLineEdit>(login, "txtUserName")->text(), QStringLiteral("Chris"));
        EXPECT_EQ(child<QLineEdit>(login, "txtPassword")->echoMode(), QLineEdit::Password);
        EXPECT_EQ(child<QLabel>(login, "lblLabels_0")->text(), QStringLiteral("User Name :"));
        EXPECT_EQ(child<QLabel>(login, "lblLabels_1")->text(), QStringLiteral("Password :"));
        EXPECT_EQ(child<QPushButton>(login, "cmdOK")->text(), QStringLiteral("OK"));
        EXPECT_EQ(child<QPushButton>(login, "cmdCancel")->text(), QStringLiteral("Cancel"));
        QTest::keyClicks(child<QLineEdit>(login, "txtPassword"), QString::fromUtf8(GetParam().password));
        clickButton(login, "cmdOK");
    });
    clickButton(*m_window, "cmdOK");
    EXPECT_EQ(caption, QStringLiteral("Login"));
    EXPECT_EQ(focused, QStringLiteral("txtPassword"));
    EXPECT_EQ(order, (QStringList{QStringLiteral("txtPassword"), QStringLiteral("cmdOK"),
                                  QStringLiteral("cmdCancel"), QStringLiteral("txtUserName")}));
    if (GetParam().wrong)
        EXPECT_EQ(m_platform.messageTexts(), QStringList{QStringLiteral("Sorry wrong username or password")});
    else
        EXPECT_TRUE(m_platform.messages().isEmpty());
    ASSERT_NE(m_window->report(), nullptr);
    EXPECT_TRUE(m_window->report()->isVisible());
    EXPECT_EQ(fieldIds(*m_window->report()), QStringList{QStringLiteral("7")});
}

INSTANTIATE_TEST_SUITE_P(Passwords, KeelbrookLoginWindow,
                         ::testing::Values(LoginCase{"Right", "s3cret", false},
                                           LoginCase{"Wrong", "guess", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookWindows, LoginWithoutALastUserStartsInTheNameBox)
{
    const QString path = makeDatabase(QStringLiteral("Shared.dbf"));
    addUser(path, QStringLiteral("Chris"), QStringLiteral("s3cret"));
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    QString focused;
    inNextModal([&](QWidget& login) {
        focused = login.focusWidget() ? login.focusWidget()->objectName() : QString();
        clickButton(login, "cmdCancel");
    });
    LoginWindow::ask(*m_state, database, nullptr);
    EXPECT_EQ(focused, QStringLiteral("txtUserName"));
    EXPECT_TRUE(m_platform.messages().isEmpty());
    EXPECT_TRUE(m_state->lastUser().isEmpty());
}

class KeelbrookReport : public KeelbrookWindows {
protected:
    /// Five triggers on four fields: 7 entry and exit, 9, 10, 20.
    QString fiveTriggers()
    {
        return makeDatabase(QStringLiteral("Sales.dbf"),
                            {{7, TriggerKind::Entry, QStringLiteral("/opt/in.exe")},
                             {7, TriggerKind::Exit, QStringLiteral("/opt/out.exe")},
                             {9, TriggerKind::Exit, QStringLiteral("/opt/web.exe")},
                             {10, TriggerKind::Entry, QStringLiteral("/m/a.mpr")},
                             {20, TriggerKind::Exit, QStringLiteral("/m/n.mpr")}});
    }
};

TEST_F(KeelbrookReport, ListsEveryTriggerInItsNamedControls)
{
    setLanguage(0);
    const QString path = fiveTriggers();
    ReportWindow& report = openReport(path);
    EXPECT_EQ(report.objectName(), QStringLiteral("frmReport"));
    EXPECT_EQ(report.windowTitle(), QStringLiteral("Trigger Report"));
    EXPECT_EQ(child<QLineEdit>(report, "txtDB")->text(), path);
    EXPECT_EQ(child<QLabel>(report, "Label2")->text(), QStringLiteral("Active ContactHost database :"));
    EXPECT_EQ(child<QLabel>(report, "Label1")->text(),
              QStringLiteral("Here are all the Triggers currently associated with this database :"));
    EXPECT_EQ(child<QPushButton>(report, "cmdAdd")->text(), QStringLiteral("&Add a Trigger"));
    EXPECT_EQ(child<QPushButton>(report, "cmdRemove")->text(), QStringLiteral("&Remove Trigger"));
    EXPECT_EQ(child<QPushButton>(report, "cmdClose")->text(), QStringLiteral("&Close"));
    EXPECT_EQ(child<QLabel>(report, "lblMore")->text(), QStringLiteral("More at"));
    const QAbstractItemModel* model = list(report).model();
    QStringList headers;
    for (int section = 0; section < 4; ++section)
        headers << model->headerData(section, Qt::Horizontal).toString();
    EXPECT_EQ(headers,
              (QStringList{QStringLiteral("Field"), QStringLiteral("Type"),
                           QStringLiteral("Program, macro or Valdora button"), QStringLiteral("Field ID")}));
    EXPECT_EQ(fieldIds(report), (QStringList{QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("9"),
                                             QStringLiteral("10"), QStringLiteral("20")}));
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Phone"));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("Entry"));
    EXPECT_EQ(model->index(1, 1).data().toString(), QStringLiteral("Exit"));
    EXPECT_EQ(model->index(1, 2).data().toString(), QStringLiteral("/opt/out.exe"));
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_state->lastDatabase(), path);
}

TEST_F(KeelbrookReport, ClickingFieldIdTwiceSortsDescendingThenAscendingAsText)
{
    setLanguage(0);
    ReportWindow& report = openReport(fiveTriggers());
    clickHeader(report, 3);
    EXPECT_EQ(fieldIds(report), (QStringList{QStringLiteral("9"), QStringLiteral("7"), QStringLiteral("7"),
                                             QStringLiteral("20"), QStringLiteral("10")}));
    EXPECT_EQ(list(report).model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("<<  Field ID"));
    clickHeader(report, 3);
    EXPECT_EQ(fieldIds(report), (QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("7"),
                                             QStringLiteral("7"), QStringLiteral("9")}));
    EXPECT_EQ(list(report).model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral(">>  Field ID"));
}

struct RemovalCase {
    const char* name;
    int row;                     ///< the row removed (0-based)
    std::optional<int> selected; ///< the row selected afterwards
    const char* removedFieldId;
};

class KeelbrookReportRemoval : public KeelbrookReport, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(KeelbrookReportRemoval, SelectsTheFirstRowOrTheRowBefore)
{
    setLanguage(0);
    const QString path = fiveTriggers();
    ReportWindow& report = openReport(path);
    selectRow(report, GetParam().row);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    clickButton(report, "cmdRemove");
    EXPECT_EQ(list(report).model()->rowCount(), 4);
    EXPECT_EQ(report.selectedRow(), GetParam().selected);
    EXPECT_TRUE(child<QPushButton>(report, "cmdRemove")->isEnabled());
    EXPECT_TRUE(list(report).hasFocus() || !report.isActiveWindow());
    EXPECT_FALSE(fieldIds(report).contains(QString::fromLatin1(GetParam().removedFieldId)));
}

INSTANTIATE_TEST_SUITE_P(Rows, KeelbrookReportRemoval,
                         ::testing::Values(RemovalCase{"FirstRow", 0, 0, "nothing"},
                                           RemovalCase{"FourthRow", 3, 2, "10"},
                                           RemovalCase{"LastRow", 4, 3, "20"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookReport, RemovingTheOnlyRowDisablesRemove)
{
    setLanguage(0);
    const QString path =
        makeDatabase(QStringLiteral("One.dbf"), {{11, TriggerKind::Entry, QStringLiteral("/opt/a.exe")}});
    ReportWindow& report = openReport(path);
    selectRow(report, 0);
    m_platform.answerNextMessage(MessageAnswer::Yes);
    clickButton(report, "cmdRemove");
    EXPECT_EQ(list(report).model()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(report, "cmdRemove")->isEnabled());
    EXPECT_TRUE(triggerIn(path, 11, TriggerKind::Entry).isEmpty());
}

TEST_F(KeelbrookReport, AnEmptyReportAnswersRemoveWithNoItemSelected)
{
    setLanguage(0);
    ReportWindow& report = openReport(makeDatabase(QStringLiteral("Empty.dbf")));
    EXPECT_EQ(list(report).model()->rowCount(), 0);
    clickButton(report, "cmdRemove");
    EXPECT_EQ(m_platform.messageTexts(), QStringList{QStringLiteral("No item selected.")});
    EXPECT_FALSE(m_state->ended());
}

struct EndingCase {
    const char* name;
    bool closeBox;
};

class KeelbrookReportEnding : public KeelbrookReport, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(KeelbrookReportEnding, ClosingTheReportEndsTheProgramAndClosesTheDatabase)
{
    ReportWindow& report = openReport(fiveTriggers());
    ASSERT_NE(m_state->database(), nullptr);
    if (GetParam().closeBox)
        report.close();
    else
        clickButton(report, "cmdClose");
    EXPECT_EQ(m_endCount, 1);
    EXPECT_EQ(m_state->database(), nullptr);
    EXPECT_EQ(m_unregisters, 1);
    EXPECT_FALSE(m_window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, KeelbrookReportEnding,
                         ::testing::Values(EndingCase{"CloseButton", false}, EndingCase{"CloseBox", true}),
                         [](const auto& info) { return std::string(info.param.name); });

class KeelbrookAddReturn : public KeelbrookReport,
                           public ::testing::WithParamInterface<valdora::test::Language> {};

TEST_P(KeelbrookAddReturn, TheCreatedTriggerIsSelectedWhenTheReportComesBack)
{
    setLanguage((GetParam().base - 300) / 1000);
    const QString path = fiveTriggers();
    ReportWindow& first = openReport(path);
    const QString command = QStringLiteral("/opt/created.exe");
    m_screens.onAdd = [&](KeelbrookState& state) {
        state.fields().EntryTrigger(20, command);
        state.rememberTrigger({.fieldId = 20, .kind = TriggerKind::Entry, .text = command});
    };
    clickButton(first, "cmdAdd");
    EXPECT_EQ(m_screens.calls, 1);
    EXPECT_EQ(m_endCount, 0);
    ReportWindow* again = m_window->report();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(fieldIds(*again).size(), 6);
    ASSERT_TRUE(again->selectedRow().has_value());
    EXPECT_EQ(*again->selectedRow(), 4);
    EXPECT_EQ(list(*again).model()->index(4, 2).data().toString(), command);
    EXPECT_EQ(list(*again).model()->index(4, 1).data().toString(), valdora::test::rowText(GetParam(), 538));
}

INSTANTIATE_TEST_SUITE_P(Languages, KeelbrookAddReturn,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookReport, TheAddWindowWritesATriggerAndTheReportComesBackWithItSelected)
{
    setLanguage(0);
    m_realAddWindow = true;
    const QString path = fiveTriggers();
    ReportWindow& first = openReport(path);
    const QString program = QStringLiteral("/opt/tools/city.exe");
    QString caption;
    inNextModal([&](QWidget& add) {
        caption = add.windowTitle();
        auto* fields = child<QComboBox>(add, "cmbField");
        fields->setCurrentIndex(fields->findText(QStringLiteral("City")));
        clickButton(add, "optType_0");
        m_platform.answerNextOpenFile(program);
        clickButton(add, "cmdBrowse");
        clickButton(add, "cmdAddTrigger");
    });
    clickButton(first, "cmdAdd");
    EXPECT_EQ(caption, QStringLiteral("Add a trigger"));
    EXPECT_EQ(triggerIn(path, 11, TriggerKind::Entry), program);
    ReportWindow* again = m_window->report();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(fieldIds(*again),
              (QStringList{QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("9"),
                           QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("20")}));
    EXPECT_EQ(again->selectedRow(), 4);
    EXPECT_EQ(m_endCount, 0);
    EXPECT_TRUE(m_state->trace().path().contains(QStringLiteral("cmdAddTrigger/check_trigger(11)/")))
        << m_state->trace().path().toStdString();
}

TEST_F(KeelbrookReport, CancellingTheAddWindowBringsTheReportBackUnchanged)
{
    setLanguage(0);
    m_realAddWindow = true;
    ReportWindow& first = openReport(fiveTriggers());
    inNextModal([&](QWidget& add) { clickButton(add, "cmdCancel"); });
    clickButton(first, "cmdAdd");
    ReportWindow* again = m_window->report();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(fieldIds(*again).size(), 5);
    EXPECT_FALSE(again->selectedRow().has_value());
    EXPECT_EQ(m_endCount, 0);
}

class KeelbrookScreenshots : public KeelbrookReport,
                             public ::testing::WithParamInterface<valdora::test::Language> {};

TEST_P(KeelbrookScreenshots, EveryWindowFitsItsTexts)
{
    setLanguage((GetParam().base - 300) / 1000);
    const QString language = QString::fromLatin1(GetParam().name);
    const QString path = fiveTriggers();
    addUser(path, QStringLiteral("Chris"), QStringLiteral("s3cret"));
    DBSelectionWindow& window = load(QString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    child<QLineEdit>(window, "txtDB")->setText(path);
    expectNothingClipped(window);
    saveScreenshot(window, QStringLiteral("frmDBSelection-") + language);
    inNextModal([&](QWidget& login) {
        expectNothingClipped(login);
        saveScreenshot(login, QStringLiteral("frmLogin-") + language);
        QTest::keyClicks(child<QLineEdit>(login, "txtUserName"), QStringLiteral("Chris"));
        QTest::keyClicks(child<QLineEdit>(login, "txtPassword"), QStringLiteral("s3cret"));
        clickButton(login, "cmdOK");
    });
    clickButton(window, "cmdOK");
    ReportWindow* report = m_window->report();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report)) << "the window was not shown within the wait";
    selectRow(*report, 1);
    expectNothingClipped(*report);
    saveScreenshot(*report, QStringLiteral("frmReport-") + language);
}

INSTANTIATE_TEST_SUITE_P(Languages, KeelbrookScreenshots,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::keelbrook::test
