#include "ConditionPageWidgets.h"

#include "PageControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

namespace valdora::editor {

ConditionPageWidgets::ConditionPageWidgets(QGroupBox& frame, const RegisterControl& /*registerControl*/)
{
    m_frame = &frame;
    m_grid = &required<QGridLayout>(frame, "conditionRows");
    m_cmdMoreCond = &required<QPushButton>(frame, "cmdMoreCond");
}

void ConditionPageWidgets::buildForButton(const ButtonContext& context)
{
    for (int i = 0; i < ConditionPageRows; ++i) {
        const ConditionRowWidgets& row =
            m_conditions.emplace_back(*m_grid, 2 * i, i, context.messages, context.sourceFields);
        if (i + 1 < ConditionPageRows) {
            QLabel* orLabel = named<QLabel>(*m_frame, "lblOr", i);
            m_grid->addWidget(orLabel, 2 * i + 1, 0);
            m_orLabels.push_back(orLabel);
        }
        context.registerControl(checkNameOf("txtValueTab1", i), row.txtValueTab1());
        context.registerControl(checkNameOf("cmbOperator", i), row.cmbOperator());
        context.registerControl(checkNameOf("cmbFieldTab1", i), row.cmbFieldTab1());
    }
    m_grid->setColumnStretch(1, 2);
    m_grid->setColumnStretch(3, 1);
    m_grid->setColumnStretch(5, 1);
    for (QLabel* orLabel : m_orLabels)
        orLabel->setText(context.messages.get(MessageId::ConditionOr));
}

void ConditionPageWidgets::load(const EditorState& state)
{
    for (const ConditionRowWidgets& row : m_conditions)
        row.load(state.condition);
}

void ConditionPageWidgets::store(EditorState& state) const
{
    for (const ConditionRowWidgets& row : m_conditions)
        row.store(state.condition);
}

void ConditionPageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    for (const ConditionRowWidgets& row : m_conditions)
        chain << row.chkCond() << row.cmbFieldTab1() << row.cmbOperator() << row.txtCondition()
              << row.txtValueTab1();
    chain << m_cmdMoreCond;
}

} // namespace valdora::editor
