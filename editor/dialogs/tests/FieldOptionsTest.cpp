// The field-options dialog: its texts, the digits key filter, OK's two refusals with the focus on
// the digits box, the values OK hands back, and Cancel.
#include "DialogTestSupport.h"

#include "editor/dialogs/FieldOptions.h"
#include "editor/dialogs/FieldOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace valdora::editor::test {
namespace {

AutoNumberPage pageWith(int truncate, int digits, int caps)
{
    AutoNumberPage page;
    page.intTruncateA = truncate;
    page.intTruncateDigitsA = digits;
    page.intCapsA = caps;
    return page;
}

QLineEdit* digitsBox(QWidget& window)
{
    return window.findChild<QLineEdit*>(QStringLiteral("txtTruncate"));
}

bool isTicked(QWidget& window, const QString& name)
{
    return window.findChild<QCheckBox*>(name)->isChecked();
}

TEST(FieldOptionsDialog, EnglishTextsAndTheEditorsValues)
{
    DialogSession dialogs;
    FieldOptionsDialog dialog(dialogs.session, pageWith(1, 12, 1));
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmFieldOptions"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Field options(AutoNumber Scheme)"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(),
              QStringLiteral("Truncate field data"));
    EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("chkTruncate"))->text(),
              QStringLiteral("Keep only the first :"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("digits."));
    EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("chkUppercase"))->text(),
              QStringLiteral("Convert to uppercase"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(isTicked(dialog, QStringLiteral("chkTruncate")));
    EXPECT_EQ(digitsBox(dialog)->text(), QStringLiteral("12"));
    EXPECT_TRUE(isTicked(dialog, QStringLiteral("chkUppercase")));

    FieldOptionsDialog unticked(dialogs.session, AutoNumberPage());
    EXPECT_FALSE(isTicked(unticked, QStringLiteral("chkTruncate")));
    EXPECT_EQ(digitsBox(unticked)->text(), QString())
        << "without truncation the run's keep-everything count means nothing to the user";
    EXPECT_FALSE(isTicked(unticked, QStringLiteral("chkUppercase")));
}

TEST(FieldOptionsDialog, TheGermanCaptionHasRoomInTheTitleBar)
{
    DialogSession dialogs(2300);
    FieldOptionsDialog dialog(dialogs.session, AutoNumberPage());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Feldoptionen(AutoNummer-Schema)"));
    EXPECT_GE(
        dialog.width(),
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(dialog.windowTitle()) +
            100);
}

TEST(FieldOptionsDialog, DigitsBoxTakesOnlyDigits)
{
    DialogSession dialogs;
    FieldOptionsDialog dialog(dialogs.session, AutoNumberPage());
    showAndWait(dialog);
    QLineEdit* box = digitsBox(dialog);
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1a-2 .x3"));
    EXPECT_EQ(box->text(), QStringLiteral("123"));
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("12")) << "Backspace still edits";
    // What arrives without a key (a paste) is refused unless it is all digits.
    box->insert(QStringLiteral("4b"));
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    box->insert(QStringLiteral("45"));
    EXPECT_EQ(box->text(), QStringLiteral("1245"));
}

struct OkCase {
    const char* name;
    AutoNumberPage before;
    bool truncate;
    QString digits;
    bool upperCase;
    QString message;      ///< empty when OK closes the dialog
    AutoNumberPage after; ///< the editor's values once the dialog closed
};

void PrintTo(const OkCase& row, std::ostream* out)
{
    *out << row.name;
}

class FieldOptionsOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(FieldOptionsOk, ChecksTheDigitsThenHandsBackTheValues)
{
    const OkCase& row = GetParam();
    DialogSession dialogs;
    FieldOptionsDialog dialog(dialogs.session, row.before);
    showAndWait(dialog);
    if (isTicked(dialog, QStringLiteral("chkTruncate")) != row.truncate)
        tick(dialog, QStringLiteral("chkTruncate"));
    if (isTicked(dialog, QStringLiteral("chkUppercase")) != row.upperCase)
        tick(dialog, QStringLiteral("chkUppercase"));
    digitsBox(dialog)->clear();
    QTest::keyClicks(digitsBox(dialog), row.digits);
    click(dialog, QStringLiteral("cmdOK"));

