#pragma once

#include "SchemePage.h"

#include <array>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace valdora::editor {

/// The Now page: the present date shifted by a number of days, and the format it is written in.
class NowPageWidgets final : public SchemePage {
public:
    NowPageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    QComboBox* m_cmbOperatorTab4 = nullptr;
    QLineEdit* m_txtDays = nullptr;
    std::array<QRadioButton*, 3> m_optFormat{};
};

} // namespace valdora::editor
