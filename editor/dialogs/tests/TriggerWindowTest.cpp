// The trigger choice: its texts, the hand-over to Keelbrook that stores the open database for it,
// a failure that keeps the window open, and the plain close.
#include "DialogTestSupport.h"

#include "editor/dialogs/TriggerWindow.h"

#include "core/Failure.h"
#include "core/testsupport/ReportedError.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace valdora::editor::test {
namespace {

const QString SalesPath = QStringLiteral("C:\\ContactHost\\Database\\Sales.dbf");

std::function<QString()> openDatabase(QString path)
{
    return [path] { return path; };
}

QString lastDatabase(const DialogSession& dialogs)
{
    return dialogs.session.userSettings().get(Application::Keelbrook, QStringLiteral("Settings"),
                                              QStringLiteral("LastDB"), QStringLiteral("<absent>"));
}

QString text(const QWidget& window, const QString& name)
{
    if (const auto* label = window.findChild<QLabel*>(name))
        return label->text();
    if (const auto* button = window.findChild<QPushButton*>(name))
        return button->text();
    if (const auto* frame = window.findChild<QGroupBox*>(name))
        return frame->title();
    return QStringLiteral("<no %1>").arg(name);
}

TEST(TriggerWindow, EnglishTextsAreTheSystemsOwn)
{
    DialogSession dialogs;
    TriggerWindow window(dialogs.session, openDatabase(SalesPath));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmTrigger"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Manual or automatic ?"));
    EXPECT_EQ(text(window, "Label1"), QStringLiteral("There are two ways to fire up your buttons"));
    EXPECT_EQ(text(window, "fraManual"), QStringLiteral("1. Manual mode"));
    EXPECT_EQ(
        text(window, "lblManual"),
        QStringLiteral("The first way is to simply click the button in the Valdora toolbar. Once you click "
                       "the 'Add button' button in the previous screen, you are all set."));
    EXPECT_EQ(text(window, "fraAutomatic"), QStringLiteral("2. Automatic Mode"));
    EXPECT_EQ(
        text(window, "lblAutomatic"),
        QStringLiteral(
            "The second way is to instruct ContactHost to trigger the button when you enter or exit a "
            "field of your choice. For instance: if you define a button to perform the following "
            "calculation: FieldB = FieldA x 5%, you might want to have ContactHost automatically trigger "
            "it when you exit FieldA so that FieldB is automatically updated."));
    EXPECT_EQ(
        text(window, "lblTriggerSetup"),
        QStringLiteral(
            "To set this up, you will need to exit ContactHost and run the \"Keelbrook\" utility which is "
            "included with Valdora or click the button below."));
    EXPECT_EQ(text(window, "cmdKeelbrook"), QStringLiteral("Launch \"Keelbrook\""));
    EXPECT_EQ(text(window, "Label2"),
              QStringLiteral("Clicking the above button will save your current settings, "
                             "close ContactHost and launch the Keelbrook."));
    EXPECT_EQ(text(window, "lblManualStillPossible"),
              QStringLiteral("Even if you choose to add a trigger to a field, you still have the option to "
                             "manually fire up the button from the Valdora toolbar."));
    EXPECT_EQ(text(window, "Command1"), QStringLiteral("&Close"));
}

TEST(TriggerWindow, KeelbrookStoresTheOpenDatabaseAndHandsOver)
{
    DialogSession dialogs;
    // An earlier database is replaced.
    ASSERT_TRUE(dialogs.session.userSettings().set(Application::Keelbrook, QStringLiteral("Settings"),
                                                   QStringLiteral("LastDB"), QStringLiteral("/old.dbf")));
    TriggerWindow window(dialogs.session, openDatabase(SalesPath));
    showAndWait(window);
    click(window, QStringLiteral("cmdKeelbrook"));
    EXPECT_EQ(lastDatabase(dialogs), SalesPath);
    EXPECT_EQ(window.answer(), TriggerWindow::Answer::LaunchKeelbrook);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.platform.messageTexts().isEmpty());
    EXPECT_TRUE(dialogs.platform.startedPrograms().isEmpty())
        << "the shutdown starts Keelbrook, not the window";
}

