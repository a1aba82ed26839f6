#pragma once

#include "SchemePage.h"

#include <array>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace valdora::editor {

/// The Age page: the date field, the unit the age is counted in, and the texts written for an
/// invalid and an empty date.
class AgePageWidgets final : public SchemePage {
public:
    AgePageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    QComboBox* m_cmbFieldTab5 = nullptr;
    std::array<QRadioButton*, 3> m_optAge{};
    QLineEdit* m_txtInvalidAge = nullptr;
    QLineEdit* m_txtBlankAge = nullptr;
};

} // namespace valdora::editor
