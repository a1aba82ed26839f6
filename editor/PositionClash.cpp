#include "PositionClash.h"

#include <array>

namespace valdora::editor {

namespace {

int& positionOf(AutoNumberPositions& positions, AutoNumberPart part)
{
    switch (part) {
    case AutoNumberPart::Field:
        return positions.field;
    case AutoNumberPart::Text:
        return positions.text;
    case AutoNumberPart::Number:
        break;
    }
    return positions.number;
}

// One row of the clash table: the third part's position t, the changed part's position c, and where
// the other part, the changed part and the third part go (0: stays).
struct ClashMove {
    int third;
    int changed;
    int otherTo;
    int changedTo;
    int thirdTo;
};

constexpr std::array<ClashMove, 9> ClashMoves{{
    {0, 1, 2, 0, 0},
    {0, 2, 1, 2, 0},
    {0, 3, 1, 2, 0},
    {1, 2, 3, 0, 0},
    {1, 3, 2, 0, 0},
    {2, 1, 2, 0, 3},
    {2, 3, 2, 0, 1},
    {3, 1, 2, 0, 0},
    {3, 2, 1, 0, 0},
}};

} // namespace

AutoNumberPositions cmbPosition_LostFocus(AutoNumberPositions positions, AutoNumberPart changed)
{
    const int c = positionOf(positions, changed);
    if (c == 0)
        return positions;
    std::array<AutoNumberPart, 2> others{};
    std::size_t n = 0;
    for (const AutoNumberPart part : {AutoNumberPart::Field, AutoNumberPart::Text, AutoNumberPart::Number}) {
        if (part != changed)
            others[n++] = part;
    }
    const bool firstClashes = positionOf(positions, others[0]) == c;
    const bool secondClashes = positionOf(positions, others[1]) == c;
    if (firstClashes == secondClashes) // no clash, or all three at one position
        return positions;
    const AutoNumberPart other = firstClashes ? others[0] : others[1];
    const AutoNumberPart third = firstClashes ? others[1] : others[0];
    const int t = positionOf(positions, third);
    for (const ClashMove& move : ClashMoves) {
        if (move.third != t || move.changed != c)
            continue;
        positionOf(positions, other) = move.otherTo;
        if (move.changedTo != 0)
            positionOf(positions, changed) = move.changedTo;
        if (move.thirdTo != 0)
            positionOf(positions, third) = move.thirdTo;
        break;
    }
    return positions;
}

} // namespace valdora::editor
