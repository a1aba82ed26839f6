#include "settings/MessageTable.h"
#include "settings/UserSettings.h"

#include "core/testsupport/TestEnvironment.h"

#include <gtest/gtest.h>

namespace valdora {
namespace {

class LanguageBase : public testing::Test {
protected:
    void store(const QString& value)
    {
        ASSERT_TRUE(m_settings.set(Application::Valdora, QStringLiteral("Options"),
                                   QStringLiteral("Language"), value));
    }

    test::PinnedLocale m_locale{QStringLiteral("en_US")};
    test::TemporaryUserSettings m_folder;
    UserSettings m_settings;
};

TEST_F(LanguageBase, AbsentSettingTakesTheCallersDefault)
{
    EXPECT_EQ(languageBaseFromSettings(m_settings, 0), 300);
    EXPECT_EQ(languageBaseFromSettings(m_settings, 1), 1300);
    EXPECT_EQ(languageBaseFromSettings(m_settings, 2), 2300);
}

struct StoredLanguage {
    const char* value;
    int defaultLanguage;
    qint16 base;
};

class StoredLanguageBase : public LanguageBase, public testing::WithParamInterface<StoredLanguage> {};

TEST_P(StoredLanguageBase, IsLanguageTimes1000Plus300)
{
    store(QString::fromUtf8(GetParam().value));
    EXPECT_EQ(languageBaseFromSettings(m_settings, GetParam().defaultLanguage), GetParam().base);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredLanguageBase,
                         testing::Values(StoredLanguage{"0", 2, 300}, StoredLanguage{"1", 2, 1300},
                                         StoredLanguage{"2", 0, 2300}, StoredLanguage{" 1 ", 0, 1300},
                                         // Numbers without a block fall back to the default language.
                                         StoredLanguage{"7", 2, 2300}, StoredLanguage{"-1", 0, 300},
                                         StoredLanguage{"3", 1, 1300}, StoredLanguage{"99999", 0, 300},
                                         // The numeric value as the platform takes it.
                                         StoredLanguage{"1.0", 0, 1300}, StoredLanguage{"2.5", 0, 2300},
                                         // A blank value carries no choice.
                                         StoredLanguage{"", 2, 2300}));

TEST_F(LanguageBase, KeyIsMatchedWithoutRegardToCase)
{
    ASSERT_TRUE(m_settings.set(Application::Valdora, QStringLiteral("OPTIONS"), QStringLiteral("language"),
                               QStringLiteral("1")));
    EXPECT_EQ(languageBaseFromSettings(m_settings, 0), 1300);
}

TEST_F(LanguageBase, OtherApplicationsSettingIsNotRead)
{
    ASSERT_TRUE(m_settings.set(Application::Keelbrook, QStringLiteral("Options"), QStringLiteral("Language"),
                               QStringLiteral("1")));
    EXPECT_EQ(languageBaseFromSettings(m_settings, 2), 2300);
}

TEST_F(LanguageBase, NonNumberIsATypeMismatchAtTheCallersLine)
{
    store(QStringLiteral("abc"));
    const int line = __LINE__ + 2;
    try {
        languageBaseFromSettings(m_settings, 2);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), static_cast<int>(ErrorNumber::TypeMismatch));
        EXPECT_EQ(failure.description(), QStringLiteral("Type mismatch"));
        EXPECT_EQ(failure.line(), line);
    }
}

TEST_F(LanguageBase, OutOfRangeDefaultTakesEnglish)
{
    EXPECT_EQ(languageBaseFromSettings(m_settings, 9), 300);
}

TEST_F(LanguageBase, BaseFetchesTheChosenLanguagesRows)
{
    store(QStringLiteral("1"));
    const Messages messages(MessageTable::valdora(), languageBaseFromSettings(m_settings, 0));
    EXPECT_EQ(messages.atOffset(9), *MessageTable::valdora().row(1309));
}

} // namespace
} // namespace valdora
