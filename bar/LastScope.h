#pragma once

#include "run/ScopeChooser.h"
#include "settings/UserSettings.h"

#include <QString>

#include <optional>

namespace valdora::bar {

/// The scope a button last ran over from the bar, kept per user, so that its next scope dialog starts
/// with it chosen; nullopt for a button that has not run yet (or a value that is no scope).
std::optional<run::Scope> lastScope(const UserSettings& store, const QString& buttonFile);
/// Keeps the scope a button ran over.
void rememberScope(const UserSettings& store, const QString& buttonFile, run::Scope scope);

} // namespace valdora::bar
