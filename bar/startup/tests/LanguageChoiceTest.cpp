// The language window's texts and state at the first run and later, and the storing of the choice.
#include "StartupSession.h"

#include "bar/startup/LanguageChoice.h"

#include "core/testsupport/FailsWith.h"

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

class LanguageChoiceTest : public test::StartupSession {};

TEST_F(LanguageChoiceTest, FirstRunAsksInBothLanguagesUnderTheApplicationTitleWithoutCancel)
{
    const LanguageWindowState state = languageWindowState(m_session);

    EXPECT_EQ(state.title, QStringLiteral("Valdora"));
    EXPECT_EQ(state.label, QStringLiteral("Pick your language/Choisissez une langue :"));
    EXPECT_FALSE(state.cancelVisible);
    EXPECT_EQ(state.ok, QStringLiteral("&OK"));
    EXPECT_EQ(state.languages, (QStringList{QStringLiteral("English"), QStringLiteral("Français"),
                                            QStringLiteral("Deutsch")}));
    EXPECT_EQ(state.selected, 0);
}

TEST_F(LanguageChoiceTest, AnotherLanguageIsAnnouncedForTheNextStartAndNotTakenNow)
{
    store(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("0"));
    m_session.messages().setLanguageBase(300);
    EXPECT_FALSE(announceLanguageAtNextStart(m_session)) << "the language it runs in";
    EXPECT_TRUE(m_platform.messageTexts().isEmpty());

    store(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("1"));
    EXPECT_TRUE(announceLanguageAtNextStart(m_session));
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("You need to re-start Valdora for changes to take effect.")});
    EXPECT_EQ(m_session.messages().languageBase(), 300) << "the running program keeps its language";
}

TEST_F(LanguageChoiceTest, LaterTheTitleAndLabelAreRowsOfTheCurrentLanguage)
{
    store(QStringLiteral("Settings"), QStringLiteral("Installed"), QStringLiteral("1"));
    store(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("2"));
    m_session.messages().setLanguageBase(2300);

    const LanguageWindowState state = languageWindowState(m_session);

    EXPECT_EQ(state.title, QStringLiteral("Sprache"));
    EXPECT_EQ(state.label, QStringLiteral("Wählen Sie Ihre Sprache :"));
    EXPECT_TRUE(state.cancelVisible);
    EXPECT_EQ(state.ok, QStringLiteral("&OK"));
    EXPECT_EQ(state.cancel, QStringLiteral("&Abbrechen"));
    EXPECT_EQ(state.selected, 2);
}

struct SelectedCase {
    const char* name;
    const char* stored; ///< nullptr: absent
    int selected;
};

class LanguageSelectedTest : public test::StartupSession,
                             public ::testing::WithParamInterface<SelectedCase> {};

TEST_P(LanguageSelectedTest, SelectsTheStoredLanguage)
{
    if (GetParam().stored)
        store(QStringLiteral("Options"), QStringLiteral("Language"), QString::fromUtf8(GetParam().stored));
    EXPECT_EQ(languageWindowState(m_session).selected, GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Stored, LanguageSelectedTest,
                         ::testing::Values(SelectedCase{"Absent", nullptr, 0},
                                           SelectedCase{"English", "0", 0}, SelectedCase{"French", "1", 1},
                                           SelectedCase{"German", "2", 2}, SelectedCase{"Blank", "", 0},
                                           SelectedCase{"Unknown", "7", 0},
                                           SelectedCase{"Negative", "-1", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageChoiceTest, ALanguageThatIsNoNumberFailsForTheCallersTrap)
{
    store(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("French"));
    EXPECT_TRUE(
        test::failsWith(ErrorNumber::TypeMismatch, "Type mismatch", [&] { languageWindowState(m_session); }));
}

struct FirstRunCase {
    const char* name;
    const char* installed; ///< nullptr: absent
    bool firstRun;
};

class FirstRunTest : public test::StartupSession, public ::testing::WithParamInterface<FirstRunCase> {};

TEST_P(FirstRunTest, ReadsTheMarkerAsANumber)
{
    if (GetParam().installed)
        store(QStringLiteral("Settings"), QStringLiteral("Installed"),
              QString::fromUtf8(GetParam().installed));
    EXPECT_EQ(isFirstRun(m_session), GetParam().firstRun);
}

INSTANTIATE_TEST_SUITE_P(Markers, FirstRunTest,
                         ::testing::Values(FirstRunCase{"Absent", nullptr, true},
                                           FirstRunCase{"Zero", "0", true}, FirstRunCase{"Blank", "", true},
                                           FirstRunCase{"ZeroPointZero", "0.0", true},
                                           FirstRunCase{"One", "1", false},
                                           FirstRunCase{"MinusOne", "-1", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageChoiceTest, AMarkerThatIsNoNumberFails)
{
    store(QStringLiteral("Settings"), QStringLiteral("Installed"), QStringLiteral("yes"));
    EXPECT_TRUE(test::failsWith(ErrorNumber::TypeMismatch, "Type mismatch", [&] { isFirstRun(m_session); }));
}

TEST_F(LanguageChoiceTest, StoreInstalledEndsTheFirstRun)
{
    ASSERT_TRUE(storeInstalled(m_session.userSettings()));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("Installed")), QStringLiteral("1"));
    EXPECT_FALSE(isFirstRun(m_session));
}

TEST_F(LanguageChoiceTest, TheChoiceIsStoredAsTheEntrysPosition)
{
    for (int entry : {0, 1, 2}) {
        ASSERT_TRUE(storeLanguageChoice(m_session.userSettings(), entry));
        EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QString::number(entry));
    }
}

TEST_F(LanguageChoiceTest, NoEntryStoresNothing)
{
    EXPECT_FALSE(storeLanguageChoice(m_session.userSettings(), -1));
    EXPECT_FALSE(storeLanguageChoice(m_session.userSettings(), 3));
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

} // namespace
} // namespace valdora::bar
