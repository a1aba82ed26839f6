#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "core/qt/QtPlatform.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora {
namespace {

MessageRequest message(const char* text, const char* title, MessageButtons buttons = MessageButtons::Ok,
                       MessageIcon icon = MessageIcon::None, int defaultButton = 0)
{
    return {QString::fromLatin1(text), QString::fromLatin1(title), buttons, icon, defaultButton};
}

// Scripted platform --------------------------------------------------------------------------------

struct DefaultRow {
    MessageButtons buttons;
    int defaultButton;
    MessageAnswer answer;
};

class DefaultAnswerTest : public ::testing::TestWithParam<DefaultRow> {};

TEST_P(DefaultAnswerTest, DefaultButtonGivesItsAnswer)
{
    const DefaultRow& row = GetParam();
    MessageRequest request;
    request.buttons = row.buttons;
    request.defaultButton = row.defaultButton;
    EXPECT_EQ(defaultAnswer(request), row.answer);
    ScriptedPlatform platform;
    EXPECT_EQ(platform.showMessage(request), row.answer);
}

INSTANTIATE_TEST_SUITE_P(Rows, DefaultAnswerTest,
                         ::testing::Values(DefaultRow{MessageButtons::Ok, 0, MessageAnswer::Ok},
                                           DefaultRow{MessageButtons::OkCancel, 1, MessageAnswer::Cancel},
                                           DefaultRow{MessageButtons::YesNo, 0, MessageAnswer::Yes},
                                           DefaultRow{MessageButtons::YesNo, 1, MessageAnswer::No},
                                           DefaultRow{MessageButtons::YesNoCancel, 2, MessageAnswer::Cancel},
                                           DefaultRow{MessageButtons::RetryCancel, 0, MessageAnswer::Retry},
                                           DefaultRow{MessageButtons::AbortRetryIgnore, 2,
                                                      MessageAnswer::Ignore}));

TEST(ScriptedPlatformTest, AnswersFromTheScriptInOrderAndRecords)
{
    ScriptedPlatform platform;
    platform.answerNextMessage(MessageAnswer::No);
    platform.answerNextOpenFile(QStringLiteral("/data/one.ini"));
    platform.answerNextSaveFile(std::nullopt);
    platform.answerNextColour(0x00FF8000);

    EXPECT_EQ(platform.showMessage(message("Save?", "Valdora", MessageButtons::YesNo)), MessageAnswer::No);
    // The script is used up: the next box takes its default button.
    EXPECT_EQ(platform.showMessage(message("Again?", "", MessageButtons::YesNo)), MessageAnswer::Yes);
    EXPECT_EQ(platform.askOpenFile({}), std::optional<QString>(QStringLiteral("/data/one.ini")));
    EXPECT_EQ(platform.askOpenFile({}), std::nullopt);
    EXPECT_EQ(platform.askSaveFile({}), std::nullopt);
    EXPECT_EQ(platform.askColour(0), std::optional<quint32>(0x00FF8000));
    EXPECT_EQ(platform.askColour(0), std::nullopt);
    platform.setClipboardText(QStringLiteral("[12]"));
    EXPECT_TRUE(
        platform.startProgram({QStringLiteral("pb.exe"), {QStringLiteral("1")}, QStringLiteral("/opt")}));
    platform.setProgramStartsSucceed(false);
    EXPECT_FALSE(platform.openDocument(QStringLiteral("/missing/manual.pdf")));

    EXPECT_EQ(platform.messageTexts(), (QStringList{QStringLiteral("Save?"), QStringLiteral("Again?")}));
    EXPECT_EQ(platform.messages().front().title, QStringLiteral("Valdora"));
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("[12]"));
    ASSERT_EQ(platform.startedPrograms().size(), 1);
    EXPECT_EQ(platform.startedPrograms().front().program, QStringLiteral("pb.exe"));
    EXPECT_EQ(platform.startedPrograms().front().arguments, QStringList{QStringLiteral("1")});
    EXPECT_EQ(platform.startedPrograms().front().workingFolder, QStringLiteral("/opt"));
    EXPECT_EQ(platform.openedDocuments(), QStringList{QStringLiteral("/missing/manual.pdf")});

    platform.clearRecord();
    EXPECT_TRUE(platform.messages().isEmpty());
    EXPECT_TRUE(platform.startedPrograms().isEmpty());
    EXPECT_TRUE(platform.clipboardText().isEmpty());
}

// Program starts -----------------------------------------------------------------------------------

