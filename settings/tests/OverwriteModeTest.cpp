#include "SettingsTestSupport.h"

#include "settings/ButtonModel.h"

namespace valdora::test {
namespace {

// The option the editor shows checked: its index in the "Over" group, NoChoice for none.
int shownOption(int overwrite)
{
    return overwrite;
}

// The editor's reading of the "Over" group of a stored file, damaged ones included.
struct ShownCase {
    const char* name;
    QStringList lines;
    int option;
};

void PrintTo(const ShownCase& c, std::ostream* out)
{
    *out << c.name;
}

class OverwriteShown : public SettingsTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(OverwriteShown, LastOptionOnIsChecked)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(
        writeFile(file.path(), buttonFileText(QStringList{QStringLiteral("Type=4")} + GetParam().lines)));
    EXPECT_EQ(shownOption(loadButton(file, QStringLiteral("/prog/")).overwrite), GetParam().option);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OverwriteShown,
    ::testing::Values(ShownCase{"NoKeys", {}, 0},
                      ShownCase{"Never", {"Over0=1", "Over1=0", "Over2=0", "Over3=0"}, 0},
                      ShownCase{"Append", {"Over0=0", "Over1=1", "Over2=0", "Over3=0"}, 1},
                      ShownCase{"UnlessEmpty", {"Over0=0", "Over1=0", "Over2=1", "Over3=0"}, 2},
                      ShownCase{"Always", {"Over0=0", "Over1=0", "Over2=0", "Over3=1"}, 3},
                      ShownCase{"AppendOverAnAbsentFirst", {"Over1=1"}, 1},
                      ShownCase{"SeveralTheLastWins", {"Over0=1", "Over2=1", "Over1=1"}, 2},
                      ShownCase{"EveryOption", {"Over0=1", "Over1=1", "Over2=1", "Over3=1"}, 3},
                      ShownCase{"NoneOn", {"Over0=0"}, NoChoice},
                      ShownCase{"OnlyOneReadsOn", {"Over0=yes", "Over1=0", "Over3=-1"}, NoChoice},
                      ShownCase{"EmptyFirstReadsOn", {"Over0="}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::test
