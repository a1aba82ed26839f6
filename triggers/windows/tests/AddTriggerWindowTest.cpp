// The add window offscreen: its texts in the three languages, its lists, the two refusals that keep
// it open, and the triggers Create writes, through the real conflict window where one is asked.
#include "triggers/windows/AddTriggerWindow.h"

#include "triggers/tests/FakeFields.h"

#include "core/ErrorReport.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "settings/ButtonFile.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::triggers::test {
namespace {

using valdora::test::Language;
using valdora::test::rowText;

const QString Folder = QStringLiteral("/opt/Keelbrook");
const QString Macro = QStringLiteral("/home/u/macros/fill.mpr");
const QString SelectField = QStringLiteral("You need to select a field!");
const QString SelectTarget = QStringLiteral("You need to select a program or a Valdora button!");

template <typename T> T* child(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

class AddTriggerWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + u'/';
        button(QStringLiteral("~100.ini"), QStringLiteral("Number"));
        button(QStringLiteral("~101.ini"), QStringLiteral("Elsewhere"), QStringLiteral("Other.dbf"));
        button(QStringLiteral("~102.ini"), QStringLiteral("Date"), QStringLiteral("Contacts.dbf"));
        m_fields.add(25, 1, QStringLiteral("Company"));
        m_fields.add(26, 1, QStringLiteral("Contact"));
        m_fields.add(125, 1, QStringLiteral("Own"));
        m_fields.add(140, 13, QStringLiteral("Manager"));
        m_fields.add(300, 8, QStringLiteral("Birthday"));
    }
    void button(const QString& fileName, const QString& name, const QString& database = {})
    {
        const ButtonFile file = ButtonFile::inFolder(m_ini, m_folder, fileName);
        ASSERT_TRUE(file.write(ButtonKey::Name, name));
        if (!database.isEmpty()) {
            ASSERT_TRUE(file.write(ButtonKey::LimitedToDB, database));
        }
    }
    AddTriggerContext context()
    {
        return {m_messages, m_platform, QStringLiteral("Keelbrook"),          m_fields,
                m_ini,      m_folder,   QStringLiteral("/data/Contacts.dbf"), QStringLiteral("Contacts.dbf"),
                Folder,     m_trace};
    }
    static void show(QDialog& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    }
    static void pick(QWidget& window, const char* list, int index)
    {
        child<QComboBox>(window, list)->setCurrentIndex(index);
    }

    Messages m_messages{MessageTable::keelbrook(), 300};
    ScriptedPlatform m_platform;
    ErrorReporter m_reporter{m_platform, QStringLiteral("Keelbrook"), [] { return QString(); }};
    IniLib m_ini{m_reporter};
    QTemporaryDir m_dir;
    QString m_folder;
    FakeFields m_fields;
    KeelbrookTrace m_trace;
};

