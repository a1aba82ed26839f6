// The start options as the start options window reads and stores them.
#include "StartupSession.h"

#include "bar/startup/StartOptions.h"

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

struct LoadCase {
    const char* name;
    const char* startBar; ///< nullptr: absent
    const char* notClose; ///< nullptr: absent
    StartOptions options;
};

class StartOptionsLoadTest : public test::StartupSession, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(StartOptionsLoadTest, ReadsTheStoredOptions)
{
    const LoadCase& row = GetParam();
    // Stored under other spellings: the store ignores the case of keys.
    if (row.startBar)
        store(QStringLiteral("Settings"), QStringLiteral("StartBar"), QString::fromUtf8(row.startBar));
    if (row.notClose)
        store(QStringLiteral("settings"), QStringLiteral("notclose"), QString::fromUtf8(row.notClose));
    EXPECT_EQ(loadStartOptions(m_session.userSettings()), row.options);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, StartOptionsLoadTest,
    ::testing::Values(LoadCase{"Absent", nullptr, nullptr, {.startInTray = false, .closeToTray = false}},
                      LoadCase{"BarAndClose", "0", "0", {.startInTray = false, .closeToTray = false}},
                      LoadCase{"TrayAndHide", "1", "1", {.startInTray = true, .closeToTray = true}},
                      LoadCase{
                          "AnythingButZeroIsTheTray", "2", "0", {.startInTray = true, .closeToTray = false}},
                      LoadCase{"OnlyOneHides", "0", "2", {.startInTray = false, .closeToTray = false}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StoreCase {
    const char* name;
    StartOptions options;
    const char* startBar;
    const char* notClose;
};

class StartOptionsStoreTest : public test::StartupSession, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StartOptionsStoreTest, StoresZeroOrOne)
{
    const StoreCase& row = GetParam();
    ASSERT_TRUE(storeStartOptions(m_session.userSettings(), row.options));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("startBar")),
              QString::fromUtf8(row.startBar));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("NotClose")),
              QString::fromUtf8(row.notClose));
    EXPECT_EQ(loadStartOptions(m_session.userSettings()), row.options);
}

INSTANTIATE_TEST_SUITE_P(
    Options, StartOptionsStoreTest,
    ::testing::Values(StoreCase{"Bar", {.startInTray = false, .closeToTray = false}, "0", "0"},
                      StoreCase{"Tray", {.startInTray = true, .closeToTray = false}, "1", "0"},
                      StoreCase{"Hide", {.startInTray = false, .closeToTray = true}, "0", "1"},
                      StoreCase{"Both", {.startInTray = true, .closeToTray = true}, "1", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar
