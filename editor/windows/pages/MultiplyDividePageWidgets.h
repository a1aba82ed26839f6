#pragma once

#include "OperandRows.h"
#include "SchemePage.h"

#include <optional>

class QComboBox;
class QLineEdit;

namespace valdora::editor {

/// The Multiply/Divide page: two operands joined by one operator, and the text written for an
/// invalid entry.
class MultiplyDividePageWidgets final : public SchemePage {
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
    QComboBox* m_cmbOperatorTab3 = nullptr;
    QLineEdit* m_txtInvalid = nullptr;
};

} // namespace valdora::editor