TEST_F(AddTriggerWindowTest, OpensOnExitAndProgramWithTheListsOfTheDatabase)
{
    AddTriggerWindow window(context());
    EXPECT_EQ(window.objectName(), u"frmAdd");
    EXPECT_EQ(child<QLineEdit>(window, "txtDB")->text(), u"/data/Contacts.dbf");
    EXPECT_TRUE(child<QRadioButton>(window, "optType_1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(window, "optType_0")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window, "optProgram_0")->isChecked());
    EXPECT_EQ(child<QLineEdit>(window, "txtProgram")->text(), rowText(valdora::test::English, 542));
    auto* fields = child<QComboBox>(window, "cmbField");
    QStringList fieldLabels;
    for (int i = 0; i < fields->count(); ++i)
        fieldLabels << fields->itemText(i);
    EXPECT_EQ(fieldLabels, (QStringList{"Company", "Contact", "Birthday"}));
    EXPECT_EQ(fields->currentIndex(), -1);
    auto* buttons = child<QComboBox>(window, "cmbButton");
    QStringList buttonNames;
    for (int i = 0; i < buttons->count(); ++i)
        buttonNames << buttons->itemText(i);
    EXPECT_EQ(buttonNames, (QStringList{"Number", "Date"}));
    EXPECT_EQ(buttons->currentIndex(), -1);
    EXPECT_EQ(m_trace.path(), u"Form_Load/Field_List/Get_Buttons/");
}

class AddTriggerWindowTexts : public AddTriggerWindowTest, public ::testing::WithParamInterface<Language> {};

TEST_P(AddTriggerWindowTexts, ComeFromTheLanguagesRowsAndFit)
{
    const Language& language = GetParam();
    m_messages = Messages(MessageTable::keelbrook(), language.base);
    AddTriggerWindow window(context());
    EXPECT_EQ(window.windowTitle(), rowText(language, 545));
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), rowText(language, 535));
    EXPECT_EQ(child<QGroupBox>(window, "Frame3")->title(), rowText(language, 536));
    EXPECT_EQ(child<QGroupBox>(window, "Frame2")->title(), rowText(language, 537));
    EXPECT_EQ(child<QRadioButton>(window, "optType_0")->text(), rowText(language, 538));
    EXPECT_EQ(child<QRadioButton>(window, "optType_1")->text(), rowText(language, 539));
    EXPECT_EQ(child<QGroupBox>(window, "Frame1")->title(), rowText(language, 540));
    EXPECT_EQ(child<QRadioButton>(window, "optProgram_0")->text(), rowText(language, 541));
    EXPECT_EQ(child<QLineEdit>(window, "txtProgram")->text(), rowText(language, 542));
    EXPECT_EQ(child<QRadioButton>(window, "optProgram_1")->text(), rowText(language, 543));
    EXPECT_EQ(child<QPushButton>(window, "cmdBrowse")->text(), u"...");
    EXPECT_EQ(child<QPushButton>(window, "cmdAddTrigger")->text(), rowText(language, 544));
    EXPECT_EQ(child<QPushButton>(window, "cmdCancel")->text(), rowText(language, 302));
    show(window);
    valdora::test::expectNothingClipped(window);
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>())
        EXPECT_LE(frame->fontMetrics().horizontalAdvance(frame->title()) + 16, frame->width())
            << frame->objectName().toStdString();
    auto* hint = child<QLineEdit>(window, "txtProgram");
    EXPECT_LE(hint->fontMetrics().horizontalAdvance(hint->text()) + 8, hint->width());
    const QStringList order{"cmbField",  "optType_0",    "optType_1", "optProgram_0",  "txtProgram",
                            "cmdBrowse", "optProgram_1", "cmbButton", "cmdAddTrigger", "cmdCancel"};
    EXPECT_EQ(valdora::test::tabOrder(*child<QWidget>(window, "cmbField"), order), order);
    valdora::test::saveScreenshot(window, QStringLiteral("frmAdd_") + QString::fromLatin1(language.name));
}

INSTANTIATE_TEST_SUITE_P(Triggers, AddTriggerWindowTexts,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return info.param.name; });

TEST_F(AddTriggerWindowTest, TheListAndTheProgramBoxChooseTheirOption)
{
    AddTriggerWindow window(context());
    show(window);
    child<QComboBox>(window, "cmbButton")->setFocus();
    QTRY_VERIFY(child<QRadioButton>(window, "optProgram_1")->isChecked());
    child<QLineEdit>(window, "txtProgram")->setFocus();
    QTRY_VERIFY(child<QRadioButton>(window, "optProgram_0")->isChecked());
    child<QComboBox>(window, "cmbButton")->setFocus();
    QTRY_VERIFY(child<QRadioButton>(window, "optProgram_1")->isChecked());
    m_platform.answerNextOpenFile(std::nullopt);
    valdora::test::click(window, QStringLiteral("cmdBrowse"));
    EXPECT_TRUE(child<QRadioButton>(window, "optProgram_0")->isChecked());
}

/// What is chosen before Create is clicked, when Create refuses and the window stays open.
struct RefusalCase {
    const char* name;
    int field;          ///< the entry of the field list, -1: none
    int button;         ///< the entry of the button list, -1: none
    bool programOption; ///< whether the program option is chosen again after the list
    QString message;
};

