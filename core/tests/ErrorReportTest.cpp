#include "core/ErrorReport.h"

#include "core/testsupport/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace valdora {
namespace {

const QString Support = QStringLiteral("Please send this message to support@valdora.example.");

// Defined at the end of the file, on a fixed line, so that the report can be checked byte for byte.
Failure typeMismatchOnLine42();

TEST(ErrorReportTextTest, ByteForByte)
{
    const Failure failure = typeMismatchOnLine42();
    const QString text = errorReportText(failure, {"Prog", RoutineKind::Function, "Calculate"}, Support);
    EXPECT_EQ(text, QStringLiteral("Error 13: 'Type mismatch'\rin Prog: Function Calculate - Line # 42\r\r") +
                        Support);
}

struct LocationRow {
    Routine routine;
    const char* text;
};

class LocationTextTest : public ::testing::TestWithParam<LocationRow> {};

TEST_P(LocationTextTest, OneLiteralPerRoutine)
{
    EXPECT_EQ(GetParam().routine.locationText(), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rows, LocationTextTest,
                         ::testing::Values(LocationRow{{"frmMain", RoutineKind::Sub, "Process_Button"},
                                                       "in frmMain: Sub Process_Button - Line # "},
                                           LocationRow{{"frmMain", RoutineKind::Function, "Validate"},
                                                       "in frmMain: Function Validate - Line # "},
                                           LocationRow{{"frmAutoMain", RoutineKind::Sub, "Process_Button"},
                                                       "in frmAutoMain: Sub Process_Button - Line # "},
                                           LocationRow{{"Module1", RoutineKind::Sub, "Main"},
                                                       "in Module1: Sub Main - Line # "},
                                           LocationRow{{"IniLib", RoutineKind::Function, "GetKeyValue"},
                                                       "in IniLib: Function GetKeyValue - Line # "}));

struct DescriptionRow {
    ErrorNumber number;
    int value;
    const char* description;
};

class DescriptionTest : public ::testing::TestWithParam<DescriptionRow> {};

TEST_P(DescriptionTest, FamiliarNumbering)
{
    const DescriptionRow& row = GetParam();
    EXPECT_EQ(static_cast<int>(row.number), row.value);
    const Failure failure(row.number);
    EXPECT_EQ(failure.number(), row.value);
    EXPECT_EQ(failure.description(), QString::fromLatin1(row.description));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DescriptionTest,
    ::testing::Values(DescriptionRow{ErrorNumber::Overflow, 6, "Overflow"},
                      DescriptionRow{ErrorNumber::SubscriptOutOfRange, 9, "Subscript out of range"},
                      DescriptionRow{ErrorNumber::TypeMismatch, 13, "Type mismatch"},
                      DescriptionRow{ErrorNumber::FileNotFound, 53, "File not found"},
                      DescriptionRow{ErrorNumber::PermissionDenied, 70, "Permission denied"},
                      DescriptionRow{ErrorNumber::PathNotFound, 76, "Path not found"},
                      DescriptionRow{ErrorNumber::AutomationError, 440, "Automation error"}));

class TrapTest : public ::testing::Test {
protected:
    ScriptedPlatform m_platform;
    QString m_language = QStringLiteral("English");
    ErrorReporter m_reporter{m_platform, QStringLiteral("Valdora"),
                             [this] { return m_language + u' ' + Support; }};
    const Routine m_calculate{"Prog", RoutineKind::Function, "Calculate"};
};

TEST_F(TrapTest, ReportsOnceWithTheThrowingLineAndReturnsWhatTheRoutineHolds)
{
    QString result = QStringLiteral("partial");
    int throwingLine = 0;
    const bool finished = trapped(m_reporter, m_calculate, [&] {
        result = QStringLiteral("held");
        throwingLine = __LINE__ + 1;
        throw Failure(ErrorNumber::TypeMismatch);
        result = QStringLiteral("never");
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(result, QStringLiteral("held"));
    ASSERT_EQ(m_platform.messages().size(), 1);
    const MessageRequest& shown = m_platform.messages().front();
    EXPECT_EQ(shown.title, QStringLiteral("Valdora error"));
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.text, QStringLiteral("Error 13: 'Type mismatch'\rin Prog: Function Calculate - Line # ") +
                              QString::number(throwingLine) + QStringLiteral("\r\rEnglish ") + Support);
}

TEST_F(TrapTest, ABodyThatSucceedsShowsNothing)
{
    int calls = 0;
    EXPECT_TRUE(trapped(m_reporter, m_calculate, [&] { ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(TrapTest, SupportMessageIsFetchedWhenTheReportIsShown)
{
    m_language = QStringLiteral("Deutsch");
    trapped(m_reporter, m_calculate, [] { throw Failure(ErrorNumber::FileNotFound); });
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages().front().text.endsWith(QStringLiteral("\r\rDeutsch ") + Support));
    EXPECT_TRUE(
        m_platform.messages().front().text.startsWith(QStringLiteral("Error 53: 'File not found'\r")));
}

TEST_F(TrapTest, ACallerGoesOnAfterTheReport)
{
    std::vector<QString> steps;
    const auto inner = [&] {
        QString value;
        trapped(m_reporter, m_calculate, [&] { throw Failure(ErrorNumber::Overflow); });
        return value;
    };
    trapped(m_reporter, {"frmMain", RoutineKind::Sub, "Process_Button"}, [&] {
        steps.push_back(QStringLiteral("before"));
        steps.push_back(inner());
        steps.push_back(QStringLiteral("after"));
    });
    EXPECT_EQ(steps, (std::vector<QString>{QStringLiteral("before"), QString(), QStringLiteral("after")}));
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages().front().text.contains(QStringLiteral("in Prog: Function Calculate")));
}

struct ForeignRow {
    const char* name;
    void (*raise)();
    const char* prefix;
};

class ForeignExceptionTest : public TrapTest, public ::testing::WithParamInterface<ForeignRow> {};

TEST_P(ForeignExceptionTest, MappedToTheNearestNumber)
{
    EXPECT_FALSE(trapped(m_reporter, m_calculate, GetParam().raise));
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages().front().text.startsWith(QString::fromLatin1(GetParam().prefix)))
        << qPrintable(m_platform.messages().front().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ForeignExceptionTest,
    ::testing::Values(ForeignRow{"OutOfRange", [] { (void)std::vector<int>().at(3); },
                                 "Error 9: 'Subscript out of range'\r"},
                      ForeignRow{"BadOptional", [] { (void)std::optional<int>().value(); },
                                 "Error 91: 'Object variable or With block variable not set'\r"},
                      ForeignRow{"BadAlloc", [] { throw std::bad_alloc(); }, "Error 7: 'Out of memory'\r"},
                      ForeignRow{"Other", [] { throw std::runtime_error("socket closed"); },
                                 "Error 5: 'socket closed'\r"}),
    [](const auto& info) { return std::string(info.param.name); });

Failure typeMismatchOnLine42()
{
    // Kept last in the file: the line directive renumbers everything after it.
#line 42
    return Failure(ErrorNumber::TypeMismatch);
}

} // namespace
} // namespace valdora
