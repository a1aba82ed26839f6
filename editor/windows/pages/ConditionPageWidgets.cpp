#include "PageControls.h"
#include "SchemePages.h"

#include "editor/dialogs/ConditionRow.h"
#include "editor/dialogs/RowGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>

#include <vector>

namespace valdora::editor {

namespace {

/// The Condition page: the first condition rows, each with an "or" below it, and the button to the
/// dialog that holds the rest. The rows are built with the button, over the window's field list.
class ConditionPageWidgets final : public SchemePage {
public:
    ConditionPageWidgets(QGroupBox& frame, const RegisterControl& /*registerControl*/)
        : m_grid(&required<QGridLayout>(frame, "conditionRows")),
          m_cmdMoreCond(&required<QPushButton>(frame, "cmdMoreCond"))
    {}

    void buildForButton(const ButtonContext& context) override
    {
        for (int i = 0; i < ConditionPageRows; ++i) {
            const ConditionRowWidgets& row =
                m_conditions.emplace_back(*m_grid, 2 * i, i, context.messages, context.sourceFields);
            if (i + 1 < ConditionPageRows) {
                QLabel* orLabel = named<QLabel>(gridOwner(*m_grid), "lblOr", i);
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

    void load(const EditorState& state) override
    {
        for (const ConditionRowWidgets& row : m_conditions)
            row.load(state.condition);
    }

    void store(EditorState& state) const override
    {
        for (const ConditionRowWidgets& row : m_conditions)
            row.store(state.condition);
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        for (const ConditionRowWidgets& row : m_conditions)
            chain << row.chkCond() << row.cmbFieldTab1() << row.cmbOperator() << row.txtCondition()
                  << row.txtValueTab1();
        chain << m_cmdMoreCond;
    }

private:
    QGridLayout* m_grid;
    QPushButton* m_cmdMoreCond;
    /// The page's condition rows 0-4 and the "OR" between them.
    std::vector<ConditionRowWidgets> m_conditions;
    std::vector<QLabel*> m_orLabels;
};

} // namespace

std::unique_ptr<SchemePage> makeConditionPage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<ConditionPageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
