#pragma once

#include "OperandRows.h"
#include "SchemePage.h"

class QComboBox;
class QLineEdit;

namespace valdora::editor {

/// The Multiply/Divide page: two operands joined by one operator, and the text written for an
/// invalid entry.
class MultiplyDividePageWidgets final : public SchemePage {
public:
    MultiplyDividePageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    OperandRows* m_operands = nullptr;
    QComboBox* m_cmbOperatorTab3 = nullptr;
    QLineEdit* m_txtInvalid = nullptr;
};

} // namespace valdora::editor
