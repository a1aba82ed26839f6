#pragma once

#include <QString>

#include <functional>

namespace valdora::widgets {

/// The backspace key's character code.
constexpr int BackspaceKey = 8;

/// A key filter for text boxes: the typed character is returned when it is in the allowed set
/// (compared without letter case; backspace belongs to the set when allowed), otherwise `beep` is
/// called and 0 is returned, which swallows the key.
int ValidateText(int keyCode, const QString& allowed, bool allowBackspace, const std::function<void()>& beep);

/// True when the path names an existing file or folder.
bool FileExists(const QString& path);

} // namespace valdora::widgets
