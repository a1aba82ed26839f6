#pragma once

#include <QString>

// The texts of adding a trigger that are not rows of the message table: the same in every language.
namespace valdora::triggers::addtexts {

/// The two refusals of Create that keep the add window open.
inline const QString SelectAField = QStringLiteral("You need to select a field!");
inline const QString SelectAProgramOrButton =
    QStringLiteral("You need to select a program or a Valdora button!");

/// The browse button's file dialog.
inline const QString BrowseTitle = QStringLiteral("Select a program or macro");
inline const QString BrowseFilter =
    QStringLiteral("ContactHost macro (*.mpr)|*.mpr|Executable file (*.exe)|*.exe");

/// The browse button's caption.
inline const QString BrowseCaption = QStringLiteral("...");

/// Buttons queued, a program or macro chosen: the question before overwriting them.
inline const QString ButtonsAlreadyTriggered =
    QStringLiteral("One or more Valdora buttons are already set to be triggered by this field.");
inline const QString DoYouWantToOverwriteQuestion = QStringLiteral("Do you want to overwrite?");
/// The chosen button is queued already.
inline const QString ButtonAlreadyTriggered =
    QStringLiteral("This button is already set to be triggered by this field!");
/// Another text there: "A program or macro (" + the text + ") is already ..." and the question,
/// which has no question mark.
inline const QString ProgramAlreadyTriggeredHead = QStringLiteral("A program or macro (");
inline const QString ProgramAlreadyTriggeredTail =
    QStringLiteral(") is already set to be triggered by this field.");
inline const QString DoYouWantToOverwrite = QStringLiteral("Do you want to overwrite");

} // namespace valdora::triggers::addtexts
