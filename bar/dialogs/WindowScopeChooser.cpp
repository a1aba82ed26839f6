#include "WindowScopeChooser.h"

#include "ScopeDialog.h"

namespace valdora::bar {

WindowScopeChooser::WindowScopeChooser(const Messages& messages, QWidget* parent)
    : m_messages(messages), m_parent(parent)
{}

std::optional<run::Scope> WindowScopeChooser::chooseScope(bool otherDatabase)
{
    // A new dialog each time: no choice of an earlier run is carried into this one.
    ScopeDialog dialog(m_messages, otherDatabase, m_parent.data());
    dialog.setPreviewOffer(m_preview);
    dialog.preselect(m_preselected);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.scope();
}

} // namespace valdora::bar
