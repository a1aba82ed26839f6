#include "NowPageWidgets.h"

#include "PageControls.h"

#include "editor/windows/EditorTexts.h"

#include <QLineEdit>

namespace valdora::editor {

NowPageWidgets::NowPageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
{
    m_cmbOperatorTab4 = &required<QComboBox>(frame, "cmbOperatorTab4");
    m_txtDays = &required<QLineEdit>(frame, "txtDays");
    m_optFormat = optionGroup<3>(frame, "optFormat");
    fillList(*m_cmbOperatorTab4, texts::NowOperators);
    registerControl(QStringLiteral("txtDays"), m_txtDays);
}

void NowPageWidgets::load(const EditorState& state)
{
    selectPosition(*m_cmbOperatorTab4, state.now.op);
    m_txtDays->setText(state.now.days);
    checkOption(m_optFormat, state.now.format);
}

void NowPageWidgets::store(EditorState& state) const
{
    state.now.op = m_cmbOperatorTab4->currentIndex();
    state.now.days = m_txtDays->text();
    state.now.format = checkedOption(m_optFormat);
}

void NowPageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    chain << m_cmbOperatorTab4 << m_txtDays;
    for (QRadioButton* option : m_optFormat)
        chain << option;
}

} // namespace valdora::editor