TEST(TriggerWindow, ChooseAnswersHowTheWindowClosed)
{
    struct Case {
        const char* closer;
        TriggerWindow::Answer answer;
    };
    for (const Case& row :
         {Case{"cmdKeelbrook", TriggerWindow::Answer::LaunchKeelbrook},
          Case{"Command1", TriggerWindow::Answer::Closed}, Case{"closeBox", TriggerWindow::Answer::Closed}}) {
        DialogSession dialogs;
        bool modal = false;
        inNextModal([&modal, closer = QLatin1String(row.closer)](QWidget& window) {
            modal = window.isModal() && window.objectName() == QStringLiteral("frmTrigger");
            if (closer == QLatin1String("closeBox"))
                window.close();
            else
                click(window, closer);
        });
        EXPECT_EQ(TriggerWindow::choose(dialogs.session, openDatabase(SalesPath)), row.answer) << row.closer;
        EXPECT_TRUE(modal) << row.closer;
        EXPECT_EQ(lastDatabase(dialogs), row.answer == TriggerWindow::Answer::LaunchKeelbrook
                                             ? SalesPath
                                             : QStringLiteral("<absent>"))
            << row.closer;
    }
}

struct FailureCase {
    const char* name;
    bool pathFails;
    bool storeFails;
    int error;
};

void PrintTo(const FailureCase& row, std::ostream* out)
{
    *out << row.name;
}

class TriggerWindowFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(TriggerWindowFailure, IsReportedAndTheWindowStaysOpen)
{
    const FailureCase& row = GetParam();
    valdora::test::TemporaryUserSettings folder;
    // A store whose folder is a file cannot be written.
    const QString blocked = folder.path() + QStringLiteral("/blocked");
    if (row.storeFails) {
        QFile file(blocked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ScriptedPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), QStringLiteral("/opt/Valdora/"),
                           UserSettings(row.storeFails ? blocked : folder.path()));
    std::function<QString()> path = openDatabase(SalesPath);
    if (row.pathFails)
        path = []() -> QString { throw Failure(ErrorNumber::ObjectNotSet); };
    TriggerWindow window(session, path);
    showAndWait(window);
    click(window, QStringLiteral("cmdKeelbrook"));

    ASSERT_EQ(platform.messageTexts().size(), 1);
    const QString report = platform.messageTexts().front();
    EXPECT_TRUE(valdora::test::reportsError(row.error, report));
    EXPECT_TRUE(report.contains(QStringLiteral("in frmTrigger: Sub cmdKeelbrook_Click - Line # ")))
        << report.toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.answer(), TriggerWindow::Answer::Closed);
    EXPECT_EQ(session.userSettings().get(Application::Keelbrook, QStringLiteral("Settings"),
                                         QStringLiteral("LastDB"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
    click(window, QStringLiteral("Command1"));
    EXPECT_EQ(window.answer(), TriggerWindow::Answer::Closed);
}

INSTANTIATE_TEST_SUITE_P(Failures, TriggerWindowFailure,
                         ::testing::Values(FailureCase{"NoOpenDatabase", true, false, 91},
                                           FailureCase{"StoreNotWritable", false, true, 75}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TriggerWindow, TabVisitsKeelbrookThenClose)
{
    DialogSession dialogs;
    TriggerWindow window(dialogs.session, openDatabase(SalesPath));
    showAndWait(window);
    const QStringList wanted{QStringLiteral("cmdKeelbrook"), QStringLiteral("Command1")};
    EXPECT_EQ(tabOrder(*window.findChild<QWidget*>(QStringLiteral("cmdKeelbrook")), wanted), wanted);
}

class TriggerWindowLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(TriggerWindowLanguage, CaptionsComeFromTheTableAndFit)
{
    const Language& language = GetParam();
    DialogSession dialogs(language.base);
    TriggerWindow window(dialogs.session, openDatabase(SalesPath));
    showAndWait(window);
    EXPECT_EQ(window.windowTitle(), rowText(language, 559));
    EXPECT_EQ(text(window, "Label1"), rowText(language, 497));
    EXPECT_EQ(text(window, "fraManual"), rowText(language, 498));
    EXPECT_EQ(text(window, "lblManual"), rowText(language, 499));
    EXPECT_EQ(text(window, "fraAutomatic"), rowText(language, 500));
    EXPECT_EQ(text(window, "lblAutomatic"), rowText(language, 501));
    EXPECT_EQ(text(window, "lblTriggerSetup"), rowText(language, 502));
    EXPECT_EQ(text(window, "cmdKeelbrook"), rowText(language, 503));
    EXPECT_EQ(text(window, "Label2"), rowText(language, 504));
    EXPECT_EQ(text(window, "lblManualStillPossible"), rowText(language, 505));
    EXPECT_EQ(text(window, "Command1"), rowText(language, 317));
    expectNothingClipped(window);
    EXPECT_LE(window.height(), 700);
    saveScreenshot(window, QStringLiteral("frmTrigger-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, TriggerWindowLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::editor::test
