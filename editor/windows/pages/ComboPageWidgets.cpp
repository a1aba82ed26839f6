#include "PageControls.h"
#include "SchemePages.h"

#include "editor/dialogs/ComboMemberRow.h"
#include "editor/dialogs/RowGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringListModel>

#include <array>
#include <vector>

namespace valdora::editor {

namespace {

/// The Combo page: the first member rows in two columns, and the button to the dialog that holds
/// the rest. The rows are built with the button, over the buttons it may combine.
class ComboPageWidgets final : public SchemePage {
public:
    ComboPageWidgets(QGroupBox& frame, const RegisterControl& /*registerControl*/)
        : m_comboRows(&required<QGridLayout>(frame, "comboRows")),
          m_cmdMoreCombo(&required<QPushButton>(frame, "cmdMoreCombo"))
    {}

    void buildForButton(const ButtonContext& context) override
    {
        QWidget& frame = gridOwner(*m_comboRows);
        // Two columns of four rows, each in a grid of its own.
        auto* columns = new QHBoxLayout;
        m_comboRows->addLayout(columns, 0, 0);
        std::array<QGridLayout*, 2> grids{new QGridLayout, new QGridLayout};
        std::array<QWidget*, 2> holders{new QWidget(&frame), new QWidget(&frame)};
        for (std::size_t column = 0; column < grids.size(); ++column) {
            holders[column]->setObjectName(QStringLiteral("comboColumn_%1").arg(column));
            holders[column]->setLayout(grids[column]);
            grids[column]->setContentsMargins(0, 0, 0, 0);
            grids[column]->setColumnStretch(1, 1);
            columns->addWidget(holders[column]);
        }
        QStringListModel* captions = makeMemberCaptionModel(context.comboMembers, frame);
        for (int i = 0; i < ComboPageRows; ++i) {
            const ComboMemberRowWidgets& row = m_combo.emplace_back(
                *grids[static_cast<std::size_t>(i / 4)], i % 4, i, context.comboMembers, *captions);
            context.registerControl(checkNameOf("cmbButton", i), row.cmbButton());
        }
    }

    void load(const EditorState& state) override
    {
        for (const ComboMemberRowWidgets& row : m_combo)
            row.load(state.combo);
    }

    void store(EditorState& state) const override
    {
        for (const ComboMemberRowWidgets& row : m_combo)
            row.store(state.combo);
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        for (const ComboMemberRowWidgets& row : m_combo)
            chain << row.chkButton() << row.cmbButton();
        chain << m_cmdMoreCombo;
    }

private:
    /// The page's grid, which holds the two columns of rows.
    QGridLayout* m_comboRows;
    QPushButton* m_cmdMoreCombo;
    /// The page's member rows 0-7.
    std::vector<ComboMemberRowWidgets> m_combo;
};

} // namespace

std::unique_ptr<SchemePage> makeComboPage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<ComboPageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