class AddTriggerRefusal : public AddTriggerWindowTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(AddTriggerRefusal, KeepsTheWindowOpenAndWritesNothing)
{
    const RefusalCase& row = GetParam();
    AddTriggerWindow window(context());
    show(window);
    if (row.field >= 0)
        pick(window, "cmbField", row.field);
    if (row.button >= 0)
        pick(window, "cmbButton", row.button);
    if (row.programOption)
        child<QRadioButton>(window, "optProgram_0")->setChecked(true);
    valdora::test::click(window, QStringLiteral("cmdAddTrigger"));
    EXPECT_EQ(m_platform.messageTexts(), QStringList{row.message});
    EXPECT_EQ(m_platform.messages().at(0).title, u"Keelbrook");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(m_fields.at(25).exit, u"");
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, AddTriggerRefusal,
    ::testing::Values(RefusalCase{"RightAfterOpeningAsksForAProgramOrButton", 0, -1, false, SelectTarget},
                      RefusalCase{"WithoutAFieldAsksForOne", -1, 0, false, SelectField},
                      // A button picked earlier does not make the hint a program to write.
                      RefusalCase{"AButtonPickedEarlierDoesNotWriteTheHint", 0, 0, true, SelectTarget}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddTriggerWindowTest, ABrowsedMacroBecomesTheEntryTrigger)
{
    AddTriggerWindow window(context());
    show(window);
    pick(window, "cmbField", 2);
    valdora::test::click(window, QStringLiteral("optType_0"));
    m_platform.answerNextOpenFile(Macro);
    valdora::test::click(window, QStringLiteral("cmdBrowse"));
    EXPECT_EQ(child<QLineEdit>(window, "txtProgram")->text(), Macro);
    valdora::test::click(window, QStringLiteral("cmdAddTrigger"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(m_fields.at(300).entry, Macro);
    EXPECT_EQ(m_fields.at(300).exit, u"");
    EXPECT_EQ(window.created(), (RememberedTrigger{300, TriggerKind::Entry, Macro}));
    EXPECT_TRUE(m_trace.path().endsWith(u"cmdAddTrigger/check_trigger(300)/"));
    EXPECT_EQ(m_trace.currently(), 4);
}

struct RunRow {
    const char* name;
    QString current;
    const char* conflictButton; // clicked in the conflict window when it opens
    QString stored;
    bool created;
};

class AddTriggerRun : public AddTriggerWindowTest, public ::testing::WithParamInterface<RunRow> {};

TEST_P(AddTriggerRun, CreatesThroughTheConflictWindow)
{
    const RunRow& row = GetParam();
    m_fields.at(26).exit = row.current;
    valdora::test::inNextModal([this](QWidget& window) {
        pick(window, "cmbField", 1);
        pick(window, "cmbButton", 1);
        child<QRadioButton>(window, "optProgram_1")->setChecked(true);
        // A field without a trigger asks nothing: no conflict window opens to be answered.
        if (*GetParam().conflictButton != '\0')
            valdora::test::inNextModal([](QWidget& conflict) {
                valdora::test::click(conflict, QString::fromLatin1(GetParam().conflictButton));
            });
        valdora::test::click(window, QStringLiteral("cmdAddTrigger"));
    });
    const std::optional<RememberedTrigger> created = AddTriggerWindow::run(context());
    EXPECT_EQ(m_fields.at(26).exit, row.stored);
    const std::optional<RememberedTrigger> expected =
        row.created ? std::optional(RememberedTrigger{26, TriggerKind::Exit, row.stored}) : std::nullopt;
    EXPECT_EQ(created, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, AddTriggerRun,
    ::testing::Values(RunRow{"EmptyField", "", "", "/opt/Keelbrook/ValdoraAuto.exe ~102", true},
                      RunRow{"AddToQueue", "/opt/Keelbrook/ValdoraAuto.exe ~100", "cmdAdd",
                             "/opt/Keelbrook/ValdoraAuto.exe ~100,~102", true},
                      RunRow{"Overwrite", "/opt/Keelbrook/ValdoraAuto.exe ~100", "cmdOverwrite",
                             "/opt/Keelbrook/ValdoraAuto.exe ~102", true},
                      RunRow{"Cancel", "/opt/Keelbrook/ValdoraAuto.exe ~100", "cmdCancel",
                             "/opt/Keelbrook/ValdoraAuto.exe ~100", false}),
    [](const auto& info) { return info.param.name; });

TEST_F(AddTriggerWindowTest, TheCloseBoxIsACancel)
{
    m_fields.at(25).exit = Macro;
    valdora::test::inNextModal([](QWidget& window) {
        pick(window, "cmbField", 0);
        pick(window, "cmbButton", 0);
        window.close();
    });
    EXPECT_EQ(AddTriggerWindow::run(context()), std::nullopt);
    EXPECT_EQ(m_fields.at(25).exit, Macro);
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(AddTriggerWindowTest, AFailedWriteLeavesWithTheWindow)
{
    m_fields.add(40, 1, QStringLiteral("Gone"));
    valdora::test::inNextModal([this](QWidget& window) {
        auto* fields = child<QComboBox>(window, "cmbField");
        fields->setCurrentIndex(fields->findText(QStringLiteral("Gone")));
        // The host loses the field between the listing and the write.
        m_fields = FakeFields();
        child<QRadioButton>(window, "optProgram_1")->setChecked(true);
        pick(window, "cmbButton", 0);
        valdora::test::click(window, QStringLiteral("cmdAddTrigger"));
    });
    EXPECT_THROW(AddTriggerWindow::run(context()), host::HostFailure);
    EXPECT_TRUE(m_trace.path().endsWith(u"cmdAddTrigger/"));
}

} // namespace
} // namespace valdora::triggers::test
