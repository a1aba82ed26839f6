#include "EngineOptions.h"

namespace valdora::engine {

EngineOptions EngineOptions::valdora(const TextLocale& locale)
{
    EngineOptions options;
    options.decimalSeparator = locale.decimalSeparator();
    return options;
}

EngineOptions EngineOptions::valdoraAuto(const TextLocale& locale)
{
    EngineOptions options;
    options.module = "frmAutoMain";
    options.memberCount = 20;
    options.decimalSeparator = locale.monetaryDecimalSeparator();
    options.currencyTargetUsesDot = false;
    options.counterNaming = CounterFileNaming::FullName;
    return options;
}

} // namespace valdora::engine
