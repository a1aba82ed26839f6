// The failure check the other tests lean on: it passes only for the right number with the right
// text, so that a wrong report cannot hide behind a right number.
#include "core/testsupport/FailsWith.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace valdora {
namespace {

struct CheckCase {
    const char* name;
    std::function<void()> call;
    test::ExpectedText text;
    bool passes;
};

const auto pathFailure = [] {
    throw Failure(ErrorNumber::PathNotFound, QStringLiteral("Path not found: /tmp/gone"));
};

class FailsWithTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FailsWithTest, PassesOnlyForTheRightNumberAndText)
{
    EXPECT_EQ(static_cast<bool>(test::failsWith(ErrorNumber::PathNotFound, GetParam().text, GetParam().call)),
              GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FailsWithTest,
    ::testing::Values(CheckCase{"WholeText", pathFailure, "Path not found: /tmp/gone", true},
                      CheckCase{"Part", pathFailure, test::containing("/tmp/gone"), true},
                      CheckCase{"OtherText", pathFailure, "Path not found", false},
                      CheckCase{"PartNotThere", pathFailure, test::containing("/tmp/here"), false},
                      CheckCase{
                          "OtherNumber",
                          [] { throw Failure(ErrorNumber::FileNotFound, QStringLiteral("Path not found")); },
                          "Path not found", false},
                      CheckCase{"NoFailure", [] {}, "Path not found", false},
                      CheckCase{"OtherException", [] { throw std::runtime_error("Path not found"); },
                                "Path not found", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora
