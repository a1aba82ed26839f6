#pragma once

#include "settings/OverwriteMode.h"

#include <QString>

namespace valdora::run {

/// A member's overwriting rule: the options of its "Over" group that are on, and the append separator.
struct OverwriteRule {
    OverwriteOptions options{OverwriteMode::NeverOverwrite, OverwriteMode::Append};
    QString separator = QStringLiteral("-");

    /// The rule of one mode, as the editor saves it.
    static OverwriteRule of(OverwriteMode mode, QString separator = QStringLiteral("-"));
    /// The rule a button file holds, as a run reads it.
    static OverwriteRule fromButton(const ButtonFile& button);

    /// The mode whose text the rule leaves in the target: the last option on; nullopt for none.
    std::optional<OverwriteMode> mode() const { return options.last(); }

    /// Combines the computed value with the field's present value: each option on, in the group's
    /// order, replaces the text, and the value counts as used when any of them took it. A rule with no
    /// option on keeps the present value, so a damaged file never empties a field.
    OverwriteResult apply(const QString& present, const QString& computed) const;
};

} // namespace valdora::run
