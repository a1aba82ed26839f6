#include "ComboPageWidgets.h"

#include "PageControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringListModel>

#include <array>

namespace valdora::editor {

ComboPageWidgets::ComboPageWidgets(QGroupBox& frame, const RegisterControl& /*registerControl*/)
{
    m_frame = &frame;
    m_grid = &required<QGridLayout>(frame, "comboRows");
    m_cmdMoreCombo = &required<QPushButton>(frame, "cmdMoreCombo");
}

void ComboPageWidgets::buildForButton(const ButtonContext& context)
{
    // Two columns of four rows, each in a grid of its own.
    auto* columns = new QHBoxLayout;
    m_grid->addLayout(columns, 0, 0);
    std::array<QGridLayout*, 2> grids{new QGridLayout, new QGridLayout};
    std::array<QWidget*, 2> holders{new QWidget(m_frame), new QWidget(m_frame)};
    for (std::size_t column = 0; column < grids.size(); ++column) {
        holders[column]->setObjectName(QStringLiteral("comboColumn_%1").arg(column));
        holders[column]->setLayout(grids[column]);
        grids[column]->setContentsMargins(0, 0, 0, 0);
        grids[column]->setColumnStretch(1, 1);
        columns->addWidget(holders[column]);
    }
    QStringListModel* captions = makeMemberCaptionModel(context.comboMembers, *m_frame);
    for (int i = 0; i < ComboPageRows; ++i) {
        const ComboMemberRowWidgets& row = m_combo.emplace_back(*grids[static_cast<std::size_t>(i / 4)],
                                                                i % 4, i, context.comboMembers, *captions);
        context.registerControl(checkNameOf("cmbButton", i), row.cmbButton());
    }
}

void ComboPageWidgets::load(const EditorState& state)
{
    for (const ComboMemberRowWidgets& row : m_combo)
        row.load(state.combo);
}

void ComboPageWidgets::store(EditorState& state) const
{
    for (const ComboMemberRowWidgets& row : m_combo)
        row.store(state.combo);
}

void ComboPageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    for (const ComboMemberRowWidgets& row : m_combo)
        chain << row.chkButton() << row.cmbButton();
    chain << m_cmdMoreCombo;
}

} // namespace valdora::editor
