#pragma once

#include "ButtonFile.h"
#include "MessageId.h"

#include <QString>

#include <array>
#include <bitset>
#include <initializer_list>
#include <optional>

namespace valdora {

/// How a run combines the value a button computed with what its target holds: the options of the
/// button file's "Over" group, numbered as the group's keys.
enum class OverwriteMode : int {
    NeverOverwrite = 0,       ///< "Over0": fill only an empty target
    Append = 1,               ///< "Over1": append to what the target holds, with the separator between
    OverwriteUnlessEmpty = 2, ///< "Over2": overwrite, but never with an empty value
    AlwaysOverwrite = 3,      ///< "Over3": overwrite, also with an empty value
};

/// What a mode or a rule made of a computed value: the text the target gets, and whether the
/// computed value went into it (which is what advances an AutoNumber counter).
struct OverwriteResult {
    QString text;
    bool valueUsed = false;

    bool operator==(const OverwriteResult&) const = default;
};

/// What a mode does to a target that holds a value when it is given another, non-empty one; the
/// preview names a row by it.
enum class FilledTargetAction {
    Skip,    ///< the target keeps what it holds
    Append,  ///< the value is appended after the separator
    Replace, ///< the value replaces what the target holds
};

/// The step of one mode: the text for a target from its present value, the computed value and the
/// append separator.
using OverwriteStep = OverwriteResult (*)(const QString& present, const QString& computed,
                                          const QString& separator);

namespace overwritestep {
OverwriteResult fillEmpty(const QString& present, const QString& computed, const QString& separator);
OverwriteResult append(const QString& present, const QString& computed, const QString& separator);
OverwriteResult unlessEmpty(const QString& present, const QString& computed, const QString& separator);
OverwriteResult always(const QString& present, const QString& computed, const QString& separator);
} // namespace overwritestep

/// Everything the suite knows of one mode. Its key is ButtonKey::at(ButtonKey::Over, mode).
struct OverwriteModeRow {
    OverwriteMode mode;
    MessageId caption;               ///< the editor's caption of the mode's option
    FilledTargetAction filledTarget; ///< what the preview says it does to a filled target
    OverwriteStep step;              ///< what a run writes
};

/// The modes in the group's order: the row of a mode is at its number.
inline constexpr std::array<OverwriteModeRow, 4> OverwriteModes{{
    {OverwriteMode::NeverOverwrite, MessageId::NeverOverwrite, FilledTargetAction::Skip,
     &overwritestep::fillEmpty},
    {OverwriteMode::Append, MessageId::AppendWithSeparator, FilledTargetAction::Append,
     &overwritestep::append},
    {OverwriteMode::OverwriteUnlessEmpty, MessageId::OverwriteUnlessEmpty, FilledTargetAction::Replace,
     &overwritestep::unlessEmpty},
    {OverwriteMode::AlwaysOverwrite, MessageId::AlwaysOverwrite, FilledTargetAction::Replace,
     &overwritestep::always},
}};

/// The row of a mode.
constexpr const OverwriteModeRow& rowOf(OverwriteMode mode)
{
    return OverwriteModes[static_cast<std::size_t>(mode)];
}

/// The mode's key in a button file ("Over0" for NeverOverwrite).
QString keyOf(OverwriteMode mode);
/// The mode whose key this is, without regard to case as keys are matched; nullopt for any other key.
std::optional<OverwriteMode> overwriteModeOfKey(const QString& key);
/// The mode of an option of the group by its number (the editor's option buttons); nullopt for a
/// number outside the group, such as the one of no choice.
std::optional<OverwriteMode> overwriteModeAt(int option);

/// The options of the "Over" group that are on. The editor writes exactly one; a file written by
/// hand or by an earlier version may hold none or several.
class OverwriteOptions {
public:
    OverwriteOptions() = default;
    OverwriteOptions(std::initializer_list<OverwriteMode> modes);

    bool contains(OverwriteMode mode) const { return m_on.test(static_cast<std::size_t>(mode)); }
    bool empty() const { return m_on.none(); }
    /// These options and `mode`.
    OverwriteOptions with(OverwriteMode mode) const
    {
        OverwriteOptions options = *this;
        options.m_on.set(static_cast<std::size_t>(mode));
        return options;
    }
    /// The last option on in the group's order, whose text a run leaves in the target; nullopt for none.
    std::optional<OverwriteMode> last() const;

    bool operator==(const OverwriteOptions&) const = default;

private:
    std::bitset<OverwriteModes.size()> m_on;
};

/// The options on in a file: a key reads on when it is "1", an absent or empty key when `onWhenAbsent`
/// holds its mode.
OverwriteOptions readOverwriteOptions(const ButtonFile& file, const OverwriteOptions& onWhenAbsent);

/// The options a run applies. Files of early versions carry no "Over" keys and append, so an absent
/// or empty "Over0" or "Over1" reads on: such a file fills and then appends, which leaves the text
/// of appending.
OverwriteOptions readRunOverwriteOptions(const ButtonFile& file);
/// The separator a run appends with: "AppenSep", "-" when absent or empty.
QString readRunAppendSeparator(const ButtonFile& file);

/// The mode the editor shows: the last option on, an absent or empty "Over0" reading on; nullopt when
/// no option is on.
std::optional<OverwriteMode> readOverwriteMode(const ButtonFile& file);
/// Writes the group as the editor does: "1" for the mode's key, "0" for the others (every key "0"
/// without a mode). False when a key could not be written; the keys before it stay written.
bool writeOverwriteMode(const ButtonFile& file, std::optional<OverwriteMode> mode);

} // namespace valdora
