// The scope dialog offscreen: its options chosen by the option and by the label, OK, Cancel and the
// close box, the frame about another database, its texts in the three languages, and the scope
// chooser that shows it for each run.
#include "widgets/testsupport/WindowTestSupport.h"

#include "bar/dialogs/ScopeDialog.h"
#include "bar/dialogs/WindowScopeChooser.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace valdora::bar::test {

using namespace valdora::test;
namespace {

using run::Scope;

QRadioButton* option(QWidget& dialog, int index)
{
    return dialog.findChild<QRadioButton*>(ScopeDialog::optionName(index));
}

QString labelText(const QWidget& dialog, const QString& name)
{
    const auto* label = dialog.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

void show(QDialog& dialog)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog)) << "the window was not shown within the wait";
}

struct ChoiceCase {
    const char* name;
    int index;
    bool byLabel;
};

void PrintTo(const ChoiceCase& row, std::ostream* out)
{
    *out << row.name;
}

class ScopeDialogChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ScopeDialogChoice, OkReturnsTheSelectedOption)
{
    const ChoiceCase& row = GetParam();
    ScopeDialog dialog(Messages(), false);
    show(dialog);
    click(dialog, row.byLabel ? ScopeDialog::labelName(row.index) : ScopeDialog::optionName(row.index));
    for (int i = 0; i < ScopeDialog::OptionCount; ++i)
        EXPECT_EQ(option(dialog, i)->isChecked(), i == row.index) << i;
    click(dialog, QStringLiteral("OKButton"));

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.intLookup(), row.index);
    EXPECT_EQ(dialog.intCancel(), 0);
    EXPECT_EQ(dialog.scope(), static_cast<Scope>(row.index));
}

INSTANTIATE_TEST_SUITE_P(Options, ScopeDialogChoice,
                         ::testing::Values(ChoiceCase{"CurrentContactByOption", 0, false},
                                           ChoiceCase{"CurrentLookupByOption", 1, false},
                                           ChoiceCase{"AllContactsByOption", 2, false},
                                           ChoiceCase{"CurrentContactByLabel", 0, true},
                                           ChoiceCase{"CurrentLookupByLabel", 1, true},
                                           ChoiceCase{"AllContactsByLabel", 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScopeDialog, ALaterClickOnALabelReplacesTheEarlierChoice)
{
    ScopeDialog dialog(Messages(), false);
    show(dialog);
    click(dialog, ScopeDialog::labelName(2));
    click(dialog, ScopeDialog::labelName(1));
    EXPECT_FALSE(option(dialog, 2)->isChecked());
    EXPECT_TRUE(option(dialog, 1)->isChecked());
    click(dialog, QStringLiteral("OKButton"));
    EXPECT_EQ(dialog.scope(), Scope::CurrentLookup);
}

TEST(ScopeDialog, OkWaitsForAChoice)
{
    ScopeDialog dialog(Messages(), false);
    dialog.setPreviewOffer([](Scope) { return false; });
    show(dialog);
    for (int i = 0; i < ScopeDialog::OptionCount; ++i)
        EXPECT_FALSE(option(dialog, i)->isChecked()) << i;
    // Nothing chosen: no run over a scope the user did not choose, and nothing to preview.
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->isEnabled());
    click(dialog, QStringLiteral("OKButton"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.scope(), std::nullopt);
    click(dialog, ScopeDialog::labelName(0));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->isEnabled());
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->isEnabled());
    click(dialog, QStringLiteral("OKButton"));
    EXPECT_EQ(dialog.intLookup(), 0);
    EXPECT_EQ(dialog.intCancel(), 0);
    EXPECT_EQ(dialog.scope(), Scope::CurrentContact);
}

TEST(ScopeDialog, StartsWithTheScopeItIsGiven)
{
    ScopeDialog dialog(Messages(), false);
    dialog.preselect(Scope::CurrentLookup);
    show(dialog);
    EXPECT_TRUE(option(dialog, 1)->isChecked());
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->isEnabled());
    click(dialog, QStringLiteral("OKButton"));
    EXPECT_EQ(dialog.scope(), Scope::CurrentLookup);
}

