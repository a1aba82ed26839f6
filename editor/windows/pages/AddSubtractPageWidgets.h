#pragma once

#include "OperandRows.h"
#include "SchemePage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace valdora::editor {

/// The Add/Subtract page: four operands joined by three operators, whether no data leaves the
/// target empty, and the text written for an invalid entry.
class AddSubtractPageWidgets final : public SchemePage {
public:
    AddSubtractPageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    OperandRows* m_operands = nullptr;
    std::array<QComboBox*, ButtonKey::AddSubtractOperands - 1> m_cmbOperatorTab2{};
    QCheckBox* m_chkZero = nullptr;
    QLineEdit* m_txtInvalidAdd = nullptr;
};

} // namespace valdora::editor