/// Writes a small shell script that records its arguments into "started.txt" of its working folder.
QString writeRecorder(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("record.sh"));
    test::writeFile(path, "#!/bin/sh\necho \"$@\" > started.txt\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

bool waitForFile(const QString& path)
{
    for (int i = 0; i < 200 && !QFile::exists(path); ++i)
        QTest::qWait(25);
    QTest::qWait(50);
    return QFile::exists(path);
}

TEST(StartDetachedTest, StartsWithArgumentsInTheWorkingFolder)
{
    const QTemporaryDir program;
    const QTemporaryDir working;
    const QString recorder = writeRecorder(program.path());
    ScriptedPlatform platform;
    platform.setReallyStartPrograms(true);
    EXPECT_TRUE(
        platform.startProgram({recorder, {QStringLiteral("*"), QStringLiteral("~100.ini")}, working.path()}));
    const QString output = QDir(working.path()).filePath(QStringLiteral("started.txt"));
    ASSERT_TRUE(waitForFile(output));
    EXPECT_EQ(test::readFile(output), QByteArray("* ~100.ini\n"));
}

TEST(StartDetachedTest, ABareNameIsLookedUpInTheWorkingFolder)
{
    const QTemporaryDir working;
    writeRecorder(working.path());
    EXPECT_TRUE(startDetached({QStringLiteral("record.sh"), {QStringLiteral("/w5")}, working.path()}));
    const QString output = QDir(working.path()).filePath(QStringLiteral("started.txt"));
    ASSERT_TRUE(waitForFile(output));
    EXPECT_EQ(test::readFile(output), QByteArray("/w5\n"));
}

struct FailedStartRow {
    const char* name;
    const char* program;
    const char* workingFolder;
};

class FailedStartTest : public ::testing::TestWithParam<FailedStartRow> {};

TEST_P(FailedStartTest, ReportedAsFailure)
{
    const QTemporaryDir folder;
    const QString notExecutable = QDir(folder.path()).filePath(QStringLiteral("notes.txt"));
    test::writeFile(notExecutable, "text");
    QString program = QString::fromLatin1(GetParam().program);
    program.replace(QStringLiteral("<notes>"), notExecutable);
    const ProgramStart start{program, {}, QString::fromLatin1(GetParam().workingFolder)};
    EXPECT_FALSE(startDetached(start));
    ScriptedPlatform scripted;
    scripted.setReallyStartPrograms(true);
    EXPECT_FALSE(scripted.startProgram(start));
    EXPECT_FALSE(QtPlatform().startProgram(start));
}

INSTANTIATE_TEST_SUITE_P(Rows, FailedStartTest,
                         ::testing::Values(FailedStartRow{"Empty", "", ""},
                                           FailedStartRow{"Missing", "/nonexistent/Keelbrook.exe", ""},
                                           FailedStartRow{"NotInPath", "NoSuchProgram.exe", ""},
                                           FailedStartRow{"NotExecutable", "<notes>", ""},
                                           FailedStartRow{"MissingWorkingFolder", "/bin/sh",
                                                          "/nonexistent/folder"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConsolePlatformTest, MessageIsOneLineOnStandardErrorAndTakesTheDefault)
{
    ConsolePlatform platform;
    ::testing::internal::CaptureStderr();
    const MessageAnswer answer = platform.showMessage(message(
        "Line one\r\nLine two\rthree", "ValdoraAuto", MessageButtons::OkCancel, MessageIcon::None, 1));
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, MessageAnswer::Cancel);
    EXPECT_EQ(printed, "ValdoraAuto: Line one / Line two / three\n");
    EXPECT_EQ(platform.askOpenFile({}), std::nullopt);
    EXPECT_EQ(platform.askColour(255), std::nullopt);
    EXPECT_FALSE(platform.openDocument(QStringLiteral("/tmp")));
}

// Qt platform --------------------------------------------------------------------------------------

struct FilterRow {
    const char* given;
    const char* qt;
};

class FileFilterTest : public ::testing::TestWithParam<FilterRow> {};

TEST_P(FileFilterTest, ConvertedToQtForm)
{
    EXPECT_EQ(qtFileFilter(QString::fromLatin1(GetParam().given)), QString::fromLatin1(GetParam().qt));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FileFilterTest,
    ::testing::Values(FilterRow{"Text (*.txt)|*.txt", "Text (*.txt)"},
                      FilterRow{"Settings (*.ini)|*.ini|All files (*.*)|*.*",
                                "Settings (*.ini);;All files (*.*)"},
                      FilterRow{"ContactHost databases|*.dbf;*.pad", "ContactHost databases (*.dbf *.pad)"},
                      FilterRow{"Programs (*.exe)|*.exe;*.bat", "Programs (*.exe *.bat)"}, FilterRow{"", ""},
                      FilterRow{"*.ini", "*.ini"}));

TEST(ColourNumberTest, BlueGreenRedOrder)
{
    EXPECT_EQ(colourFromNumber(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(colourFromNumber(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(colourFromNumber(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(numberFromColour(QColor(0x99, 0x66, 0x33)), 0x00336699u);
    EXPECT_EQ(numberFromColour(colourFromNumber(0x00C0C0C0)), 0x00C0C0C0u);
}

/// What a message box showed.
struct ShownBox {
    QString text;
    QString title;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    QMap<QMessageBox::StandardButton, QString> captions;
};

/// Clicks a button of the message box that is shown next, and records what the box showed.
void clickWhenShown(QMessageBox::StandardButton which, ShownBox& shown)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, which, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        shown.text = box->text();
        shown.title = box->windowTitle();
        shown.format = box->textFormat();
        shown.defaultButton =
            box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        for (QAbstractButton* button : box->buttons()) {
            shown.buttons << box->standardButton(button);
            shown.captions.insert(box->standardButton(button), button->text());
        }
        if (QAbstractButton* button = box->button(which))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            box->reject();
    });
    timer->start();
}

TEST(QtPlatformTest, MessageBoxShowsTheTextAsItIsAndReturnsTheClickedButton)
{
    QtPlatform platform;
    ShownBox shown;
    clickWhenShown(QMessageBox::No, shown);
    const MessageAnswer answer = platform.showMessage(message(
        "Save <Invoice> & close?\rSure?", "Valdora", MessageButtons::YesNoCancel, MessageIcon::Question, 1));
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(shown.text, QStringLiteral("Save <Invoice> & close?\nSure?"));
    EXPECT_EQ(shown.format, Qt::PlainText);
    EXPECT_EQ(shown.title, QStringLiteral("Valdora"));
    EXPECT_EQ(shown.buttons.size(), 3);
    EXPECT_TRUE(shown.buttons.contains(QMessageBox::Yes) && shown.buttons.contains(QMessageBox::Cancel));
    EXPECT_EQ(shown.defaultButton, QMessageBox::No);
}

TEST(QtPlatformTest, OkOnlyBox)
{
    QtPlatform platform;
    ShownBox shown;
    clickWhenShown(QMessageBox::Ok, shown);
    EXPECT_EQ(platform.showMessage(message("Done", "Valdora error")), MessageAnswer::Ok);
    EXPECT_EQ(shown.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

TEST(QtPlatformTest, ButtonsCarryTheProgramsCaptionsAndKeepTheirAnswers)
{
    QtPlatform platform;
    platform.setButtonCaptions([](MessageAnswer answer) {
        switch (answer) {
        case MessageAnswer::Yes:
            return QStringLiteral("&Oui");
        case MessageAnswer::No:
            return QStringLiteral("&Non");
        default:
            return QString();
        }
    });
    ShownBox shown;
    clickWhenShown(QMessageBox::No, shown);
    EXPECT_EQ(platform.showMessage(message("Continuer ?", "Valdora", MessageButtons::YesNoCancel)),
              MessageAnswer::No);
    EXPECT_EQ(shown.captions.value(QMessageBox::Yes), QStringLiteral("&Oui"));
    EXPECT_EQ(shown.captions.value(QMessageBox::No), QStringLiteral("&Non"));
    // No caption given: Qt's own.
    QMessageBox plain;
    EXPECT_EQ(shown.captions.value(QMessageBox::Cancel), plain.addButton(QMessageBox::Cancel)->text());
}

TEST(QtPlatformTest, ClipboardAndMissingDocument)
{
    QtPlatform platform;
    platform.setClipboardText(QStringLiteral("[25]"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("[25]"));
    EXPECT_FALSE(platform.openDocument(QStringLiteral("/nonexistent/readme.txt")));
}

// Program folder -----------------------------------------------------------------------------------

TEST(ProgramFolderTest, ReadOnceFromTheEnvironmentOrTheExecutable)
{
    const QString expected = qEnvironmentVariableIsEmpty("VALDORA_PROGRAM_FOLDER")
                                 ? QCoreApplication::applicationDirPath()
                                 : QDir::cleanPath(qEnvironmentVariable("VALDORA_PROGRAM_FOLDER"));
    EXPECT_EQ(programFolder(), QDir::toNativeSeparators(expected));
    EXPECT_FALSE(programFolder().endsWith(QDir::separator()));
    // Read once: a later change of the variable does not move the folder.
    const QString first = programFolder();
    qputenv("VALDORA_PROGRAM_FOLDER", "/elsewhere");
    EXPECT_EQ(programFolder(), first);
    qunsetenv("VALDORA_PROGRAM_FOLDER");
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/opt/valdora")), QStringLiteral("/opt/valdora/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/opt/valdora/")), QStringLiteral("/opt/valdora/"));
}

} // namespace
} // namespace valdora
