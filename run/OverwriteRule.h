#pragma once

#include "settings/ButtonFile.h"

#include <QString>

namespace valdora::run {

/// What Validate made of a computed value: the text to write and whether the computed value went in.
struct OverwriteResult {
    QString text;
    bool valueUsed = false;
};

/// A button's overwriting rule: the four options "Over0" to "Over3" and the append separator.
struct OverwriteRule {
    bool fillEmpty = true;    ///< "Over0": fill only an empty field
    bool append = true;       ///< "Over1": append to a non-empty field with the separator
    bool overwrite = false;   ///< "Over2": overwrite, never with an empty value
    bool alwaysWrite = false; ///< "Over3": always overwrite, also with an empty value
    QString separator = QStringLiteral("-");

    /// The rule a button file holds; an absent or empty key takes its default.
    static OverwriteRule fromButton(const ButtonFile& button);
    /// Combines the computed value with the field's present value, options in order 0 to 3. A rule
    /// with no option selected keeps the present value, so a damaged file never empties a field.
    OverwriteResult apply(const QString& present, const QString& computed) const;
};

} // namespace valdora::run
