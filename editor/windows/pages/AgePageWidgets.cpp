#include "AgePageWidgets.h"

#include "PageControls.h"

#include "editor/dialogs/RowGrid.h"

#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

AgePageWidgets::AgePageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
{
    m_cmbFieldTab5 = &required<QComboBox>(frame, "cmbFieldTab5");
    m_optAge = optionGroup<3>(frame, "optAge");
    m_txtInvalidAge = &required<QLineEdit>(frame, "txtInvalidAge");
    m_txtBlankAge = &required<QLineEdit>(frame, "txtBlankAge");
    registerControl(QStringLiteral("cmbFieldTab5"), m_cmbFieldTab5);
    registerControl(QStringLiteral("txtInvalidAge"), m_txtInvalidAge);
    registerControl(QStringLiteral("txtBlankAge"), m_txtBlankAge);
}

void AgePageWidgets::buildForButton(const ButtonContext& context)
{
    showFieldList(*m_cmbFieldTab5, context.sourceFields);
}

void AgePageWidgets::load(const EditorState& state)
{
    selectText(*m_cmbFieldTab5, state.age.dateField.name);
    checkOption(m_optAge, state.age.format);
    m_txtInvalidAge->setText(state.age.invalid);
    m_txtBlankAge->setText(state.age.blank);
}

void AgePageWidgets::store(EditorState& state) const
{
    state.age.dateField = {m_cmbFieldTab5->currentText(), {}, {}};
    state.age.format = checkedOption(m_optAge);
    state.age.invalid = m_txtInvalidAge->text();
    state.age.blank = m_txtBlankAge->text();
}

void AgePageWidgets::appendTabOrder(QList<QWidget*>& chain) const
{
    chain << m_cmbFieldTab5;
    for (QRadioButton* option : m_optAge)
        chain << option;
    chain << m_txtInvalidAge << m_txtBlankAge;
}

} // namespace valdora::editor
