#include "PageControls.h"
#include "SchemePages.h"

#include "editor/windows/EditorTexts.h"

#include <QLineEdit>

namespace valdora::editor {

namespace {

/// The Now page: the present date shifted by a number of days, and the format it is written in.
class NowPageWidgets final : public SchemePage {
public:
    NowPageWidgets(QGroupBox& frame, const RegisterControl& registerControl)
        : m_cmbOperatorTab4(&required<QComboBox>(frame, "cmbOperatorTab4")),
          m_txtDays(&required<QLineEdit>(frame, "txtDays")), m_optFormat(optionGroup<3>(frame, "optFormat"))
    {
        fillList(*m_cmbOperatorTab4, texts::NowOperators);
        registerControl(QStringLiteral("txtDays"), m_txtDays);
    }

    void load(const EditorState& state) override
    {
        selectPosition(*m_cmbOperatorTab4, state.now.op);
        m_txtDays->setText(state.now.days);
        checkOption(m_optFormat, state.now.format);
    }

    void store(EditorState& state) const override
    {
        state.now.op = m_cmbOperatorTab4->currentIndex();
        state.now.days = m_txtDays->text();
        state.now.format = checkedOption(m_optFormat);
    }

    void appendTabOrder(QList<QWidget*>& chain) const override
    {
        chain << m_cmbOperatorTab4 << m_txtDays;
        for (QRadioButton* option : m_optFormat)
            chain << option;
    }

private:
    QComboBox* m_cmbOperatorTab4;
    QLineEdit* m_txtDays;
    std::array<QRadioButton*, 3> m_optFormat;
};

} // namespace

std::unique_ptr<SchemePage> makeNowPage(QGroupBox& frame, const RegisterControl& registerControl)
{
    return std::make_unique<NowPageWidgets>(frame, registerControl);
}

} // namespace valdora::editor
