#pragma once

#include "AutoNumberOutput.h"

namespace valdora::editor {

/// The three parts of an AutoNumber, in the order in which a later one takes a shared position.
enum class AutoNumberPart { Field, Text, Number };

/// The positions after the box of `changed` has lost the focus. When exactly one other part shares
/// the changed part's position (0 never counts), the parts are moved apart so that each keeps a
/// position of its own and the changed part stays where it was put whenever it can; with no clash,
/// or with all three at one position, nothing moves.
AutoNumberPositions cmbPosition_LostFocus(AutoNumberPositions positions, AutoNumberPart changed);

} // namespace valdora::editor