struct NoteCase {
    const char* name;
    bool journalled; ///< the bar's run, which offers its preview and keeps its runs in the journal
    std::optional<int> option;
    bool warningShown; ///< else the journal's note
};

void PrintTo(const NoteCase& row, std::ostream* out)
{
    *out << row.name;
}

class ScopeDialogNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(ScopeDialogNote, OneNoteSaysWhatAnUndoCanDo)
{
    const NoteCase& row = GetParam();
    ScopeDialog dialog(Messages(), false);
    if (row.journalled)
        dialog.setPreviewOffer([](Scope) { return false; });
    show(dialog);
    if (row.option)
        click(dialog, ScopeDialog::labelName(*row.option));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblWarning"))->isVisible(), row.warningShown);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblJournalNote"))->isVisible(), !row.warningShown);
    expectNothingClipped(dialog);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScopeDialogNote,
                         ::testing::Values(NoteCase{"NotJournalled", false, 2, true},
                                           NoteCase{"NotJournalledNothingChosen", false, std::nullopt, true},
                                           NoteCase{"JournalledCurrentContactIsNot", true, 0, true},
                                           NoteCase{"JournalledLookup", true, 1, false},
                                           NoteCase{"JournalledAllContacts", true, 2, false},
                                           NoteCase{"JournalledNothingChosen", true, std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
    const char* name;
    std::function<void(ScopeDialog&)> close;
};

void PrintTo(const CancelCase& row, std::ostream* out)
{
    *out << row.name;
}

class ScopeDialogCancel : public ::testing::TestWithParam<CancelCase> {};

TEST_P(ScopeDialogCancel, CancelsWhateverWasSelected)
{
    ScopeDialog dialog(Messages(), false);
    show(dialog);
    click(dialog, ScopeDialog::labelName(2));
    GetParam().close(dialog);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.intCancel(), 1);
    EXPECT_EQ(dialog.scope(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ScopeDialogCancel,
    ::testing::Values(CancelCase{"CancelButton",
                                 [](ScopeDialog& d) { click(d, QStringLiteral("CancelButton")); }},
                      CancelCase{"CloseBox", [](ScopeDialog& d) { d.close(); }},
                      CancelCase{"Escape", [](ScopeDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScopeDialog, ClosedWithoutOkOrCancelChoosesNothing)
{
    ScopeDialog dialog(Messages(), false);
    show(dialog);
    click(dialog, ScopeDialog::labelName(2));
    dialog.done(QDialog::Rejected); // the program ending under it, for instance
    EXPECT_EQ(dialog.scope(), std::nullopt);
}

TEST(ScopeDialog, FrameAboutAnotherDatabaseIsShownOnlyForSuchAButton)
{
    for (const bool otherDatabase : {false, true}) {
        ScopeDialog dialog(Messages(), otherDatabase);
        show(dialog);
        auto* frame = dialog.findChild<QFrame*>(QStringLiteral("Frame3"));
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->isVisible(), otherDatabase);
        EXPECT_EQ(labelText(dialog, QStringLiteral("lblOtherDatabase")),
                  QStringLiteral("Invalid data. You might have set this button for another database than "
                                 "the one currently open. Check the settings for this button."));
        // The warning about a run that cannot be undone is there in both cases.
        EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("lblWarning"))->isVisible());
        expectNothingClipped(dialog);
    }
}

struct TabCase {
    const char* name;
    bool preview;
    QStringList buttons;
};

void PrintTo(const TabCase& row, std::ostream* out)
{
    *out << row.name;
}

class ScopeDialogTabs : public ::testing::TestWithParam<TabCase> {};

// Tab goes as the eye reads: the options, then the bottom row from left to right ("Preview..." stands
// at the left, OK and Cancel at the right).
TEST_P(ScopeDialogTabs, TabVisitsTheOptionsThenTheButtonsFromLeftToRight)
{
    const TabCase& row = GetParam();
    ScopeDialog dialog(Messages(), true);
    if (row.preview)
        dialog.setPreviewOffer([](Scope) { return false; });
    // OK is only in the tab order once it can be used.
    dialog.preselect(Scope::CurrentContact);
    show(dialog);
    const QStringList wanted =
        QStringList{ScopeDialog::optionName(0), ScopeDialog::optionName(1), ScopeDialog::optionName(2)} +
        row.buttons;
    EXPECT_EQ(tabOrder(*option(dialog, 0), wanted), wanted);
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->isDefault());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ScopeDialogTabs,
    ::testing::Values(TabCase{"OkThenCancel", false, {"OKButton", "CancelButton"}},
                      TabCase{"PreviewThenOkThenCancel", true, {"cmdPreview", "OKButton", "CancelButton"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScopeDialog, EnglishTextsAreTheSystemsOwn)
{
    ScopeDialog dialog(Messages(), false);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("dlgLookup"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Apply to"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("Label10")), QStringLiteral("Current contact"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("Label11")), QStringLiteral("Current lookup"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("Label12")), QStringLiteral("All contacts"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblSortOrderHead")),
              QStringLiteral("SORT ORDER WHEN AUTONUMBERING"));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblSortOrder")),
              QStringLiteral(
                  "Current lookup will use the current Sort. All contacts will use ContactHost default sort "
                  "(Company then Contact)."));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblWarning")),
              QStringLiteral("This operation cannot be undone. You should back-up your database before "
                             "proceeding to a massive field modification."));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"))->text(),
              QStringLiteral("&Cancel"));
}

