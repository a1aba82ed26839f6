#pragma once

#include "FieldOptions.h"

#include "settings/ProgramSession.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmFieldOptions;
}

namespace valdora::editor {

/// The field options of the AutoNumber page: truncation to a number of characters and conversion to
/// upper case. OK checks the digits box and hands the values back; Cancel and the close box change
/// nothing. The values reach the button file only when the editor saves.
class FieldOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    /// Shows the editor's three values of `page`.
    FieldOptionsDialog(const ProgramSession& session, const AutoNumberPage& page, QWidget* parent = nullptr);
    ~FieldOptionsDialog() override;

    /// Shows the dialog modally for `page`; true (and `page` changed) when OK closed it.
    static bool edit(const ProgramSession& session, AutoNumberPage& page, QWidget* parent = nullptr);

    /// The editor's values as OK left them: the given page until OK closed the dialog.
    const AutoNumberPage& page() const { return m_page; }
    /// What the boxes show.
    FieldOptionsEntries entries() const;

private:
    void cmdOK_Click();

    std::unique_ptr<Ui::frmFieldOptions> m_ui;
    const ProgramSession& m_session;
    AutoNumberPage m_page;
};

} // namespace valdora::editor
