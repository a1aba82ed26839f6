#include "bar/schedule/UnattendedRequest.h"
#include "bar/schedule/Schedule.h"

#include <gtest/gtest.h>

namespace valdora::schedule {
namespace {

struct RequestCase {
    const char* name;
    QStringList arguments;
    QString error; // empty: accepted
    QString lookup = {};
    int wait = 600;
};

void PrintTo(const RequestCase& row, std::ostream* os)
{
    *os << row.name;
}

class UnattendedRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(UnattendedRequestTest, ReadsTheRunOrExplains)
{
    QString error;
    const std::optional<UnattendedRequest> request = UnattendedCommand::parse(GetParam().arguments, error);
    if (!GetParam().error.isEmpty()) {
        EXPECT_FALSE(request);
        EXPECT_EQ(error.toStdString(), GetParam().error.toStdString());
        return;
    }
    ASSERT_TRUE(request) << error.toStdString();
    EXPECT_EQ(request->run.buttonFileName, QStringLiteral("~100.ini"));
    EXPECT_EQ(request->database, QStringLiteral("postgresql://sales@db/contacts"));
    EXPECT_EQ(request->lookupFile, GetParam().lookup);
    EXPECT_EQ(request->waitSeconds, GetParam().wait);
}

const QString Uri = QStringLiteral("postgresql://sales@db/contacts");

INSTANTIATE_TEST_SUITE_P(
    Arguments, UnattendedRequestTest,
    ::testing::Values(
        RequestCase{
            "AllContacts", {"--run", "~100", "--scope", "all", "--unattended", "--database", Uri}, {}},
        RequestCase{"SavedLookup",
                    {"--unattended", "--run", "~100.ini", "--scope", "lookup", "--lookup", "/l/a.LKU",
                     "--database", Uri},
                    {},
                    "/l/a.LKU"},
        RequestCase{"Wait",
                    {"--run", "~100", "--scope", "all", "--unattended", "--database", Uri, "--wait", "0"},
                    {},
                    {},
                    0},
        RequestCase{"NoDatabase",
                    {"--run", "~100", "--scope", "all", "--unattended"},
                    "--unattended needs --database PATH_OR_URI"},
        RequestCase{"DatabaseWithoutValue",
                    {"--run", "~100", "--scope", "all", "--unattended", "--database"},
                    "--database needs a value"},
        RequestCase{"NoCurrentContact",
                    {"--run", "~100", "--scope", "current", "--unattended", "--database", Uri},
                    "an unattended run has no current contact: --scope all or --scope lookup --lookup FILE"},
        RequestCase{"NoCurrentLookup",
                    {"--run", "~100", "--scope", "lookup", "--unattended", "--database", Uri},
                    "an unattended run has no current lookup: --scope lookup needs --lookup FILE"},
        RequestCase{
            "LookupWithAll",
            {"--run", "~100", "--scope", "all", "--lookup", "/l/a.LKU", "--unattended", "--database", Uri},
            "--lookup goes with --scope lookup"},
        RequestCase{"BadWait",
                    {"--run", "~100", "--scope", "all", "--unattended", "--database", Uri, "--wait", "soon"},
                    "--wait takes the seconds to wait (0 to 86400), not 'soon'"},
        RequestCase{"NoPreview",
                    {"--run", "~100", "--scope", "all", "--preview", "--unattended", "--database", Uri},
                    "--preview shows what a run would write: it is no unattended run"},
        RequestCase{"PathRefused",
                    {"--run", "../x", "--scope", "all", "--unattended", "--database", Uri},
                    "'../x' is not a button name (like ~100.ini or ~100)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnattendedArgumentsTest, ScheduleArgumentsAreAnAcceptedRequest)
{
    Schedule schedule;
    schedule.button = QStringLiteral("~100.ini");
    schedule.database = Uri;
    schedule.lookupFile = QStringLiteral("/l/a.LKU");
    QString error;
    const std::optional<UnattendedRequest> request =
        UnattendedCommand::parse(unattendedArguments(schedule), error);
    ASSERT_TRUE(request) << error.toStdString();
    EXPECT_EQ(request->lookupFile, schedule.lookupFile);
    EXPECT_EQ(request->database, Uri);
}

} // namespace
} // namespace valdora::schedule
