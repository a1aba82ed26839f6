#pragma once

#include "host/AuxCommands.h"
#include "settings/ProgramSession.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace valdora::bar {

/// The integration window's captions, in the current language.
struct IntegrationCaptions {
    QString title;        ///< row 313
    QString toolbarFrame; ///< Frame1(0): row 377 and " :"
    QString menuFrame;    ///< Frame1(1): row 386 and " :"
    QString restartNote;  ///< Label2: row 320
    QString close;        ///< cmdOK: row 317
    QString cancel;       ///< cmdCancel: row 302
    QStringList views;    ///< lblScreen(0..5) and lblScreen(6..11): rows 378 to 383
};

/// The eight arguments of the command that starts Valdora, in AddAuxCommand's order.
struct LaunchCommand {
    QString name;      ///< the application title
    QString program;   ///< program folder, separator, program file name, ".exe"
    QString folder;    ///< the program folder
    QString caption;   ///< the application title
    QString toolTip;   ///< row 323, a blank and the application title
    QString icon;      ///< program folder, separator, program file name, ".ico"
    QString largeIcon; ///< the same with "32" before ".ico"
    int flags = 1;

    friend bool operator==(const LaunchCommand&, const LaunchCommand&) = default;
};

/// What the integration window does, without the window: it reads and changes where the command that
/// starts Valdora is placed in the host (toolbar and Tools menu of views 1 to 6) through the host's
/// auxiliary commands. Boxes 0 to 5 are the toolbars of views 1 to 6, boxes 6 to 11 their Tools
/// menus. Host calls that fail throw HostFailure; the window's trap reports them.
class IntegrationForm {
public:
    static constexpr int ViewCount = 6;
    static constexpr int BoxCount = 2 * ViewCount;
    using Boxes = std::array<bool, BoxCount>;

    /// The form over the host's auxiliary-commands object, which it releases when it goes.
    IntegrationForm(ProgramSession& session, std::unique_ptr<host::AuxCommands> auxCommands);

    static IntegrationCaptions captions(const Messages& messages);
    /// The command as Valdora defines it for a program folder.
    static LaunchCommand launchCommand(const ProgramSession& session);

    /// The placements as the host reports them: box i is on when the command is in the place of box i.
    Boxes Form_Load();

    /// A box was clicked into the state `checked`: the command is defined first when the host does
    /// not know it (CheckCommand), then placed in or removed from the box's place. The host's result
    /// is kept as the last result.
    void chkScreen_Click(int index, bool checked);

    /// Defines the command (AddAuxCommand); its result is kept, and a failure is told at once
    /// (row 322).
    void CheckCommand();

    /// The window's Close: when something was clicked, tells a failure (row 322) or asks the restart
    /// question. True when the user wants the host restarted now.
    bool cmdOK_Click();

    /// The restart question (rows 320 and 321, Yes and No). True for Yes.
    bool Message();

    bool changed() const { return m_changed; }
    int lastResult() const { return m_lastResult; }

private:
    ProgramSession& m_session;
    std::unique_ptr<host::AuxCommands> m_aux;
    bool m_changed = false;
    int m_lastResult = 0;
};

} // namespace valdora::bar
