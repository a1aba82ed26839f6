#pragma once

#include "SchemePage.h"

#include "editor/dialogs/ConditionRow.h"

#include <vector>

class QLabel;
class QPushButton;

namespace valdora::editor {

/// The Condition page: the first condition rows, each with an "or" below it, and the button to the
/// dialog that holds the rest. The rows are built with the button, over the window's field list.
class ConditionPageWidgets final : public SchemePage {
public:
    ConditionPageWidgets(QGroupBox& frame, const RegisterControl& registerControl);

    void buildForButton(const ButtonContext& context) override;
    void load(const EditorState& state) override;
    void store(EditorState& state) const override;
    void appendTabOrder(QList<QWidget*>& chain) const override;

private:
    QGroupBox* m_frame = nullptr;
    QGridLayout* m_grid = nullptr;
    QPushButton* m_cmdMoreCond = nullptr;
    /// The page's condition rows 0-4 and the "OR" between them.
    std::vector<ConditionRowWidgets> m_conditions;
    std::vector<QLabel*> m_orLabels;
};

} // namespace valdora::editor
