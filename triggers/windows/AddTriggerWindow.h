#pragma once

#include "triggers/AddTriggerContext.h"
#include "triggers/ButtonChoices.h"
#include "triggers/FieldChoices.h"
#include "triggers/TriggerCreation.h"

#include <QDialog>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class frmAdd;
}

namespace valdora::triggers {

/// Creates one field trigger: the user picks a field, entry or exit, and a program, a macro or a
/// button; the current trigger is checked before anything is written. Closing it with its close box
/// is a Cancel.
class AddTriggerWindow final : public QDialog {
    Q_OBJECT
public:
    /// Asks which way a conflict with other queued buttons goes; the conflict window by default.
    using ConflictChooser = std::function<CheckResult(QWidget& parent)>;

    /// Loads the window: captions, the fields that can carry a trigger and the buttons of the
    /// database. A failure while loading is thrown.
    explicit AddTriggerWindow(AddTriggerContext context, QWidget* parent = nullptr,
                              ConflictChooser chooseConflict = {});
    ~AddTriggerWindow() override;

    /// Shows the window modally until Create (past its two checks), Cancel or the close box: the
    /// trigger written, or nullopt when nothing was. A failure of the host or of the lists is thrown
    /// once the window has closed, for Keelbrook's error report.
    static std::optional<RememberedTrigger> run(const AddTriggerContext& context, QWidget* parent = nullptr);

    /// After the window has closed: the trigger written, and the failure that closed it.
    const std::optional<RememberedTrigger>& created() const { return m_created; }
    std::exception_ptr failure() const { return m_failure; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void cmdBrowse_Click();
    void cmdAddTrigger_Click();
    void cmdCancel_Click();
    void chooseProgram();
    void chooseButton();
    AddChoices choices() const;
    std::optional<TriggerTarget> chosenTarget() const;
    void tell(const QString& text);

    std::unique_ptr<Ui::frmAdd> m_ui;
    AddTriggerContext m_context;
    ConflictChooser m_chooseConflict;
    QString m_hint;
    QList<TriggerFieldChoice> m_fields;
    QList<ButtonChoice> m_buttons;
    std::optional<RememberedTrigger> m_created;
    std::exception_ptr m_failure;
};

} // namespace valdora::triggers
