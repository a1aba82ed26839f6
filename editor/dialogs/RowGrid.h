#pragma once

#include <QString>

class QComboBox;
class QGridLayout;
class QWidget;

namespace valdora::editor {

/// The widget a row builder creates its controls in: the widget the grid is set on. Throws
/// std::invalid_argument when the grid is on no widget yet, since the controls would have no owner.
QWidget& gridOwner(QGridLayout& grid);

/// Selects the entry that reads exactly `text` (letter case counts); no choice when the list has
/// none, the empty text included.
void selectText(QComboBox& list, const QString& text);

/// The text of the chosen entry; empty when nothing is chosen.
QString chosenText(const QComboBox& list);

} // namespace valdora::editor
