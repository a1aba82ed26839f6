#pragma once

#include <QString>

// The texts the programs show that are not rows of the message table: they read the same in every
// language. Each is spelled here once; callers refer to it by name.
namespace valdora::fixedtexts {

// Expression calculator.
/// A field reference in brackets that is not a field number, or a bracket left open.
inline const QString InvalidCalculation = QStringLiteral("Invalid calculation");
/// Put before the token of a calculation that is neither a number nor an operator.
inline const QString InvalidFieldValuePrefix = QStringLiteral("Invalid field value: ");

// Add/Subtract on the contact on screen, for a button saved before the field ids were kept.
inline const QString OperandsNotResaved =
    QStringLiteral("You upgraded to v2.1 but did not resave your buttons");
inline const QString IncompleteUpgradeCaption = QStringLiteral("Incomplete upgrade");

// The forms of the programs.
/// The splash screen's label.
inline const QString LoadingPleaseWait = QStringLiteral("Loading... Please Wait!");
/// The language window's label at the first run, before any language is chosen.
inline const QString PickYourLanguageBilingual = QStringLiteral("Pick your language/Choisissez une langue :");
/// Shown when the user cancels the upgrade of the stored settings.
inline const QString WillNowClose = QStringLiteral("Valdora will now close!");
/// ValdoraAuto's answer to settings that Valdora has not brought up to date yet.
inline const QString RunValdoraOnce = QStringLiteral("You need to run Valdora once (simply launching it is "
                                                     "enough) to update your buttons to the latest version.");
/// ValdoraAuto's application title: its message boxes and its windows without a caption of their own.
inline const QString ValdoraAutoTitle = QStringLiteral("Valdora Auto");
/// The caption of ValdoraAuto's confirmation window, and its note label.
inline const QString OptionalConfirmationCaption = QStringLiteral("Valdora Optional Confirmation");
inline const QString NoteLabel = QStringLiteral("NOTE :");
/// ValdoraAuto's notice after a run that asks for it.
inline const QString CalculationCompleted = QStringLiteral("Calculation completed!");

// The upgrade of settings that versions before 3.0.0 kept in the per-user store.
/// The question window's caption, labels and buttons.
inline const QString UpgradeCaption = QStringLiteral("Valdora Upgrade");
inline const QString UpgradeNotUpToDate =
    QStringLiteral("The settings of this workstation are not up-to-date.");
inline const QString UpgradeQuestion = QStringLiteral("Do you want to update them?");
inline const QString UpgradeYes = QStringLiteral("Yes");
inline const QString UpgradeYesExplained = QStringLiteral(
    "Click Yes if you are not using Valdora in a network environment or if you are in a network "
    "environment and this is the first workstation that you are upgrading.");
inline const QString UpgradeNo = QStringLiteral("No");
inline const QString UpgradeNoExplained =
    QStringLiteral("Click No if you are in a network environment and have already converted one workstation. "
                   "You will be prompted to select the Settings file that you have already created.");
/// The file-open dialog of the question window's No.
inline const QString UpgradeOpenTitle =
    QStringLiteral("Please select the Valdora Settings file for this workstation");
inline const QString UpgradeOpenFilter = QStringLiteral("ini files (*.ini)|*.ini");
/// The window that asks where the new settings file goes.
inline const QString UpgradeSaveCaption = QStringLiteral("Saving your new Settings File");
inline const QString UpgradeSaveNeedsFile = QStringLiteral("Valdora needs to create a Settings file.");
inline const QString UpgradeSaveClickSave =
    QStringLiteral("Click Save to choose a location for your settings file and save it.");
inline const QString UpgradeSaveNetworkNote =
    QStringLiteral("Note : if you are in a network environment, make sure "
                   "the location you choose can be accessed from all "
                   "workstations.");
inline const QString UpgradeSaveButton = QStringLiteral("&Save");
/// Its file-save dialog: filter and preset name (in the default settings folder).
inline const QString UpgradeSaveFilter = QStringLiteral("Ini file (*.ini)|*.ini");
inline const QString UpgradeSaveFileName = QStringLiteral("valdora.ini");

} // namespace valdora::fixedtexts
