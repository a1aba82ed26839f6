// The bar's edit buttons open the real editor: a button made there is shown on the bar and runs into
// the contacts, a changed caption reaches its slot, the launch of Keelbrook from the editor saves
// the button and shuts the bar down for Keelbrook, and the editor's Options menu opens the bar's own
// start options and language windows.
#include "bar/startup/StartOptions.h"
#include "bar/windows/MainBar.h"
#include "bar/windows/WindowBarScreens.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "BarOnHostTest.h"
#include "BarScriptedScreens.h"
#include "RunningHostFactories.h"

#include "core/testsupport/QtPrinters.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "settings/ButtonFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

const QString Amount = QStringLiteral("Amount");

template <class Widget> Widget* in(QWidget& window, const QString& name)
{
    auto* widget = window.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

void choose(QWidget& window, const QString& list, const QString& entry)
{
    auto* box = in<QComboBox>(window, list);
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void type(QWidget& window, const QString& box, const QString& text)
{
    auto* edit = in<QLineEdit>(window, box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

/// A Multiply/Divide button of 3 x 4 into Amount, always overwriting, made in the editor's widgets.
void makeTimesButton(QWidget& editor, const QString& caption)
{
    type(editor, QStringLiteral("txtButtonName"), caption);
    in<QTabWidget>(editor, QStringLiteral("SSTab1"))->setCurrentIndex(3);
    in<QCheckBox>(editor, QStringLiteral("chkType_3"))->click();
    choose(editor, QStringLiteral("cmbTarget"), Amount);
    in<QRadioButton>(editor, QStringLiteral("optOver_3"))->click();
    type(editor, QStringLiteral("txtCalcTab3_0"), QStringLiteral("3"));
    type(editor, QStringLiteral("txtCalcTab3_1"), QStringLiteral("4"));
}

class EditorHookupTest : public test::BarOnHostTest {
protected:
    void SetUp() override
    {
        BarOnHostTest::SetUp();
        m_screens = std::make_unique<WindowBarScreens>(*m_session);
    }

    void TearDown() override
    {
        m_bar.reset();
        m_screens.reset();
        BarOnHostTest::TearDown();
    }

    MainBar& loadBar()
    {
        m_bar =
            std::make_unique<MainBar>(BarParts{*m_session, *m_screens, m_scopes, test::runningHostFactories(),
                                               std::make_unique<test::ScriptedIcon>(false)});
        m_ended = std::make_unique<QSignalSpy>(m_bar.get(), &MainBar::programEnded);
        EXPECT_TRUE(m_bar->Form_Load()) << m_platform.messageTexts().join(" | ").toStdString();
        m_screens->setBar(m_bar.get());
        return *m_bar;
    }

    QPushButton* fill(int slot) const
    {
        return m_bar->findChild<QPushButton*>(QStringLiteral("cmdButton_%1").arg(slot));
    }

    std::unique_ptr<WindowBarScreens> m_screens;
    run::FixedScopeChooser m_scopes{run::Scope::AllContacts};
    std::unique_ptr<MainBar> m_bar;
    std::unique_ptr<QSignalSpy> m_ended;
};

TEST_F(EditorHookupTest, AButtonMadeInTheEditorIsShownAndRunsIntoTheContacts)
{
    MainBar& bar = loadBar();
    ASSERT_EQ(bar.slotsShown(), 1);
    bool opened = false;
    valdora::test::inNextModal(QStringLiteral("frmSettings"), [&](QWidget& editor) {
        opened = true;
        EXPECT_EQ(in<QLineEdit>(editor, QStringLiteral("txtButtonName"))->text(), u"New");
        makeTimesButton(editor, QStringLiteral("Times"));
        QTest::mouseClick(in<QPushButton>(editor, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    QTest::mouseClick(in<QPushButton>(bar, QStringLiteral("cmdOptions_0")), Qt::LeftButton);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(bar.newButton());
    EXPECT_EQ(bar.buttonFiles(), QStringList{QStringLiteral("~100.ini")});
    EXPECT_EQ(bar.slotsShown(), 2);
    EXPECT_EQ(fill(0)->text(), u"Times");
    EXPECT_EQ(fill(1)->text(), u"New");

    QTest::mouseClick(fill(0), Qt::LeftButton);
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
}

TEST_F(EditorHookupTest, AChangedCaptionReachesItsSlotAndCancelChangesNothing)
{
    const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), "~100.ini");
    for (const auto& [key, value] : QList<QPair<QString, QString>>{{"Name", "Times"},
                                                                   {"Type", "3"},
                                                                   {"Target", Amount},
                                                                   {"CalcTextOption0", "1"},
                                                                   {"CalcText0", "3"},
                                                                   {"CalcTextOption1", "1"},
                                                                   {"CalcText1", "4"}})
        ASSERT_TRUE(button.write(key, value));
    MainBar& bar = loadBar();
    valdora::test::inNextModal(QStringLiteral("frmSettings"), [](QWidget& editor) {
        EXPECT_EQ(in<QPushButton>(editor, QStringLiteral("cmdOK"))->text(), u"Apply");
        type(editor, QStringLiteral("txtButtonName"), QStringLiteral("Cancelled"));
        QTest::mouseClick(in<QPushButton>(editor, QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    bar.cmdOptions_Click(0);
    EXPECT_EQ(button.read("Name"), u"Times");
    EXPECT_EQ(fill(0)->text(), u"Times");

    valdora::test::inNextModal(QStringLiteral("frmSettings"), [](QWidget& editor) {
        type(editor, QStringLiteral("txtButtonName"), QStringLiteral("Twelve"));
        QTest::mouseClick(in<QPushButton>(editor, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    bar.cmdOptions_Click(0);
    EXPECT_EQ(button.read("Name"), u"Twelve");
    EXPECT_EQ(fill(0)->text(), u"Twelve");
    EXPECT_EQ(bar.slotsShown(), 2);
}

TEST_F(EditorHookupTest, LaunchingKeelbrookFromTheEditorSavesAndEndsForKeelbrook)
{
    MainBar& bar = loadBar();
    valdora::test::inNextModal(QStringLiteral("frmSettings"), [](QWidget& editor) {
        makeTimesButton(editor, QStringLiteral("Times"));
        valdora::test::inNextModal(QStringLiteral("frmTrigger"), [](QWidget& trigger) {
            QTest::mouseClick(in<QPushButton>(trigger, QStringLiteral("cmdKeelbrook")), Qt::LeftButton);
        });
        QTest::mouseClick(in<QPushButton>(editor, QStringLiteral("cmdTrigger")), Qt::LeftButton);
    });
    bar.cmdOptions_Click(0);
    EXPECT_TRUE(bar.flags().launchKeelbrook);
    EXPECT_TRUE(QFileInfo::exists(m_session->buttonFilePath("~100.ini")));
    EXPECT_EQ(store().get(Application::Keelbrook, "Settings", "LastDB"), m_database);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_ended->count() > 0; }, 10000))
        << "timed out waiting for: m_ended->count() > 0";
    ASSERT_FALSE(m_platform.startedPrograms().isEmpty());
    const ProgramStart& started = m_platform.startedPrograms().constLast();
    EXPECT_TRUE(started.program.endsWith(QStringLiteral("Keelbrook.exe"))) << started.program.toStdString();
    EXPECT_EQ(started.arguments, QStringList{QStringLiteral("/w5")});
}

TEST_F(EditorHookupTest, TheEditorsOptionsMenuOpensTheBarsStartOptionsAndLanguageWindows)
{
    MainBar& bar = loadBar();
    bool startShown = false;
    bool languageShown = false;
    valdora::test::inNextModal(QStringLiteral("frmSettings"), [&](QWidget& editor) {
        valdora::test::inNextModal(QStringLiteral("frmStart"), [&](QWidget& start) {
            startShown = true;
            in<QRadioButton>(start, QStringLiteral("optStart_1"))->click();
            QTest::mouseClick(in<QPushButton>(start, QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        in<QAction>(editor, QStringLiteral("mnuStart"))->trigger();
        valdora::test::inNextModal(QStringLiteral("frmLanguage"), [&](QWidget& language) {
            languageShown = true;
            in<QComboBox>(language, QStringLiteral("cmbLanguage"))->setCurrentIndex(2);
            QTest::mouseClick(in<QPushButton>(language, QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        in<QAction>(editor, QStringLiteral("mnuLanguage"))->trigger();
        QTest::mouseClick(in<QPushButton>(editor, QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    bar.cmdOptions_Click(0);
    EXPECT_TRUE(startShown);
    EXPECT_TRUE(languageShown);
    EXPECT_TRUE(loadStartOptions(store()).startInTray);
    // The bar keeps its language until the next start, and says so.
    EXPECT_EQ(m_session->messages().languageBase(), 300);
    EXPECT_TRUE(m_platform.messageTexts().contains(
        QStringLiteral("You need to re-start Valdora for changes to take effect.")))
        << m_platform.messageTexts().join(" | ").toStdString();
}

} // namespace
} // namespace valdora::bar
