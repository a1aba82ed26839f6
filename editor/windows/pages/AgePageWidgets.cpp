#include "PageControls.h"
#include "SchemePages.h"

#include "editor/dialogs/RowGrid.h"

#include <QLineEdit>
#include <QStringListModel>

namespace valdora::editor {

namespace {

/// The Age page: the date field, the unit the age is counted in, and the texts written for an
/// invalid and an empty date.
class AgePageWidgets final : public SchemePage {
public:
    AgePageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
        : m_cmbFieldTab5(&required<QComboBox>(frame, "cmbFieldTab5")),
          m_optAge(optionGroup<3>(frame, "optAge")),
          m_txtInvalidAge(&required<QLineEdit>(frame, "txtInvalidAge")),
          m_txtBlankAge(&required<QLineEdit>(frame, "txtBlankAge"))
    {
        registerControl(QStringLiteral("cmbFieldTab5"), m_cmbFieldTab5);
        registerControl(QStringLiteral("txtInvalidAge"), m_txtInvalidAge);
        registerControl(QStringLiteral("txtBlankAge"), m_txtBlankAge);
    }

    void buildForButton(const ButtonContext& context) override
    {
        showFieldList(*m_cmbFieldTab5, context.sourceFields);
    }

    void load(const EditorState& state) override
    {
        selectText(*m_cmbFieldTab5, state.age.dateField.name);
        checkOption(m_optAge, state.age.format);
        m_txtInvalidAge->setText(state.age.invalid);
        m_txtBlankAge->setText(state.age.blank);
    }

    void store(EditorState& state) const override
    {
        state.age.dateField = {m_cmbFieldTab5->currentText(), {}, {}};
        state.age.format = checkedOption(m_optAge);
        state.age.invalid = m_txtInvalidAge->text();
        state.age.blank = m_txtBlankAge->text();
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        chain << m_cmbFieldTab5;
        for (QRadioButton* option : m_optAge)
            chain << option;
        chain << m_txtInvalidAge << m_txtBlankAge;
    }

private:
    QComboBox* m_cmbFieldTab5;
    std::array<QRadioButton*, 3> m_optAge;
    QLineEdit* m_txtInvalidAge;
    QLineEdit* m_txtBlankAge;
};

} // namespace

std::unique_ptr<SchemePage> makeAgePage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<AgePageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
