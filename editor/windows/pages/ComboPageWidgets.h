#pragma once

#include "SchemePage.h"

#include "editor/dialogs/ComboMemberRow.h"

#include <vector>

class QGridLayout;
class QPushButton;

namespace valdora::editor {

/// The Combo page: the first member rows in two columns, and the button to the dialog that holds
/// the rest. The rows are built with the button, over the buttons it may combine.
class ComboPageWidgets final : public SchemePage {
public:
    ComboPageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    QGroupBox* m_frame = nullptr;
    QGridLayout* m_grid = nullptr;
    QPushButton* m_cmdMoreCombo = nullptr;
    /// The page's member rows 0-7.
    std::vector<ComboMemberRowWidgets> m_combo;
};

} // namespace valdora::editor
