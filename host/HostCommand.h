#pragma once

/// The numbers of the host commands that Application::Command carries out.
namespace valdora::host::HostCommand {

/// Commits what is being typed in the field on screen.
inline constexpr int CommitTyping = 104;
/// Closes the host as its user would.
inline constexpr int Close = 150;

} // namespace valdora::host::HostCommand
