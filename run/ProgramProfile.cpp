#include "ProgramProfile.h"

namespace valdora::run {

namespace {

using engine::CounterFileNaming;

/// What a profile holds apart from the locale's separators.
struct ProgramTraits {
    const char* module;
    int comboSlots;
    bool monetarySeparator; ///< the arithmetic takes the monetary decimal separator
    bool currencyTargetUsesDot;
    CounterFileNaming counterNaming;
    ContactRoadKind road;
};

// ValdoraAuto runs all twenty combo slots that the editor offers; Valdora's bar only the first eight.
constexpr ProgramTraits Valdora{"frmMain", 8, false, true, CounterFileNaming::BaseName, ContactRoadKind::Bar};
constexpr ProgramTraits ValdoraAuto{
    "frmAutoMain", 20, true, false, CounterFileNaming::FullName, ContactRoadKind::OnScreen};

ProgramProfile profileOf(const ProgramTraits& traits, const TextLocale& locale)
{
    ProgramProfile profile;
    profile.engine.module = traits.module;
    profile.engine.memberCount = traits.comboSlots;
    profile.engine.decimalSeparator =
        traits.monetarySeparator ? locale.monetaryDecimalSeparator() : locale.decimalSeparator();
    profile.engine.currencyTargetUsesDot = traits.currencyTargetUsesDot;
    profile.engine.counterNaming = traits.counterNaming;
    profile.road = traits.road;
    return profile;
}

} // namespace

ProgramProfile ProgramProfile::valdora(const TextLocale& locale)
{
    return profileOf(Valdora, locale);
}

ProgramProfile ProgramProfile::valdoraAuto(const TextLocale& locale)
{
    return profileOf(ValdoraAuto, locale);
}

} // namespace valdora::run
