#pragma once

#include "bar/schedule/ScheduleForm.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace valdora::schedule {

/// A button's schedule window, opened from the button menu's "Schedule...": when the button runs by
/// itself (off, every day at a time, every hour, at log-in), on which contacts (all, or those of a
/// saved lookup file; a run with nobody at the screen has no current lookup) and on which database
/// (the one open now). OK writes the schedule through the form's logic and closes once it is written.
class ScheduleWindow final : public QDialog {
    Q_OBJECT
public:
    ScheduleWindow(ProgramSession& session, ScheduleForm& form, QWidget* parent = nullptr);

    /// The choice the widgets hold now.
    ScheduleChoice choice() const;

private:
    void showChoice(const ScheduleChoice& choice);
    void enableFields();
    void cmdBrowse_Click();
    void OKButton_Click();

    ProgramSession& m_session;
    ScheduleForm& m_form;
    QRadioButton* m_optOff = nullptr;
    QRadioButton* m_optDaily = nullptr;
    QTimeEdit* m_txtTime = nullptr;
    QRadioButton* m_optHourly = nullptr;
    QRadioButton* m_optLogin = nullptr;
    QRadioButton* m_optAll = nullptr;
    QRadioButton* m_optLookup = nullptr;
    QLineEdit* m_txtLookup = nullptr;
    QPushButton* m_cmdBrowse = nullptr;
    QLabel* m_lblState = nullptr;
};

} // namespace valdora::schedule