class ScopeDialogLanguage : public ::testing::TestWithParam<Language> {};

TEST_P(ScopeDialogLanguage, CaptionsComeFromTheTableAndFit)
{
    const Language& language = GetParam();
    const Messages texts(MessageTable::valdora(), language.base);
    ScopeDialog dialog(texts, true);
    // As the bar shows it: with its preview.
    dialog.setPreviewOffer([](Scope) { return false; });
    show(dialog);
    EXPECT_EQ(dialog.windowTitle(), rowText(language, 580));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblJournalNote")), texts.get(OwnText::ScopeJournalNote));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->text(),
              texts.get(OwnText::ScopePreview));
    for (int i = 0; i < ScopeDialog::OptionCount; ++i) {
        EXPECT_EQ(labelText(dialog, ScopeDialog::labelName(i)), rowText(language, 577 + i)) << i;
        EXPECT_EQ(option(dialog, i)->accessibleName(), rowText(language, 577 + i)) << i;
    }
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblSortOrderHead")), rowText(language, 581));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblSortOrder")), rowText(language, 582));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblWarning")), rowText(language, 583));
    EXPECT_EQ(labelText(dialog, QStringLiteral("lblOtherDatabase")), rowText(language, 355));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->text(), rowText(language, 301));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"))->text(), rowText(language, 302));
    EXPECT_FALSE(dialog.windowTitle().isEmpty());
    expectNothingClipped(dialog);
    // Small enough for any screen the bar runs on.
    EXPECT_LE(dialog.width(), 560);
    EXPECT_LE(dialog.height(), 480);
    if (language.base != French.base)
        saveScreenshot(dialog, QStringLiteral("dlgLookup-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, ScopeDialogLanguage, ::testing::Values(English, French, German),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScopeDialog, PreviewCoversTheSelectedOptionAndARunFromItAnswersAsOk)
{
    ScopeDialog dialog(Messages(), false);
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->isHidden())
        << "no preview without an offer";
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("lblJournalNote"))->isHidden());
    QList<Scope> previewed;
    bool runFromPreview = false;
    dialog.setPreviewOffer([&](Scope scope) {
        previewed << scope;
        return runFromPreview;
    });
    show(dialog);
    ASSERT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->isHidden());
    // The preview covers what OK would run.
    click(dialog, ScopeDialog::labelName(0));
    click(dialog, QStringLiteral("cmdPreview"));
    click(dialog, ScopeDialog::labelName(1));
    click(dialog, QStringLiteral("cmdPreview"));
    EXPECT_EQ(previewed, (QList<Scope>{Scope::CurrentContact, Scope::CurrentLookup}));
    EXPECT_TRUE(dialog.isVisible()) << "a closed preview goes back to the question";
    EXPECT_EQ(dialog.scope(), std::nullopt);

    runFromPreview = true;
    click(dialog, ScopeDialog::labelName(2));
    click(dialog, QStringLiteral("cmdPreview"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.scope(), Scope::AllContacts);
}

