#include "AddSubtractPageWidgets.h"

#include "PageControls.h"

#include "editor/windows/EditorTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

AddSubtractPageWidgets::AddSubtractPageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
{
    auto& grid = required<QGridLayout>(frame, "addSubtractRows");
    m_chkZero = &required<QCheckBox>(frame, "chkZero");
    m_txtInvalidAdd = &required<QLineEdit>(frame, "txtInvalidAdd");
    m_operands = new OperandRows(
        grid, ButtonKey::AddSubtractOperands,
        OperandNames{"txtCalcTab2", "cmbFieldTab2", "optCalcTextTab2", "optCalcFieldTab2"}, registerControl);
    for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j) {
        const int row = static_cast<int>(j);
        m_cmbOperatorTab2[j] = named<QComboBox>(frame, "cmbOperatorTab2", row);
        fillList(*m_cmbOperatorTab2[j], texts::AddSubtractOperators);
        grid.addWidget(m_cmbOperatorTab2[j], 2 * row + 1, 1);
    }
    registerControl(QStringLiteral("txtInvalidAdd"), m_txtInvalidAdd);
}

void AddSubtractPageWidgets::buildForButton(const ButtonContext& context)
{
    m_operands->showFields(context.sourceFields);
    m_operands->setCaptions(context.messages);
}

void AddSubtractPageWidgets::load(const EditorState& state)
{
    m_operands->load(state.addSubtract.operands);
    for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
        selectPosition(*m_cmbOperatorTab2[j], state.addSubtract.operators[j]);
    m_chkZero->setChecked(state.addSubtract.emptyWhenNoData);
    m_txtInvalidAdd->setText(state.addSubtract.invalid);
}

void AddSubtractPageWidgets::store(EditorState& state) const
{
    m_operands->store(state.addSubtract.operands);
    for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
        state.addSubtract.operators[j] = m_cmbOperatorTab2[j]->currentIndex();
    state.addSubtract.emptyWhenNoData = m_chkZero->isChecked();
    state.addSubtract.invalid = m_txtInvalidAdd->text();
}

void AddSubtractPageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    // Each operand, then the operator that follows it.
    for (std::size_t i = 0; i < m_operands->size(); ++i) {
        m_operands->appendTabOrder(chain, i);
        if (i < m_cmbOperatorTab2.size())
            chain << m_cmbOperatorTab2[i];
    }
    chain << m_chkZero << m_txtInvalidAdd;
}

} // namespace valdora::editor
