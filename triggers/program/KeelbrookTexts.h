#pragma once

#include <QString>

// Keelbrook's texts that are not rows of the message table: they read the same in every language.
namespace valdora::keelbrook::texts {

/// The program's title: the caption of its message boxes and its application in the per-user store.
inline const QString ProgramTitle = QStringLiteral("Keelbrook");
/// The caption of the database-selection window.
inline const QString SelectionCaption = QStringLiteral("Keelbrook for ContactHost");
/// The file dialog of the database box.
inline const QString SelectDatabaseTitle = QStringLiteral("Select a ContactHost database");
inline const QString DatabaseFilter = QStringLiteral("ContactHost Database Files (*.dbf)|*.dbf");
/// The browse buttons.
inline const QString Browse = QStringLiteral("...");
/// The login window's buttons.
inline const QString LoginOk = QStringLiteral("OK");
inline const QString LoginCancel = QStringLiteral("Cancel");
/// Shown once when the host refuses the user name or password.
inline const QString WrongLogin = QStringLiteral("Sorry wrong username or password");

/// The report's two headers that no language translates.
inline const QString TypeHeader = QStringLiteral("Type");
inline const QString FieldIdHeader = QStringLiteral("Field ID");
/// Put before the header of the column the report is sorted by.
inline const QString DescendingMark = QStringLiteral("<<  ");
inline const QString AscendingMark = QStringLiteral(">>  ");

/// The error report, in the program folder.
inline const QString ErrorReportFileName = QStringLiteral("error_report_Keelbrook.txt");

/// How long the host check waits when Valdora asks it to (KeelbrookCommandLine::WaitMark).
inline constexpr int HostCheckDelayMs = 2000;

/// The language Keelbrook shows without a "Language" setting: German.
inline constexpr int DefaultLanguage = 2;

/// The highest field id the report reads.
inline constexpr int LastListedField = 1500;

} // namespace valdora::keelbrook::texts
