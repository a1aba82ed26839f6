#pragma once

#include <QString>

namespace valdora::editor {

/// The positions the three "Position" boxes of the AutoNumber page show: 1 to 3, or 0 for a part
/// that is not used (the number part is always used: its box offers 1 to 3 only).
struct AutoNumberPositions {
    int field = 0;
    int text = 0;
    int number = 1;

    bool operator==(const AutoNumberPositions&) const = default;
};

/// The AutoNumber page's entries that make its output.
struct AutoNumberEntries {
    AutoNumberPositions positions;
    QString fieldName; ///< the field part's field (cmbField)
    QString text;      ///< the text part (txtText)
    QString number;    ///< "Start at" (txtNumber)
    QString separator; ///< txtSeparator

    bool operator==(const AutoNumberEntries&) const = default;
};

/// What the page shows under "Output Preview :" and the pattern the button stores in "Format".
struct AutoNumberOutput {
    QString preview;
    QString pattern;

    bool operator==(const AutoNumberOutput&) const = default;
};

/// Rebuilds the preview and the pattern: positions 1, 2 and 3 in turn, each showing the part whose
/// box holds it (the later of field, text and number when several do): the field as "[" + name + "]",
/// the text, or the "Start at" number. Before the part at position 2 and at position 3 the separator
/// is shown (and "|" put in the pattern) when it is not empty.
AutoNumberOutput Update_Output(const AutoNumberEntries& entries);

} // namespace valdora::editor
