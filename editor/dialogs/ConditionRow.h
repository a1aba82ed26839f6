#pragma once

#include "editor/FieldListModel.h"

#include "settings/ButtonModel.h"
#include "settings/MessageTable.h"

#include <QStringList>

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QObject;
class QStringListModel;

namespace valdora::editor {

/// The conditions the Condition page shows (rows 0 to 4); the conditions dialog holds the rest.
inline constexpr int ConditionPageRows = 5;

/// The texts of a condition's operator list, in the order "Operator<i>" counts them.
const QStringList& conditionOperatorTexts();

/// The list of source fields every condition row offers, made once per window from the editor's
/// field list and owned by `owner`; the rows only select in it.
QStringListModel* makeSourceFieldModel(const FieldListModel& fields, QObject& owner);

/// The widgets of one condition row, created into a grid: chkCond ("7. If"), cmbFieldTab1 over the
/// shared source-field list, cmbOperator with the eight operators, txtCondition, Label11 ("then") and
/// txtValueTab1, each named after its control and the row's index ("cmbOperator_6"). The widgets
/// belong to the grid's widget; this object only points at them and may be copied or dropped freely.
class ConditionRowWidgets {
public:
    /// Creates row `index` (0 to 19) in grid row `gridRow`, columns 0 to 5. The grid must already be
    /// set on a widget, which becomes the widgets' parent; throws std::invalid_argument otherwise, or
    /// for an index outside the conditions.
    ConditionRowWidgets(QGridLayout& grid, int gridRow, int index, const Messages& messages,
                        QAbstractItemModel& sourceFields);

    int index() const { return m_index; }

    /// Shows the condition of this row's index: the tick, the field selected by name (no choice when
    /// the list does not offer it), the operator by position (no choice for -1 or a position past the
    /// list), the comparison value and the value to copy.
    void load(const ConditionKeys& keys) const;
    /// Stores what the row shows into the condition of its index. A field's id and type are kept only
    /// while its name is unchanged; the save takes them from the field list by name.
    void store(ConditionKeys& keys) const;

    QCheckBox* chkCond() const { return m_chkCond; }
    QComboBox* cmbFieldTab1() const { return m_cmbFieldTab1; }
    QComboBox* cmbOperator() const { return m_cmbOperator; }
    QLineEdit* txtCondition() const { return m_txtCondition; }
    QLabel* Label11() const { return m_label11; }
    QLineEdit* txtValueTab1() const { return m_txtValueTab1; }

private:
    int m_index;
    QCheckBox* m_chkCond;
    QComboBox* m_cmbFieldTab1;
    QComboBox* m_cmbOperator;
    QLineEdit* m_txtCondition;
    QLabel* m_label11;
    QLineEdit* m_txtValueTab1;
};

} // namespace valdora::editor
