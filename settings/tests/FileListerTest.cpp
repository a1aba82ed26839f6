#include "SettingsTestSupport.h"

#include "settings/FileLister.h"

#include <QDir>

namespace valdora::test {
namespace {

struct ListCase {
    const char* name;
    const char* pattern; // relative to the test folder
    QStringList expected;
};

class FileListerTest : public SettingsTest, public ::testing::WithParamInterface<ListCase> {
protected:
    void SetUp() override
    {
        for (const char* file : {"~101.ini", "~100.ini", "~1000.ini", "valdora.ini", "Notes.txt", "README"})
            ASSERT_TRUE(writeFile(path(QString::fromLatin1(file)), "x"));
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("sub"))));
    }
};

TEST_P(FileListerTest, Lists)
{
    const ListCase& c = GetParam();
    EXPECT_EQ(FileLister().list(path(QString::fromLatin1(c.pattern))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileListerTest,
    ::testing::Values(
        // Element 0 is "."; then every name in byte order, "~1000.ini" before "~101.ini".
        ListCase{"EveryName",
                 "*.*",
                 {".", "Notes.txt", "README", "sub", "valdora.ini", "~100.ini", "~1000.ini", "~101.ini"}},
        ListCase{"Star",
                 "*",
                 {".", "Notes.txt", "README", "sub", "valdora.ini", "~100.ini", "~1000.ini", "~101.ini"}},
        // Without "." in the match, element 0 is the first match, which callers skip.
        ListCase{"ButtonFiles", "~*.ini", {"~100.ini", "~1000.ini", "~101.ini"}},
        ListCase{"QuestionMarkAndAnyCase", "~10?.INI", {"~100.ini", "~101.ini"}},
        ListCase{"OneFile", "valdora.ini", {"valdora.ini"}}, ListCase{"NoMatch", "*.xyz", {""}},
        ListCase{"MissingFolder", "missing/*.*", {""}}, ListCase{"EmptyNamePattern", "", {""}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::test
