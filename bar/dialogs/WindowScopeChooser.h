#pragma once

#include "run/ScopeChooser.h"
#include "settings/MessageTable.h"

#include <QPointer>
#include <QWidget>

namespace valdora::bar {

/// The bar's way of asking for a run's scope: a fresh scope dialog for each run, shown modally.
class WindowScopeChooser final : public run::ScopeChooser {
public:
    /// `messages` is the session's table in its current language, read at each question; `parent`
    /// (the bar window, may be null) owns the dialogs while they are shown.
    explicit WindowScopeChooser(const Messages& messages, QWidget* parent = nullptr);
    /// The window the dialogs belong to (the bar, once it is there): they open over it and above it.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    /// The scope chosen with OK, or nullopt when the dialog was cancelled or closed.
    std::optional<run::Scope> chooseScope(bool otherDatabase) override;
    /// The dialogs show their "Preview..." button while an offer is set.
    void offerPreview(PreviewOffer offer) override { m_preview = std::move(offer); }
    void preselect(std::optional<run::Scope> scope) override { m_preselected = scope; }

private:
    const Messages& m_messages;
    QPointer<QWidget> m_parent;
    PreviewOffer m_preview;
    std::optional<run::Scope> m_preselected;
};

} // namespace valdora::bar
