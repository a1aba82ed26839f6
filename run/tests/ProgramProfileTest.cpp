#include "run/ProgramProfile.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <string>

namespace valdora::run {
namespace {

struct ProfileCase {
    const char* name;
    ProgramProfile (*make)(const TextLocale&);
    std::string module;
    int comboSlots;
    bool monetarySeparator; ///< the arithmetic separator is the monetary one, not the plain one
    bool currencyTargetUsesDot;
    engine::CounterFileNaming counterNaming;
    ContactRoadKind road;
};

class ProgramProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProgramProfileTest, StatesWhatTellsTheProgramApart)
{
    const ProfileCase& c = GetParam();
    for (const char* localeName : {"en_US", "de_DE", "fr_CH"}) {
        SCOPED_TRACE(localeName);
        const TextLocale locale{QLocale(QString::fromLatin1(localeName))};
        const ProgramProfile profile = c.make(locale);
        EXPECT_EQ(std::string(profile.module()), c.module);
        EXPECT_EQ(std::string(profile.engine.module), c.module);
        EXPECT_EQ(profile.comboSlots(), c.comboSlots);
        EXPECT_EQ(profile.engine.memberCount, c.comboSlots);
        const QChar separator =
            c.monetarySeparator ? locale.monetaryDecimalSeparator() : locale.decimalSeparator();
        EXPECT_EQ(profile.engine.decimalSeparator, separator);
        EXPECT_EQ(profile.engine.currencyTargetUsesDot, c.currencyTargetUsesDot);
        EXPECT_EQ(profile.engine.counterNaming, c.counterNaming);
        EXPECT_EQ(profile.road, c.road);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramProfileTest,
    ::testing::Values(ProfileCase{"Valdora", &ProgramProfile::valdora, "frmMain", 8, false, true,
                                  engine::CounterFileNaming::BaseName, ContactRoadKind::Bar},
                      ProfileCase{"ValdoraAuto", &ProgramProfile::valdoraAuto, "frmAutoMain", 20, true, false,
                                  engine::CounterFileNaming::FullName, ContactRoadKind::OnScreen}),
    [](const ::testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::run
