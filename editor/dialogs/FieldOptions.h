#pragma once

#include "editor/EditorState.h"

#include <QString>

namespace valdora::editor {

/// What the field-options dialog shows: the two boxes and the digits as typed.
struct FieldOptionsEntries {
    bool truncate = false;
    QString digits;
    bool upperCase = false;

    bool operator==(const FieldOptionsEntries&) const = default;
};

/// Why OK refuses the entries; None lets them through.
enum class FieldOptionsProblem {
    None,
    DigitsMissing, ///< truncation ticked with an empty digits box
    DigitsBelowOne ///< a digits box that holds no number of at least 1 ("0", "00")
};

/// The largest count of characters a button file's truncation holds: the run reads it as a 16-bit
/// number, and a larger count keeps any value whole anyway.
inline constexpr int LargestTruncateDigits = 32767;

/// The entries the editor's three values show; the digits box is empty while truncation is off.
FieldOptionsEntries fieldOptionsOf(const AutoNumberPage& page);

/// The check of OK, in its order: an empty box with truncation ticked, then a number below 1.
FieldOptionsProblem checkFieldOptions(const FieldOptionsEntries& entries);

/// The editor's values after OK with entries that passed the check. An empty digits box (truncation
/// off) keeps the previous number, since no number can be read from it; a number above
/// LargestTruncateDigits is stored as that largest count.
AutoNumberPage withFieldOptions(AutoNumberPage page, const FieldOptionsEntries& entries);

} // namespace valdora::editor
