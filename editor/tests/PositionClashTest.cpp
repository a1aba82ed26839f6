#include "editor/PositionClash.h"

#include <gtest/gtest.h>

namespace valdora::editor::test {
namespace {

struct ClashCase {
    const char* name;
    AutoNumberPositions before; ///< after the box of `changed` took its new position
    AutoNumberPart changed;
    AutoNumberPositions after;
};

void PrintTo(const ClashCase& c, std::ostream* out)
{
    *out << c.name;
}

class PositionClash : public ::testing::TestWithParam<ClashCase> {};

TEST_P(PositionClash, MovesThePartsApart)
{
    EXPECT_EQ(cmbPosition_LostFocus(GetParam().before, GetParam().changed), GetParam().after);
}

using P = AutoNumberPart;

// One row per line of the clash table (t: the third part's position, c: the changed part's), then
// the cases without a clash.
INSTANTIATE_TEST_SUITE_P(
    Table, PositionClash,
    ::testing::Values(
        // field changed, number the other part, text the third
        ClashCase{"T0C1", {1, 0, 1}, P::Field, {1, 0, 2}}, ClashCase{"T0C2", {2, 0, 2}, P::Field, {2, 0, 1}},
        ClashCase{"T0C3", {3, 0, 3}, P::Field, {2, 0, 1}}, ClashCase{"T1C2", {2, 1, 2}, P::Field, {2, 1, 3}},
        ClashCase{"T1C3", {3, 1, 3}, P::Field, {3, 1, 2}}, ClashCase{"T2C1", {1, 2, 1}, P::Field, {1, 3, 2}},
        ClashCase{"T2C3", {3, 2, 3}, P::Field, {3, 1, 2}}, ClashCase{"T3C1", {1, 3, 1}, P::Field, {1, 3, 2}},
        ClashCase{"T3C2", {2, 3, 2}, P::Field, {2, 3, 1}},
        // the number changed, the field the other part
        ClashCase{"NumberToThreeBesideFieldThreeTextOne", {3, 1, 3}, P::Number, {2, 1, 3}},
        ClashCase{"NumberToThreeBesideFieldThreeTextTwo", {3, 2, 3}, P::Number, {2, 1, 3}},
        ClashCase{"NumberToTwoBesideFieldTwoTextUnused", {2, 0, 2}, P::Number, {1, 0, 2}},
        ClashCase{"NumberToThreeBesideFieldThreeTextUnused", {3, 0, 3}, P::Number, {1, 0, 2}},
        // the text changed, the field the third
        ClashCase{"TextToOneBesideNumberOne", {0, 1, 1}, P::Text, {0, 1, 2}},
        // no clash, all three together, or an unused part
        ClashCase{"NoClash", {1, 2, 3}, P::Field, {1, 2, 3}},
        ClashCase{"AllThreeAtOnePosition", {2, 2, 2}, P::Text, {2, 2, 2}},
        ClashCase{"UnusedPartsNeverClash", {0, 0, 1}, P::Field, {0, 0, 1}},
        ClashCase{"ChangedToUnused", {0, 1, 2}, P::Field, {0, 1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::editor::test
