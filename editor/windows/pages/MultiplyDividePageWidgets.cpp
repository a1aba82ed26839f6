#include "OperandRows.h"
#include "PageControls.h"
#include "SchemePages.h"

#include "editor/windows/EditorTexts.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

namespace {

/// The Multiply/Divide page: two operands joined by one operator, and the text written for an
/// invalid entry.
class MultiplyDividePageWidgets final : public SchemePage {
public:
    MultiplyDividePageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
        : m_txtInvalid(&required<QLineEdit>(frame, "txtInvalid"))
    {
        auto& grid = required<QGridLayout>(frame, "multiplyDivideRows");
        m_operands = new OperandRows(grid, ButtonKey::MultiplyDivideOperands,
                                     {"txtCalcTab3", "cmbFieldTab3", "optCalcTextTab3", "optCalcFieldTab3"},
                                     registerControl);
        // One operator, between the two operands.
        m_cmbOperatorTab3 = new QComboBox(&frame);
        m_cmbOperatorTab3->setObjectName(QStringLiteral("cmbOperatorTab3"));
        fillList(*m_cmbOperatorTab3, texts::MultiplyDivideOperators);
        grid.addWidget(m_cmbOperatorTab3, 1, 1);
        registerControl(QStringLiteral("txtInvalid"), m_txtInvalid);
    }

    void buildForButton(const ButtonContext& context) override
    {
        m_operands->setCaptions(context.messages);
        m_operands->showFields(context.sourceFields);
    }

    void load(const EditorState& state) override
    {
        m_operands->load(state.multiplyDivide.operands);
        selectPosition(*m_cmbOperatorTab3, state.multiplyDivide.op);
        m_txtInvalid->setText(state.multiplyDivide.invalid);
    }

    void store(EditorState& state) const override
    {
        m_operands->store(state.multiplyDivide.operands);
        state.multiplyDivide.op = m_cmbOperatorTab3->currentIndex();
        state.multiplyDivide.invalid = m_txtInvalid->text();
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        m_operands->appendTabOrder(chain, 0);
        chain << m_cmbOperatorTab3;
        m_operands->appendTabOrder(chain, 1);
        chain << m_txtInvalid;
    }

private:
    QLineEdit* m_txtInvalid;
    /// Owned by the page's box.
    OperandRows* m_operands = nullptr;
    QComboBox* m_cmbOperatorTab3 = nullptr;
};

} // namespace

std::unique_ptr<SchemePage> makeMultiplyDividePage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<MultiplyDividePageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
