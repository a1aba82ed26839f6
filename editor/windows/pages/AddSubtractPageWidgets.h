#pragma once

#include "OperandRows.h"
#include "SchemePage.h"

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace valdora::editor {

/// The Add/Subtract page: four operands joined by three operators, whether no data leaves the
/// target empty, and the text written for an invalid entry.
class AddSubtractPageWidgets final : public SchemePage {
    Q_OBJECT
public:
    void build(QGroupBox& frame, const RegisterControl& registerControl) override;
    void buildForButton(const ButtonContext& context) override;
    void setCaptions(const Messages& messages) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<OperandRows> m_operands;
    std::array<QComboBox*, ButtonKey::AddSubtractOperands - 1> m_cmbOperatorTab2{};
    QCheckBox* m_chkZero = nullptr;
    QLineEdit* m_txtInvalidAdd = nullptr;
};

} // namespace valdora::editor
