#include "MultiplyDividePageWidgets.h"

#include "PageControls.h"

#include "editor/windows/EditorTexts.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

MultiplyDividePageWidgets::MultiplyDividePageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
{
    auto& grid = required<QGridLayout>(frame, "multiplyDivideRows");
    m_txtInvalid = &required<QLineEdit>(frame, "txtInvalid");
    m_operands = new OperandRows(
        grid, ButtonKey::MultiplyDivideOperands,
        OperandNames{"txtCalcTab3", "cmbFieldTab3", "optCalcTextTab3", "optCalcFieldTab3"}, registerControl);
    m_cmbOperatorTab3 = new QComboBox(&frame);
    m_cmbOperatorTab3->setObjectName(QStringLiteral("cmbOperatorTab3"));
    fillList(*m_cmbOperatorTab3, texts::MultiplyDivideOperators);
    grid.addWidget(m_cmbOperatorTab3, 1, 1);
    registerControl(QStringLiteral("txtInvalid"), m_txtInvalid);
}

void MultiplyDividePageWidgets::buildForButton(const ButtonContext& context)
{
    m_operands->showFields(context.sourceFields);
    m_operands->setCaptions(context.messages);
}

void MultiplyDividePageWidgets::load(const EditorState& state)
{
    m_operands->load(state.multiplyDivide.operands);
    selectPosition(*m_cmbOperatorTab3, state.multiplyDivide.op);
    m_txtInvalid->setText(state.multiplyDivide.invalid);
}

void MultiplyDividePageWidgets::store(EditorState& state) const
{
    m_operands->store(state.multiplyDivide.operands);
    state.multiplyDivide.op = m_cmbOperatorTab3->currentIndex();
    state.multiplyDivide.invalid = m_txtInvalid->text();
}

void MultiplyDividePageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    // The operator sits between the two operands.
    for (std::size_t i = 0; i < m_operands->size(); ++i) {
        m_operands->appendTabOrder(chain, i);
        if (i == 0)
            chain << m_cmbOperatorTab3;
    }
    chain << m_txtInvalid;
}

} // namespace valdora::editor