    if (row.message.isEmpty()) {
        EXPECT_TRUE(dialogs.platform.messageTexts().isEmpty());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    } else {
        EXPECT_EQ(dialogs.platform.messageTexts(), QStringList{row.message});
        EXPECT_EQ(dialogs.platform.messages().front().title, QStringLiteral("Valdora"));
        EXPECT_TRUE(dialog.isVisible()) << "a refused entry keeps the dialog open";
        EXPECT_EQ(QApplication::focusWidget(), digitsBox(dialog));
    }
    EXPECT_EQ(dialog.page(), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FieldOptionsOk,
    ::testing::Values(
        OkCase{"TickedAndEmpty", pageWith(0, 254, 0), true, "", false,
               "You checked the Truncate option but did not enter the number of digits to keep!",
               pageWith(0, 254, 0)},
        OkCase{"Zero", pageWith(1, 8, 0), true, "0", false, "0 is not a valid entry.", pageWith(1, 8, 0)},
        OkCase{"ZeroWithTruncationOff", pageWith(0, 8, 0), false, "00", true, "0 is not a valid entry.",
               pageWith(0, 8, 0)},
        OkCase{"Twelve", pageWith(0, 254, 0), true, "12", false, "", pageWith(1, 12, 0)},
        OkCase{"UppercaseOnly", pageWith(1, 5, 0), false, "5", true, "", pageWith(0, 5, 1)},
        OkCase{"LeadingZeros", pageWith(0, 254, 1), true, "007", false, "", pageWith(1, 7, 0)},
        // Nothing to read from the box while truncation is off: the number stays what it was.
        OkCase{"EmptyAndUntickedKeepsTheNumber", pageWith(1, 30, 0), false, "", true, "", pageWith(0, 30, 1)},
        // More than a button file's count holds keeps any value whole: stored as the largest count.
        OkCase{"AboveTheLargestCount", pageWith(0, 254, 0), true, "99999", false, "", pageWith(1, 32767, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldOptionsDialog, AfterARefusalACorrectedEntryCloses)
{
    DialogSession dialogs;
    FieldOptionsDialog dialog(dialogs.session, pageWith(1, 254, 0));
    showAndWait(dialog);
    digitsBox(dialog)->clear();
    click(dialog, QStringLiteral("cmdOK"));
    ASSERT_TRUE(dialog.isVisible());
    QTest::keyClicks(digitsBox(dialog), QStringLiteral("3"));
    click(dialog, QStringLiteral("cmdOK"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.page(), pageWith(1, 3, 0));
}

TEST(FieldOptionsDialog, EditChangesThePageOnlyOnOk)
{
    DialogSession dialogs;
    AutoNumberPage page = pageWith(0, 254, 0);
    page.entries.text = QStringLiteral("INV");
    for (const char* closer : {"cmdCancel", "closeBox"}) {
        inNextModal([closer](QWidget& window) {
            tick(window, QStringLiteral("chkUppercase"));
            if (QLatin1String(closer) == QLatin1String("closeBox"))
                window.close();
            else
                click(window, QLatin1String(closer));
        });
        EXPECT_FALSE(FieldOptionsDialog::edit(dialogs.session, page)) << closer;
        EXPECT_EQ(page.intCapsA, 0) << closer;
    }
    bool modal = false;
    inNextModal([&modal](QWidget& window) {
        modal = window.isModal() && window.objectName() == QStringLiteral("frmFieldOptions");
        tick(window, QStringLiteral("chkTruncate"));
        digitsBox(window)->clear();
        QTest::keyClicks(digitsBox(window), QStringLiteral("12"));
        click(window, QStringLiteral("cmdOK"));
    });
    EXPECT_TRUE(FieldOptionsDialog::edit(dialogs.session, page));
    EXPECT_TRUE(modal);
    EXPECT_EQ(page.intTruncateA, 1);
    EXPECT_EQ(page.intTruncateDigitsA, 12);
    EXPECT_EQ(page.entries.text, QStringLiteral("INV")) << "the rest of the page is the editor's";
}

TEST(FieldOptionsDialog, TabVisitsTheBoxesInOrder)
{
    DialogSession dialogs;
    FieldOptionsDialog dialog(dialogs.session, AutoNumberPage());
    showAndWait(dialog);
    const QStringList wanted{QStringLiteral("chkTruncate"), QStringLiteral("txtTruncate"),
                             QStringLiteral("chkUppercase"), QStringLiteral("cmdOK"),
                             QStringLiteral("cmdCancel")};
    EXPECT_EQ(tabOrder(*dialog.findChild<QWidget*>(QStringLiteral("chkTruncate")), wanted), wanted);
}

class FieldOptionsLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(FieldOptionsLanguage, CaptionsComeFromTheTableAndFit)
{
    const Language& language = GetParam();
    DialogSession dialogs(language.base);
    FieldOptionsDialog dialog(dialogs.session, pageWith(1, 12, 0));
    showAndWait(dialog);
    EXPECT_EQ(dialog.windowTitle(), rowText(language, 584) + u'(' + rowText(language, 574) + u')');
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("Frame1"))->title(), rowText(language, 573));
    EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("chkTruncate"))->text(), rowText(language, 427));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label2"))->text(), rowText(language, 428));
    EXPECT_EQ(dialog.findChild<QCheckBox*>(QStringLiteral("chkUppercase"))->text(), rowText(language, 429));
    expectNothingClipped(dialog);
    const QLineEdit* box = digitsBox(dialog);
    EXPECT_GT(box->width(), box->fontMetrics().horizontalAdvance(QStringLiteral("32767")))
        << "the largest count shows whole";
    EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()))
        << "the caption has room in the title bar";
    saveScreenshot(dialog, QStringLiteral("frmFieldOptions-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, FieldOptionsLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

struct CheckCase {
    const char* name;
    FieldOptionsEntries entries;
    FieldOptionsProblem problem;
};

void PrintTo(const CheckCase& row, std::ostream* out)
{
    *out << row.name;
}

class FieldOptionsCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FieldOptionsCheck, RefusesInOrder)
{
    EXPECT_EQ(checkFieldOptions(GetParam().entries), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FieldOptionsCheck,
    ::testing::Values(CheckCase{"TickedEmpty", {true, "", false}, FieldOptionsProblem::DigitsMissing},
                      CheckCase{"UntickedEmpty", {false, "", false}, FieldOptionsProblem::None},
                      CheckCase{"TickedZero", {true, "0", false}, FieldOptionsProblem::DigitsBelowOne},
                      CheckCase{"UntickedZero", {false, "000", false}, FieldOptionsProblem::DigitsBelowOne},
                      CheckCase{"One", {true, "1", false}, FieldOptionsProblem::None},
                      CheckCase{"NotDigits", {false, "1x", false}, FieldOptionsProblem::DigitsBelowOne},
                      CheckCase{
                          "Huge", {true, "123456789012345678901234", false}, FieldOptionsProblem::None}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::editor::test
