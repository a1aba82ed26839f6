#pragma once

#include "ButtonRun.h"

#include "host/Application.h"
#include "host/ContactView.h"
#include "host/Database.h"
#include "settings/ProgramSession.h"

#include <QString>

#include <functional>
#include <memory>

namespace valdora::run {

/// What Valdora and ValdoraAuto settle differently when they start.
struct StartupSettings {
    /// The language when "Options"/"Language" is absent (0: English).
    int defaultLanguage = 0;
    /// The default settings file is this title and ".ini" in the default settings folder.
    QString settingsFileTitle = QStringLiteral("Valdora");
};

/// Settles a session as a program starts: the language base from "Options"/"Language", then the
/// settings file from "Settings"/"IniLocation" (its folder holds the button files). A language that
/// is no number throws Failure(TypeMismatch) before the settings file is set; the caller's trap
/// reports it with the caller's line.
void settleSessionAtStartUp(ProgramSession& session, const StartupSettings& settings,
                            Where where = Where::current());

/// The file name, without its folder, of the database the host has open: button files name their
/// database this way. Either kind of folder separator ends the folder.
QString openDatabaseName(const host::Application& application, Where where = Where::current());

/// The makers of the host objects, passed in by each program: the programs link different host
/// libraries, and tests pass their own.
struct HostFactories {
    std::function<std::unique_ptr<host::Application>()> application;
    /// Left empty by a program that needs no database object of its own.
    std::function<std::unique_ptr<host::Database>()> database;
};

/// The host objects of a running program, created once at start and released at its end.
struct StartupHost {
    std::unique_ptr<host::Application> application;
    std::unique_ptr<host::Database> database;
    std::unique_ptr<host::ContactView> view;

    /// The objects a button run works on.
    RunHost runHost() const { return {database.get(), application.get(), view.get()}; }
};

/// Creates the application object, then the database object (when the program makes one) opened on
/// the database the host has open, then the contact view (1, "CV"). A host call that fails throws
/// with the caller's line; the objects made so far are released.
StartupHost openHostObjects(const HostFactories& factories, Where where = Where::current());

} // namespace valdora::run
