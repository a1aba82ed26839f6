#pragma once

#include <QString>

#include <array>
#include <cstddef>

namespace valdora {

/// Texts of our own, one block per language in the order of their enum's names (the last name,
/// Count, sizes the block). The languages are those of the suite: English, French (base 1300) and
/// German (base 2300); any other base reads English.
template <typename Id> struct LanguageBlocks {
    static constexpr auto Count = static_cast<std::size_t>(Id::Count);
    using Block = std::array<const char*, Count>;

    Block english;
    Block french;
    Block german;

    /// A block with fewer texts than the enum has names leaves its last ones null; a table is
    /// checked for that where it is defined, with a static_assert.
    static constexpr bool complete(const Block& block)
    {
        for (const char* text : block)
            if (text == nullptr)
                return false;
        return true;
    }
    constexpr bool complete() const { return complete(english) && complete(french) && complete(german); }

    QString text(qint16 languageBase, Id id) const
    {
        const Block& block = languageBase == 1300 ? french : languageBase == 2300 ? german : english;
        return QString::fromUtf8(block.at(static_cast<std::size_t>(id)));
    }
};

} // namespace valdora
