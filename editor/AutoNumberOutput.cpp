#include "AutoNumberOutput.h"

#include "settings/ButtonFile.h"

#include <array>

namespace valdora::editor {

AutoNumberOutput Update_Output(const AutoNumberEntries& entries)
{
    const AutoNumberPositions& at = entries.positions;
    // The shown text of each position 1..3; a part later in the order field, text, number wins.
    std::array<std::optional<QString>, 4> shown;
    const std::array parts{std::pair{at.field, QLatin1Char('[') + entries.fieldName + QLatin1Char(']')},
                           std::pair{at.text, entries.text}, std::pair{at.number, entries.number}};
    for (const auto& [position, text] : parts) {
        if (position >= 1 && position <= 3)
            shown[static_cast<std::size_t>(position)] = text;
    }
    AutoNumberOutput output;
    for (std::size_t position = 1; position <= 3; ++position) {
        if (!shown[position])
            continue;
        if (position >= 2)
            output.preview += entries.separator;
        output.preview += *shown[position];
    }
    output.pattern = autoNumberPattern(at.field, at.text, at.number, entries.separator);
    return output;
}

} // namespace valdora::editor
