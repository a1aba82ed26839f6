#include "ConditionRow.h"

#include "RowGrid.h"
#include "RowName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>

#include <stdexcept>

namespace valdora::editor {

namespace {

enum Column { CheckColumn, FieldColumn, OperatorColumn, ConditionColumn, ThenColumn, ValueColumn };

int checkedIndex(int index)
{
    if (index < 0 || index >= ButtonKey::ConditionCount)
        throw std::invalid_argument("a condition row's index lies outside the conditions");
    return index;
}

} // namespace

const QStringList& conditionOperatorTexts()
{
    static const QStringList texts{QStringLiteral(" ="),    QStringLiteral(" <>"),   QStringLiteral(" >"),
                                   QStringLiteral(" <"),    QStringLiteral(" >="),   QStringLiteral(" <="),
                                   QStringLiteral("Incl."), QStringLiteral("Starts")};
    return texts;
}

QStringListModel* makeSourceFieldModel(const FieldListModel& fields, QObject& owner)
{
    return new QStringListModel(fields.Field_List(FieldListMode::Source), &owner);
}

ConditionRowWidgets::ConditionRowWidgets(QGridLayout& grid, int gridRow, int index, const Messages& messages,
                                         QAbstractItemModel& sourceFields)
    : m_index(checkedIndex(index))
{
    QWidget& owner = gridOwner(grid);

    m_chkCond = new QCheckBox(
        QStringLiteral("%1. %2").arg(index + 1).arg(messages.get(MessageId::ConditionIf)), &owner);
    m_chkCond->setObjectName(rowName("chkCond", index));

    m_cmbFieldTab1 = new QComboBox(&owner);
    m_cmbFieldTab1->setObjectName(rowName("cmbFieldTab1", index));
    m_cmbFieldTab1->setModel(&sourceFields);
    // A field name may be long; the list stays at a usable width and shows the name whole when open.
    m_cmbFieldTab1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cmbFieldTab1->setMinimumContentsLength(14);
    m_cmbFieldTab1->setCurrentIndex(-1);

    m_cmbOperator = new QComboBox(&owner);
    m_cmbOperator->setObjectName(rowName("cmbOperator", index));
    m_cmbOperator->addItems(conditionOperatorTexts());
    m_cmbOperator->setCurrentIndex(-1);

    m_txtCondition = new QLineEdit(&owner);
    m_txtCondition->setObjectName(rowName("txtCondition", index));

    m_label11 = new QLabel(messages.get(MessageId::ConditionThen), &owner);
    m_label11->setObjectName(rowName("Label11", index));

    m_txtValueTab1 = new QLineEdit(&owner);
    m_txtValueTab1->setObjectName(rowName("txtValueTab1", index));

    grid.addWidget(m_chkCond, gridRow, CheckColumn);
    grid.addWidget(m_cmbFieldTab1, gridRow, FieldColumn);
    grid.addWidget(m_cmbOperator, gridRow, OperatorColumn);
    grid.addWidget(m_txtCondition, gridRow, ConditionColumn);
    grid.addWidget(m_label11, gridRow, ThenColumn);
    grid.addWidget(m_txtValueTab1, gridRow, ValueColumn);
}

void ConditionRowWidgets::load(const ConditionKeys& keys) const
{
    const ConditionRow& row = keys.rows[static_cast<std::size_t>(m_index)];
    m_chkCond->setChecked(row.inUse);
    selectText(*m_cmbFieldTab1, row.field.name);
    m_cmbOperator->setCurrentIndex(row.op >= 0 && row.op < m_cmbOperator->count() ? row.op : -1);
    m_txtCondition->setText(row.condition);
    m_txtValueTab1->setText(row.value);
}

void ConditionRowWidgets::store(ConditionKeys& keys) const
{
    ConditionRow& row = keys.rows[static_cast<std::size_t>(m_index)];
    row.inUse = m_chkCond->isChecked();
    const QString field = chosenText(*m_cmbFieldTab1);
    if (field != row.field.name)
        row.field = FieldChoice{field, {}, {}};
    row.op = m_cmbOperator->currentIndex() < 0 ? NoChoice : m_cmbOperator->currentIndex();
    row.condition = m_txtCondition->text();
    row.value = m_txtValueTab1->text();
}

} // namespace valdora::editor
