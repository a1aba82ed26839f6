#pragma once

#include "editor/EditorState.h"

#include <QList>
#include <QString>

#include <functional>

class QGroupBox;
class QStringListModel;
class QWidget;

namespace valdora {
class Messages;
}

namespace valdora::editor {

/// Makes a control known to the window by the name the save's checks give it ("txtValueTab13"), so
/// that a refused entry can be shown and focused.
using RegisterControl = std::function<void(const QString& name, QWidget* control)>;

/// What the rows that follow the loaded button are built from.
struct ButtonContext {
    const Messages& messages;
    /// The source fields every source list of the editor shows.
    QStringListModel& sourceFields;
    /// The buttons a Combo member row offers.
    const QList<ComboMember>& comboMembers;
    RegisterControl registerControl;
};

/// The widgets of one scheme's page of the editor: its fixed controls, found in the form by their
/// object names, and its repeated rows, built in code. The page reads its entries from the editor's
/// state and writes them back; the window keeps what every page shares (the button's name, target,
/// options, the scheme boxes and the tabs). A page points at its widgets; the form owns them.
///
/// A page is made as the window is, over its "fraValue_" box: its constructor finds its controls
/// there, registers those the save's checks name, and builds the rows that need nothing of the
/// button. It throws std::logic_error when the form lacks a control it needs.
class SchemePage {
public:
    virtual ~SchemePage() = default;

    /// Builds the rows that follow the loaded button, shows the field lists and puts the captions
    /// that the page's repeated controls share.
    virtual void buildForButton(const ButtonContext& /*context*/) {}
    /// Shows the page's entries of `state`.
    virtual void load(const EditorState& state) = 0;
    /// Writes what the page shows into `state`.
    virtual void store(EditorState& state) const = 0;
    /// Appends the page's controls in the order Tab visits them, after its scheme box.
    virtual void appendTabOrder(QList<QWidget*>& chain) const = 0;

protected:
    SchemePage() = default;
    SchemePage(const SchemePage&) = delete;
    SchemePage& operator=(const SchemePage&) = delete;
};

} // namespace valdora::editor