TEST(WindowScopeChooser, OffersThePreviewWhileAnOfferIsSet)
{
    Messages messages;
    WindowScopeChooser chooser(messages);
    std::optional<Scope> previewed;
    chooser.offerPreview([&](Scope scope) {
        previewed = scope;
        return true;
    });
    inNextModal([](QWidget& dialog) {
        click(dialog, ScopeDialog::labelName(1));
        click(dialog, QStringLiteral("cmdPreview"));
    });
    EXPECT_EQ(chooser.chooseScope(false), Scope::CurrentLookup);
    EXPECT_EQ(previewed, Scope::CurrentLookup);

    chooser.offerPreview({});
    inNextModal([](QWidget& dialog) {
        EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("cmdPreview"))->isHidden());
        click(dialog, ScopeDialog::labelName(0));
        click(dialog, QStringLiteral("OKButton"));
    });
    EXPECT_EQ(chooser.chooseScope(false), Scope::CurrentContact);
}

TEST(WindowScopeChooser, StartsWithTheScopeItWasToldUntilToldOtherwise)
{
    Messages messages;
    WindowScopeChooser chooser(messages);
    chooser.preselect(Scope::AllContacts);
    inNextModal([](QWidget& dialog) { click(dialog, QStringLiteral("OKButton")); });
    EXPECT_EQ(chooser.chooseScope(false), Scope::AllContacts);
    chooser.preselect(std::nullopt);
    bool okEnabled = true;
    inNextModal([&](QWidget& dialog) {
        okEnabled = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->isEnabled();
        click(dialog, QStringLiteral("CancelButton"));
    });
    EXPECT_EQ(chooser.chooseScope(false), std::nullopt);
    EXPECT_FALSE(okEnabled);
}

TEST(WindowScopeChooser, ReturnsWhatTheDialogChose)
{
    Messages messages;
    WindowScopeChooser chooser(messages);
    for (int i = 0; i < ScopeDialog::OptionCount; ++i) {
        inNextModal([i](QWidget& dialog) {
            click(dialog, ScopeDialog::labelName(i));
            click(dialog, QStringLiteral("OKButton"));
        });
        EXPECT_EQ(chooser.chooseScope(false), static_cast<Scope>(i)) << i;
    }
    inNextModal([](QWidget& dialog) { click(dialog, QStringLiteral("CancelButton")); });
    EXPECT_EQ(chooser.chooseScope(false), std::nullopt);
    inNextModal([](QWidget& dialog) { dialog.close(); });
    EXPECT_EQ(chooser.chooseScope(false), std::nullopt);
}

TEST(WindowScopeChooser, EachRunAsksAfreshInTheSessionsLanguage)
{
    Messages messages;
    WindowScopeChooser chooser(messages);
    inNextModal([](QWidget& dialog) {
        click(dialog, ScopeDialog::labelName(2));
        click(dialog, QStringLiteral("OKButton"));
    });
    ASSERT_EQ(chooser.chooseScope(false), Scope::AllContacts);

    // The language changed meanwhile; the earlier choice is not carried over.
    messages.setLanguageBase(German.base);
    QString title;
    bool frameShown = false;
    bool anyChecked = true;
    inNextModal([&](QWidget& dialog) {
        title = dialog.windowTitle();
        frameShown = dialog.findChild<QFrame*>(QStringLiteral("Frame3"))->isVisible();
        anyChecked = false;
        for (int i = 0; i < ScopeDialog::OptionCount; ++i)
            anyChecked = anyChecked || option(dialog, i)->isChecked();
        click(dialog, ScopeDialog::labelName(0));
        click(dialog, QStringLiteral("OKButton"));
    });
    EXPECT_EQ(chooser.chooseScope(true), Scope::CurrentContact);
    EXPECT_EQ(title, QStringLiteral("Anwenden auf"));
    EXPECT_TRUE(frameShown);
    EXPECT_FALSE(anyChecked);
}

} // namespace
} // namespace valdora::bar::test
