#pragma once

#include "editor/EditorState.h"

#include "settings/ButtonModel.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QObject;
class QStringListModel;

namespace valdora::editor {

/// The member rows the Combo page shows (rows 0 to 7); the members dialog holds the rest.
inline constexpr int ComboPageRows = 8;

/// The captions of the member map, in its order: the list every member row offers, made once per
/// window and owned by `owner`. Combo buttons are never in the map, so no row offers one.
QStringListModel* makeMemberCaptionModel(const QList<ComboMember>& members, QObject& owner);

/// The widgets of one Combo member row, created into a grid: chkButton and cmbButton over the shared
/// member captions, named after the control and the row's index ("cmbButton_8"). The entry a row
/// shows stands for the member map's button at the same position, so two buttons of one caption stay
/// apart. The widgets belong to the grid's widget; this object only points at them.
class ComboMemberRowWidgets {
public:
    /// Creates row `index` (0 to 19) in grid row `gridRow`, columns 0 and 1, over the captions of
    /// `members` as `memberCaptions` lists them. The grid must already be set on a widget; throws
    /// std::invalid_argument otherwise, or for an index outside the members.
    ComboMemberRowWidgets(QGridLayout& grid, int gridRow, int index, const QList<ComboMember>& members,
                          QStringListModel& memberCaptions);

    int index() const { return m_index; }

    /// Shows the member slot of this row's index: the tick, and the member whose file the slot names
    /// (no choice when the map does not hold it).
    void load(const ComboKeys& keys) const;
    /// Stores the tick and the chosen member's file name (empty without a choice) into the slot.
    void store(ComboKeys& keys) const;

    QCheckBox* chkButton() const { return m_chkButton; }
    QComboBox* cmbButton() const { return m_cmbButton; }

private:
    int m_index;
    QList<ComboMember> m_members;
    QCheckBox* m_chkButton;
    QComboBox* m_cmbButton;
};

} // namespace valdora::editor
