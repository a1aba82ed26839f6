#include "OperandRows.h"
#include "PageControls.h"
#include "SchemePages.h"

#include "editor/windows/EditorTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

namespace {

/// The Add/Subtract page: four operands joined by three operators, whether no data leaves the
/// target empty, and the text written for an invalid entry.
class AddSubtractPageWidgets final : public SchemePage {
public:
    AddSubtractPageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
        : m_chkZero(&required<QCheckBox>(frame, "chkZero")),
          m_txtInvalidAdd(&required<QLineEdit>(frame, "txtInvalidAdd"))
    {
        auto& grid = required<QGridLayout>(frame, "addSubtractRows");
        m_operands = new OperandRows(grid, ButtonKey::AddSubtractOperands,
                                     {"txtCalcTab2", "cmbFieldTab2", "optCalcTextTab2", "optCalcFieldTab2"},
                                     registerControl);
        // Each operator sits below the operand it follows.
        for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j) {
            const int row = static_cast<int>(j);
            m_cmbOperatorTab2[j] = named<QComboBox>(frame, "cmbOperatorTab2", row);
            fillList(*m_cmbOperatorTab2[j], texts::AddSubtractOperators);
            grid.addWidget(m_cmbOperatorTab2[j], 2 * row + 1, 1);
        }
        registerControl(QStringLiteral("txtInvalidAdd"), m_txtInvalidAdd);
    }

    void buildForButton(const ButtonContext& context) override
    {
        m_operands->showFields(context.sourceFields);
        m_operands->setCaptions(context.messages);
    }

    void load(const EditorState& state) override
    {
        const AddSubtractKeys& keys = state.addSubtract;
        m_operands->load(keys.operands);
        for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
            selectPosition(*m_cmbOperatorTab2[j], keys.operators[j]);
        m_chkZero->setChecked(keys.emptyWhenNoData);
        m_txtInvalidAdd->setText(keys.invalid);
    }

    void store(EditorState& state) const override
    {
        AddSubtractKeys& keys = state.addSubtract;
        m_operands->store(keys.operands);
        for (std::size_t j = 0; j < m_cmbOperatorTab2.size(); ++j)
            keys.operators[j] = m_cmbOperatorTab2[j]->currentIndex();
        keys.emptyWhenNoData = m_chkZero->isChecked();
        keys.invalid = m_txtInvalidAdd->text();
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        // Each operand, then the operator that follows it.
        for (std::size_t i = 0; i < m_operands->rowCount(); ++i) {
            m_operands->appendTabOrder(chain, i);
            if (i < m_cmbOperatorTab2.size())
                chain << m_cmbOperatorTab2[i];
        }
        chain << m_chkZero << m_txtInvalidAdd;
    }

private:
    QCheckBox* m_chkZero;
    QLineEdit* m_txtInvalidAdd;
    /// Owned by the page's box.
    OperandRows* m_operands = nullptr;
    std::array<QComboBox*, ButtonKey::AddSubtractOperands - 1> m_cmbOperatorTab2{};
};

} // namespace

std::unique_ptr<SchemePage> makeAddSubtractPage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<AddSubtractPageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
