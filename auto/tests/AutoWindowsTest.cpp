// ValdoraAuto's three windows under the offscreen platform: their controls and texts, their answers,
// their timers, and a screenshot of each for a person to look at.
#include "auto/WarningTexts.h"
#include "auto/windows/AutoConfirmWindow.h"
#include "auto/windows/AutoSplashWindow.h"
#include "auto/windows/DoneWindow.h"
#include "auto/windows/WindowWarningScreens.h"
#include "core/testsupport/QtPrinters.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora::autorun {
namespace {

ConfirmationTexts englishConfirmation()
{
    return confirmationTexts(Messages(), QStringLiteral("Contact"), QStringLiteral("Next Invoice"));
}

QString labelText(const QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

/// Clicks a button of the modal window that is about to open, once it is open.
void clickInNextModal(const char* buttonName)
{
    valdora::test::inNextModal(
        [buttonName](QWidget& modal) { valdora::test::click(modal, QString::fromLatin1(buttonName)); });
}

TEST(AutoConfirmWindowTest, ShowsTheTextsInItsNamedControls)
{
    AutoConfirmWindow window(englishConfirmation());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";

    EXPECT_EQ(window.objectName(), QStringLiteral("frmAutoConfirm"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Valdora Optional Confirmation"));
    EXPECT_EQ(labelText(window, "Label1"),
              QStringLiteral("You have set Valdora to automatically update the following field :"));
    EXPECT_EQ(labelText(window, "Label2"), QStringLiteral("Contact"));
    EXPECT_EQ(labelText(window, "Label3"), QStringLiteral("Do you want to proceed ?"));
    EXPECT_EQ(labelText(window, "Label5"), QStringLiteral("NOTE :"));
    EXPECT_EQ(labelText(window, "Label4"),
              QStringLiteral("To get rid of this confirmation screen, launch Valdora "
                             "and go to the Settings screen of the Next Invoice button."));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdYes"))->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("cmdNo"))->text(), QStringLiteral("&No"));
    // Small and tidy: every text fits without the window growing past a modest size.
    EXPECT_LE(window.width(), 520);
    EXPECT_LE(window.height(), 320);
    valdora::test::saveScreenshot(window, QStringLiteral("frmAutoConfirm"));
}

struct AnswerCase {
    const char* name;
    const char* button; ///< nullptr: the close box
    bool answer;
};

class AutoConfirmAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AutoConfirmAnswerTest, AnswersAndCloses)
{
    const AnswerCase& row = GetParam();
    AutoConfirmWindow window(englishConfirmation());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    if (row.button)
        QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(row.button)), Qt::LeftButton);
    else
        window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.answer(), row.answer);
}

INSTANTIATE_TEST_SUITE_P(Buttons, AutoConfirmAnswerTest,
                         ::testing::Values(AnswerCase{"Yes", "cmdYes", true},
                                           AnswerCase{"No", "cmdNo", false},
                                           AnswerCase{"CloseBox", nullptr, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowWarningScreensTest, ConfirmationIsModalAndReturnsTheAnswer)
{
    WindowWarningScreens screens;
    clickInNextModal("cmdYes");
    EXPECT_TRUE(screens.confirm(englishConfirmation()));
    clickInNextModal("cmdNo");
    EXPECT_FALSE(screens.confirm(englishConfirmation()));
}

TEST(AutoSplashWindowTest, GreyBarStepsToTheEndAndTheNoticeClosesAfterASecond)
{
    AutoSplashWindow window(noticeTexts(Messages(), QStringLiteral("Contact")));
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("pb"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->palette().color(QPalette::Highlight), QColor(128, 128, 128));
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Valdora Automatic Update"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Valdora Automatic Update"))
        << "not the program's file name";
    EXPECT_EQ(labelText(window, "Label3"), QStringLiteral("Updating Contact..."));
    QList<int> values;
    QObject::connect(bar, &QProgressBar::valueChanged, [&values](int value) { values << value; });
    QTimer::singleShot(550,
                       [&window] { valdora::test::saveScreenshot(window, QStringLiteral("frmAutoSplash")); });

    QElapsedTimer timer;
    timer.start();
    window.exec();
    const qint64 shown = timer.elapsed();

    EXPECT_GE(shown, 950);
    EXPECT_LT(shown, 10000) << "the notice did not close by itself";
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.first(), 20);
    for (qsizetype i = 1; i < values.size(); ++i)
        EXPECT_EQ(values[i], values[i - 1] + 10);
    EXPECT_LE(values.last(), 100);
    EXPECT_GE(values.last(), 80); // timers may bunch up on a busy machine, never run past the end
}

TEST(DoneWindowTest, SaysTheCalculationIsDoneAndClosesAfterASecond)
{
    DoneWindow window(doneText());
    EXPECT_EQ(window.objectName(), QStringLiteral("frmDone"));
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Calculation completed!"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Valdora Auto")) << "not the program's file name";
    QTimer::singleShot(300, [&window] { valdora::test::saveScreenshot(window, QStringLiteral("frmDone")); });

    QElapsedTimer timer;
    timer.start();
    window.exec();
    EXPECT_GE(timer.elapsed(), 950);
    EXPECT_LT(timer.elapsed(), 10000) << "the window did not close by itself";
}

/// Each window in each language: every text fits, with no window grown past a modest size.
class AutoWindowLanguageTest : public ::testing::TestWithParam<valdora::test::Language> {
protected:
    Messages messages() const { return Messages(MessageTable::valdora(), GetParam().base); }
    void expectTidy(QDialog& window, const QString& name)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
        valdora::test::expectNothingClipped(window);
        EXPECT_LE(window.width(), 560) << name.toStdString();
        EXPECT_LE(window.height(), 340) << name.toStdString();
        valdora::test::saveScreenshot(window, name + QLatin1Char('-') + QLatin1String(GetParam().name));
        window.close();
    }
};

TEST_P(AutoWindowLanguageTest, ConfirmationFitsItsTexts)
{
    AutoConfirmWindow window(
        confirmationTexts(messages(), QStringLiteral("Date of Last Reach"), QStringLiteral("Next Invoice")));
    expectTidy(window, QStringLiteral("frmAutoConfirm"));
}

TEST_P(AutoWindowLanguageTest, NoticeFitsItsTexts)
{
    AutoSplashWindow window(noticeTexts(messages(), QStringLiteral("Date of Last Reach")));
    expectTidy(window, QStringLiteral("frmAutoSplash"));
}

TEST_P(AutoWindowLanguageTest, DoneNoticeFitsItsText)
{
    DoneWindow window(doneText());
    expectTidy(window, QStringLiteral("frmDone"));
}

INSTANTIATE_TEST_SUITE_P(Languages, AutoWindowLanguageTest,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::autorun
