#pragma once

#include "run/ScopeChooser.h"
#include "settings/MessageTable.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class QLabel;
class QRadioButton;

namespace Ui {
class dlgLookup;
}

namespace valdora::bar {

/// The scope dialog that a run of a button shows before it writes: current contact, current lookup
/// or all contacts, the sort order that numbering follows, the warning that a run cannot be undone
/// and, when the button was saved with another database, a frame that says so. A fresh dialog is
/// made for each run.
class ScopeDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int OptionCount = 3;

    /// `otherDatabase`: the button was saved with another database than the one open; only then is
    /// the frame `Frame3` shown.
    ScopeDialog(const Messages& messages, bool otherDatabase, QWidget* parent = nullptr);
    ~ScopeDialog() override;

    /// The object names of option i and of its label ("optLookup1", "Label11").
    static QString optionName(int index);
    static QString labelName(int index);

    /// The chosen scope: the index of the option selected when OK was clicked. OK stays disabled
    /// while no option is selected, so that a run never covers a scope the user did not choose.
    int intLookup() const { return m_intLookup; }
    /// 1 once the dialog was cancelled (Cancel, Escape or the close box), else 0.
    int intCancel() const { return m_intCancel; }
    /// The scope chosen with OK; nullopt when the dialog was cancelled or closed any other way.
    std::optional<run::Scope> scope() const;

    /// Shows the "Preview..." button, which previews the run over the option selected; a run chosen
    /// from the preview closes the dialog as OK does with that option. An empty offer hides it.
    void setPreviewOffer(run::ScopeChooser::PreviewOffer offer);

    /// Selects the option of that scope (the button's last one); nullopt leaves all unselected.
    void preselect(std::optional<run::Scope> scope);

    /// Cancel, Escape and the close box all come here.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OKButton_Click();
    void cmdPreview_Click();
    int selectedOption() const;
    /// OK and Preview need a chosen option; the note under the options says what an undo can do for
    /// the one chosen.
    void updateForChoice();

    std::unique_ptr<Ui::dlgLookup> m_ui;
    std::array<QRadioButton*, OptionCount> m_options{};
    std::array<QLabel*, OptionCount> m_labels{};
    int m_intLookup = 0;
    int m_intCancel = 0;
    bool m_confirmed = false;
    run::ScopeChooser::PreviewOffer m_preview;
};

} // namespace valdora::bar
