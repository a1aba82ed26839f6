#pragma once

#include <QString>

namespace valdora::autorun {

/// Every text of the confirmation window, in the current language, ready to show.
struct ConfirmationTexts {
    QString caption;  ///< the window's caption
    QString intro;    ///< Label1: the field is going to be updated
    QString target;   ///< Label2: the target field's name
    QString question; ///< Label3: proceed?
    QString yes;      ///< cmdYes, with its access key
    QString no;       ///< cmdNo, with its access key
    QString noteHead; ///< Label5
    QString note;     ///< Label4: how to turn the confirmation off for this button

    friend bool operator==(const ConfirmationTexts&, const ConfirmationTexts&) = default;
};

/// Every text of the one-second notice.
struct NoticeTexts {
    QString title;    ///< Label1
    QString updating; ///< Label3: which field is being updated

    friend bool operator==(const NoticeTexts&, const NoticeTexts&) = default;
};

/// The windows ValdoraAuto shows around a button run. Each is modal, comes to the foreground and
/// returns when it is closed: the program has real windows, tests answer from a script.
class WarningScreens {
public:
    virtual ~WarningScreens() = default;

    /// Asks before a member is written; true to write it. Closing the window counts as no.
    virtual bool confirm(const ConfirmationTexts& texts) = 0;
    /// Shows the notice for one second, its bar filling up.
    virtual void notice(const NoticeTexts& texts) = 0;
    /// Shows the done notice for one second.
    virtual void done(const QString& text) = 0;
};

} // namespace valdora::autorun
