#pragma once

#include "BarFlags.h"
#include "BarScreens.h"

#include "host/AuxCommands.h"
#include "host/EventControl.h"
#include "run/ProgramStartup.h"
#include "settings/ProgramSession.h"

#include <functional>
#include <memory>

namespace valdora::bar {

/// The host objects the bar makes: the program passes the running host's client, tests their own.
struct BarHostFactories {
    std::function<std::unique_ptr<host::EventControl>()> eventControl;
    run::HostFactories objects;
    /// The running host's auxiliary commands, for the integration window; empty where no program
    /// offers it.
    std::function<std::unique_ptr<host::AuxCommands>()> auxCommands;
};

/// The bar's link with the host: its event registration and the objects of the open database.
struct BarConnection {
    std::unique_ptr<host::EventControl> events;
    run::StartupHost host;
    /// The open database's file name, without its folder.
    QString databaseName;
};

/// The program's version as the settings store it: major, minor and revision one after the other.
QString versionText();

/// The settings part of the start: the upgrade of old settings when "Version" asks for it, the
/// version written, the default settings folder, the settings file path. False when the program ends
/// here (the upgrade was cancelled; "Valdora will now close!" has been shown).
bool settleSettings(ProgramSession& session, BarScreens& screens);

/// Registers with the host's event control. False (after the message for it, with the quit flag set)
/// when that failed; a reload keeps the registration it has.
bool registerWithHost(ProgramSession& session, const BarHostFactories& factories, BarConnection& connection,
                      BarFlags& flags);

/// Opens the host's objects on its open database. False (after the message for it) when no database
/// is open or it cannot be opened: the program ends.
bool openHostDatabase(ProgramSession& session, const BarHostFactories& factories, BarConnection& connection);

/// The first run's language choice and the language base from "Options"/"Language". At the first run
/// the link to the maker's page is also put into the web-links folder of the host of `application`
/// (when given); a failure there is reported and the first run goes on.
void settleLanguage(ProgramSession& session, BarScreens& screens,
                    const host::Application* application = nullptr);

/// Whether the stored settings ask for the per-button "TargetDecimals" upgrade; read before the
/// start stores the current version.
bool targetDecimalsUpgradeDue(const ProgramSession& session);

/// The per-button "TargetDecimals" upgrade on the buttons of the open database (trapped as the bar's
/// load). Returns the buttons written.
int upgradeButtonDecimals(ProgramSession& session, const BarConnection& connection,
                          const QStringList& buttonFiles);

} // namespace valdora::bar
