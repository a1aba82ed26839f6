#pragma once

#include "MessageTable.h"

#include <QString>

// The messages that are put together from several rows of the message table and some text of the
// moment. Each composition is written here once, so every program shows it the same way.
namespace valdora {

/// The contact on screen is not saved or is locked: message 354, a blank, the application title,
/// CR LF, message 487. (Message 354 ends in a blank, so two blanks stand before the title.)
QString saveContactFirstText(const Messages& messages, const QString& applicationTitle);

/// A button named on ValdoraAuto's command line has no file: message 515, the button, message 516,
/// CR LF, message 517, the field to change (the one whose trigger names the button, else the button's
/// stored target), message 518, CR LF, message 519. Without a field, message 517 loses its final blank,
/// so that no gap stands where the name would.
QString missingButtonText(const Messages& messages, const QString& buttonName, const QString& targetName);

/// A contact that could not be written: "Contact: ", the contact, " (", the company, message 356,
/// CR LF, message 357. Message 356 begins with the closing parenthesis.
QString contactLockedText(const Messages& messages, const QString& contact, const QString& company);

/// What one line of the error log names: a member value that did not reach its target field.
struct UnwrittenValue {
    QString when;       ///< the date and time in the platform's default form
    QString contact;    ///< host field 26 of the record
    QString company;    ///< host field 25 of the record
    QString value;      ///< the value that was to be written
    QString targetName; ///< the target field's name
};

/// One line of "error.log", without its line end: when, a blank, contact, " (", company, ") ",
/// message 358, " '", value, "' ", message 359, " '", target name, "'.".
QString errorLogLineText(const Messages& messages, const UnwrittenValue& unwritten);

/// An age in years and months: the whole years, a blank, message 484, a blank, the remaining months
/// (of the same sign), a blank, message 485 and a final blank.
QString yearsAndMonthsText(const Messages& messages, int months);

/// The note of ValdoraAuto's confirmation window: message 510, the button's name, message 522.
QString confirmationNoteText(const Messages& messages, const QString& buttonName);

/// The one-second notice: message 514, a blank, the target field's name and "...".
QString updatingNoticeText(const Messages& messages, const QString& targetName);

/// The tooltip of the command placed on the host's toolbars: message 323, a blank, the title.
QString launchTooltipText(const Messages& messages, const QString& applicationTitle);

/// The database cannot be opened at start-up: message 423, a blank, the application title and ".".
QString databaseLockedText(const Messages& messages, const QString& applicationTitle);

/// The question before a button is deleted: message 360, a blank, the button's name and "?".
QString deleteButtonQuestion(const Messages& messages, const QString& buttonName);

} // namespace valdora
