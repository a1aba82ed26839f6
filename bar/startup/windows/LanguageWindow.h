#pragma once

#include "bar/startup/LanguageChoice.h"

#include "settings/ProgramSession.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmLanguage;
}

namespace valdora::bar {

/// The choice of the language of the program's texts. OK stores the chosen entry as
/// "Options"/"Language" and closes; Cancel (hidden at the first run) and the close box close without
/// storing. A language chosen here takes effect at the next start of each program.
class LanguageWindow final : public QDialog {
    Q_OBJECT
public:
    LanguageWindow(ProgramSession& session, const LanguageWindowState& state, QWidget* parent = nullptr);
    ~LanguageWindow() override;

    /// Shows the window modally in front of every other; true when OK stored a choice. Throws
    /// Failure(TypeMismatch) before showing anything when the stored language or first-run marker is
    /// no number, for the caller's trap to report.
    static bool choose(ProgramSession& session, QWidget* parent = nullptr);

    /// True once OK has stored the chosen entry.
    bool stored() const { return m_stored; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    ProgramSession& m_session;
    std::unique_ptr<Ui::frmLanguage> m_ui;
    bool m_stored = false;
};

} // namespace valdora::bar
