#pragma once

#include "HostTypes.h"

namespace valdora::host {

/// The host's auxiliary commands: programs placed on its toolbars and Tools menu, per view 1 to 6.
class AuxCommands {
public:
    virtual ~AuxCommands() = default;

    /// 0 when no command of that name exists, else 1.
    virtual int AuxCommandExists(const QString& name, Where where = Where::current()) = 0;
    /// Defines a command: its name, the program it starts, that program's folder, its caption, its
    /// tool tip, its icon and large icon files, and its flags. 0 on success.
    virtual int AddAuxCommand(const QString& name, const QString& program, const QString& folder,
                              const QString& caption, const QString& toolTip, const QString& icon,
                              const QString& largeIcon, int flags, Where where = Where::current()) = 0;
    /// 1 when the command is in the view's toolbar, else 0.
    virtual int AuxCommandExistsInToolbar(int view, const QString& name, Where where = Where::current()) = 0;
    /// 1 when the command is in the view's Tools menu, else 0.
    virtual int AuxCommandExistsInToolsMenu(int view, const QString& name,
                                            Where where = Where::current()) = 0;
    /// 0 on success.
    virtual int AddAuxCommandToToolbar(int view, const QString& name, Where where = Where::current()) = 0;
    virtual int RemoveAuxCommandFromToolbar(int view, const QString& name,
                                            Where where = Where::current()) = 0;
    virtual int AddAuxCommandToToolsMenu(int view, const QString& name, Where where = Where::current()) = 0;
    virtual int RemoveAuxCommandFromToolsMenu(int view, const QString& name,
                                              Where where = Where::current()) = 0;
};

} // namespace valdora::host
