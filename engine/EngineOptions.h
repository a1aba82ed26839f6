#pragma once

#include "core/TextSemantics.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace valdora::engine {

/// How the default counter file of an AutoNumber button is named from its button file name.
enum class CounterFileNaming {
    BaseName, ///< "AutoNumber_" + the name up to its first "." + ".num" ("AutoNumber_~101.num")
    FullName, ///< "AutoNumber_" + the whole name + ".num" ("AutoNumber_~101.ini.num")
};

/// What differs between the engine of Valdora and that of ValdoraAuto, besides the field reader.
struct EngineOptions {
    /// Module name in failure reports: "frmMain" or "frmAutoMain".
    const char* module = "frmMain";
    /// Members a run can have: 8 in Valdora, 20 in ValdoraAuto.
    int memberCount = 8;
    /// The decimal separator of the arithmetic schemes: the user's decimal separator in Valdora, the
    /// monetary one in ValdoraAuto.
    QChar decimalSeparator = u'.';
    /// Whether an Add/Subtract number or a quotient for a currency (type 6) target is given back with
    /// "." as its separator (Valdora yes, ValdoraAuto no).
    bool currencyTargetUsesDot = true;
    /// The default counter file name.
    CounterFileNaming counterNaming = CounterFileNaming::BaseName;
    /// How long an AutoNumber waits for another process that holds the same counter file.
    int counterLockTimeoutMs = 10000;
    /// The present local date and time (tests pin it).
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    /// Valdora's engine in the given locale.
    static EngineOptions valdora(const TextLocale& locale);
    /// ValdoraAuto's engine in the given locale.
    static EngineOptions valdoraAuto(const TextLocale& locale);
};

} // namespace valdora::engine
