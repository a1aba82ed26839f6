#pragma once

#include "WarningScreens.h"

#include "host/Application.h"
#include "host/ContactView.h"
#include "host/Database.h"
#include "host/EventControl.h"
#include "run/ButtonRun.h"
#include "settings/AutoCommandLine.h"
#include "settings/ProgramSession.h"

#include <functional>
#include <memory>

namespace valdora::autorun {

/// The host objects ValdoraAuto makes: the program passes the running host's client, tests their own.
struct AutoHostFactories {
    std::function<std::unique_ptr<host::EventControl>()> eventControl;
    std::function<std::unique_ptr<host::Application>()> application;
    /// The database object, opened on the host's database only to read its field triggers when a
    /// button is missing; none given, the missing-button message names the button's stored target.
    std::function<std::unique_ptr<host::Database>()> database = {};
};

/// How a start of ValdoraAuto ended.
enum class AutoEnd {
    Ran,                ///< the run list was run (each button reports its own failures)
    SettingsNotCurrent, ///< the stored settings predate the button files: Valdora must run first
    HostNotRunning,     ///< no host to register with: ended without a word
    DatabaseClosed,     ///< the host's database could not be re-opened
    Failed,             ///< a failure was reported and the program ended there
};

/// ValdoraAuto: started by a field trigger or by Valdora, it runs the buttons its argument text names
/// on the contact on screen, each after the warning screens it asks for, and ends. Messages go
/// through the session's platform, windows through the warning screens.
class AutoProgram {
public:
    AutoProgram(ProgramSession& session, AutoHostFactories factories, WarningScreens& screens);
    ~AutoProgram();
    AutoProgram(const AutoProgram&) = delete;
    AutoProgram& operator=(const AutoProgram&) = delete;

    /// The whole program for this argument text (as the command line held it after the program and
    /// its blanks): the start-up checks, the host objects, the run list, the end.
    AutoEnd Main(const QString& argumentText);

    /// The name of the host's open database file, as the load found it.
    const QString& databaseName() const { return m_databaseName; }

private:
    /// The load of the hidden main form: registration with the host, its objects and the run.
    AutoEnd Form_Load();
    /// Runs every entry of the run list in order; false when a failure ended it.
    bool Run_Button();
    void runEntries(const AutoCommandLine::RunList& runList);
    /// Asked by the run before a member is written: its confirmation, then its notice.
    bool warnBeforeWrite(const run::RunMember& member, bool directMode);
    /// After a button's end-of-write step: the done notice when the button asks for it.
    void afterEndOfWrite();
    /// The field of the host's open database whose trigger names this missing button; "" when the
    /// database cannot be read or no field names it.
    QString fieldTriggering(const QString& buttonFileName) const;
    /// The unload of the main form: the registration ends, the host objects are released.
    void Form_Unload();

    ProgramSession& m_session;
    AutoHostFactories m_factories;
    WarningScreens& m_screens;
    QString m_argumentText;

    std::unique_ptr<host::EventControl> m_events;
    std::unique_ptr<host::Application> m_application;
    std::unique_ptr<host::ContactView> m_view;
    QString m_databaseName;
    /// The button file of the entry being run ("~100.ini").
    QString m_currentButton;
    /// True while the last entry of the run list runs.
    bool m_lastEntry = false;
};

/// The process's exit code for how it ended: 0 when the run list was run, 1 otherwise.
int exitCode(AutoEnd end);

} // namespace valdora::autorun
