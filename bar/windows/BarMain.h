#pragma once

#include "MainBar.h"

#include "bar/SingleInstance.h"

#include <functional>
#include <memory>

namespace valdora::bar {

/// What the program's start is given: the bar's parts, and how the notification icon is made.
struct BarProgramParts {
    ProgramSession& session;
    BarScreens& screens;
    run::ScopeChooser& scopes;
    BarHostFactories factories;
    std::function<std::unique_ptr<NotificationIcon>()> makeIcon;
};

/// The start of Valdora: the settings brought up to date, one bar per user (a later start shows the
/// running bar and ends), the splash, the bar's load. Returns the bar, running on its events, or
/// nullptr when the program ends here (after the message that says why, if any).
std::unique_ptr<MainBar> Main(BarProgramParts parts, SingleInstance& instance);

} // namespace valdora::bar
