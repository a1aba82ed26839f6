#include "SettingsTestSupport.h"

#include "settings/ButtonReaders.h"

namespace valdora::test {
namespace {

// A button file of some lines; every reader reads a key as loadButton does.
struct AgreeCase {
    const char* name;
    QStringList lines;
};

void PrintTo(const AgreeCase& c, std::ostream* out)
{
    *out << c.name;
}

class ButtonReadersAgree : public SettingsTest, public ::testing::WithParamInterface<AgreeCase> {
protected:
    ButtonFile written() const
    {
        const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
        EXPECT_TRUE(writeFile(file.path(), buttonFileText(GetParam().lines)));
        return file;
    }
};

TEST_P(ButtonReadersAgree, WithTheButtonModel)
{
    const ButtonFile file = written();
    const ButtonValue loaded = loadButton(file, QStringLiteral("/prog/"));
    EXPECT_EQ(readCaption(file), loaded.name);
    EXPECT_EQ(readTarget(file), loaded.target);
    EXPECT_EQ(readTargetDecimals(file), loaded.targetDecimals);
    EXPECT_EQ(readLimitedToDB(file), loaded.limitedToDB);
    EXPECT_EQ(readSavedWithDB(file), loaded.savedWithDB);
    const ButtonLook look = readLook(file);
    EXPECT_EQ(look.caption, loaded.name);
    EXPECT_EQ(look.foreColor, loaded.foreColor);
    EXPECT_EQ(look.fontBold, loaded.fontBold);
    EXPECT_EQ(readComboSlots(file),
              std::get<ComboKeys>(loadSchemeKeys(file, Scheme::Combo, QStringLiteral("/prog/"))).members);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ButtonReadersAgree,
    ::testing::Values(AgreeCase{"NoKeys", {}},
                      AgreeCase{"EmptyKeys", {"Name=", "Target=", "FontBold=", "ForeColor=", "_DB=", "DB="}},
                      AgreeCase{"Stored",
                                {"Name=Fill", "Type=5", "Target=Phone", "TargetID=17", "TargetType=1",
                                 "TargetDecimals=2", "_DB=Sales.dbf", "FontBold=-1", "ForeColor=255",
                                 "Button0=1", "ButtonName0=~101.ini", "Button3=1", "ButtonName3=~104.ini",
                                 "Button19=yes", "ButtonName19=~120.ini", "DB=/data/Sales.dbf"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ValdoraAuto shows every screen whose option is on, so several options on give several screens.
struct WarningCase {
    const char* name;
    QStringList lines;
    bool confirmation;
    bool notice;
    bool none;
};

void PrintTo(const WarningCase& c, std::ostream* out)
{
    *out << c.name;
}

class AutoWarningRead : public SettingsTest, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(AutoWarningRead, EveryOptionOnCounts)
{
    const WarningCase& c = GetParam();
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText(c.lines)));
    const AutoWarningOptions options = readAutoWarningOptions(file);
    EXPECT_EQ(options.confirmation, c.confirmation);
    EXPECT_EQ(options.notice, c.notice);
    EXPECT_EQ(options.none, c.none);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AutoWarningRead,
    ::testing::Values(
        WarningCase{"NoKeys", {}, true, false, false},
        WarningCase{"EmptyFirst", {"AutoWarning0="}, true, false, false},
        WarningCase{"Notice", {"AutoWarning0=0", "AutoWarning1=1", "AutoWarning2=0"}, false, true, false},
        WarningCase{"NoWarning", {"AutoWarning0=0", "AutoWarning1=0", "AutoWarning2=1"}, false, false, true},
        WarningCase{"Both", {"AutoWarning0=1", "AutoWarning1=1"}, true, true, false},
        WarningCase{"OnlyOneIsOn", {"AutoWarning0=-1", "AutoWarning1=yes"}, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

using ButtonReadersTest = SettingsTest;

TEST_F(ButtonReadersTest, AbsentKeysTakeTheirDefaults)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText({QStringLiteral("Name=")})));
    EXPECT_EQ(readTypeText(file), u"-1");
    EXPECT_EQ(captionOrFileName(file), u"~100.ini");
    EXPECT_FALSE(readDoneScreen(file));
}

TEST_F(ButtonReadersTest, StoredKeysAreReadAsTheyAre)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText({QStringLiteral("Name=Fill"), QStringLiteral("Type=x2"),
                                                       QStringLiteral("DoneScreen=1")})));
    EXPECT_EQ(readTypeText(file), u"x2");
    EXPECT_EQ(captionOrFileName(file), u"Fill");
    EXPECT_TRUE(readDoneScreen(file));
}

} // namespace
} // namespace valdora::test
