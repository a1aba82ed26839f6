#pragma once

#include <QString>

#include <optional>

namespace valdora::host {

/// A field trigger resolved to what the host starts: a program file and its argument text.
struct TriggerCommand {
    QString program;    ///< absolute path of the program (or macro) file
    QString arguments;  ///< the rest of the trigger text after one blank; may be empty
    bool macro = false; ///< a host macro (".mpr"), which this host cannot run
};

/// Resolves a trigger text. Trigger texts carry no quotation marks even when folders hold blanks, so
/// the program is the longest leading part of the text that names an existing program file, and the
/// rest after one blank is its argument text. A text naming a ".mpr" file is a macro. nullopt when
/// no leading part names a program.
std::optional<TriggerCommand> resolveTrigger(const QString& text);

} // namespace valdora::host
