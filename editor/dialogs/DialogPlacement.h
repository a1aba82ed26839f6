#pragma once

class QWidget;

namespace valdora::editor {

/// Puts a dialog that no widget owns over the window of `parent`: centred on it, and kept above it
/// by the window manager. Without a parent the dialog opens where the platform puts it.
void placeOver(QWidget& dialog, const QWidget* parent);

} // namespace valdora::editor
