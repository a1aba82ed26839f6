#include "editor/AutoNumberOutput.h"

#include "settings/ButtonFile.h"

#include <gtest/gtest.h>

namespace valdora::editor::test {
namespace {

const QString F(AutoNumberMarker::FieldPart);
const QString T(AutoNumberMarker::TextPart);
const QString N(AutoNumberMarker::NumberPart);

struct OutputCase {
    const char* name;
    AutoNumberPositions positions;
    const char* separator;
    const char* preview;
    QString pattern;
};

void PrintTo(const OutputCase& c, std::ostream* out)
{
    *out << c.name;
}

class UpdateOutput : public ::testing::TestWithParam<OutputCase> {};

TEST_P(UpdateOutput, BuildsPreviewAndPattern)
{
    const OutputCase& c = GetParam();
    const AutoNumberEntries entries{c.positions, QStringLiteral("Company"), QStringLiteral("INV"),
                                    QStringLiteral("0001"), QString::fromLatin1(c.separator)};
    const AutoNumberOutput output = Update_Output(entries);
    EXPECT_EQ(output.preview, QString::fromLatin1(c.preview));
    EXPECT_EQ(output.pattern, c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, UpdateOutput,
    ::testing::Values(
        OutputCase{"NumberOnly", {0, 0, 1}, "-", "0001", N},
        OutputCase{"FieldThenNumberWithSeparator", {1, 0, 2}, "-", "[Company]-0001", F + u'|' + N},
        OutputCase{"FieldThenNumberWithSlash", {1, 0, 2}, "/", "[Company]/0001", F + u'|' + N},
        OutputCase{"TextThenNumberAtThreeNoSeparator", {0, 1, 3}, "", "INV0001", T + N},
        OutputCase{"AllThree", {1, 2, 3}, "-", "[Company]-INV-0001", F + u'|' + T + u'|' + N},
        OutputCase{"ReversedOrder", {3, 2, 1}, ".", "0001.INV.[Company]", N + u'|' + T + u'|' + F},
        OutputCase{"NumberAtTwoAlone", {0, 0, 2}, "-", "-0001", u'|' + N},
        OutputCase{"LaterPartTakesASharedPosition", {1, 1, 2}, "-", "INV-0001", T + u'|' + N},
        OutputCase{"NumberTakesAllThreeAtOne", {1, 1, 1}, "-", "0001", N}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateOutput, TheFieldPartShowsItsNameInBrackets)
{
    const AutoNumberEntries entries{{1, 0, 2}, QStringLiteral("Company"), {}, QStringLiteral("0001"), {}};
    EXPECT_EQ(Update_Output(entries).preview, u"[Company]0001");
}

} // namespace
} // namespace valdora::editor::test
