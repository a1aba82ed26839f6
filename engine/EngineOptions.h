#pragma once

#include <QChar>
#include <QDateTime>

#include <functional>

namespace valdora::engine {

/// How the default counter file of an AutoNumber button is named from its button file name.
enum class CounterFileNaming {
    BaseName, ///< "AutoNumber_" + the name up to its first "." + ".num" ("AutoNumber_~101.num")
    FullName, ///< "AutoNumber_" + the whole name + ".num" ("AutoNumber_~101.ini.num")
};

/// The engine's knobs, besides the field reader. What a program sets here is stated by its profile
/// (run::ProgramProfile); the defaults describe no program in particular.
struct EngineOptions {
    /// Module name in failure reports ("frmMain", "frmAutoMain").
    const char* module = "";
    /// Members a run can have; the schemes keep their per-member lists for that many.
    int memberCount = 0;
    /// The decimal separator of the arithmetic schemes.
    QChar decimalSeparator = u'.';
    /// Whether an Add/Subtract number or a quotient for a currency (type 6) target is given back with
    /// "." as its separator.
    bool currencyTargetUsesDot = true;
    /// The default counter file name.
    CounterFileNaming counterNaming = CounterFileNaming::BaseName;
    /// How long an AutoNumber waits for another process that holds the same counter file.
    int counterLockTimeoutMs = 10000;
    /// A preview computes what a run would write and changes nothing: counter files are only read (a
    /// missing one counts from 1), never locked, created or advanced; the numbers a run would hand out
    /// are counted in memory, one per contact whose number would be used.
    bool preview = false;
    /// The present local date and time (tests pin it).
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
};

} // namespace valdora::engine
