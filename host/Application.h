#pragma once

#include "ContactView.h"
#include "HostTypes.h"

#include <memory>

namespace valdora::host {

/// The host application object: its open database, views, current lookup and commands.
class Application {
public:
    virtual ~Application() = default;

    /// Opens a database file; "" re-opens the last database when none is open.
    virtual void OpenFile(const QString& path, Where where = Where::current()) = 0;
    virtual bool IsDBOpen(Where where = Where::current()) const = 0;
    /// Full path of the open database.
    virtual QString GetOpenDBName(Where where = Where::current()) const = 0;
    /// Views.Create(kind, name): kind 1 with "CV" is the contact view.
    virtual std::unique_ptr<ContactView> CreateView(int kind, const QString& name,
                                                    Where where = Where::current()) = 0;
    /// Writes the current lookup, in its sort, to a lookup file that LoadLookUpQuery reads.
    virtual void SaveCurrentLookup(const QString& file, Where where = Where::current()) = 0;
    /// The host's program folder.
    virtual QString GetAppPath(Where where = Where::current()) const = 0;
    /// Carries out a host command: 104 commits the field being typed in, 150 closes the host.
    virtual void Command(int command, Where where = Where::current()) = 0;
};

} // namespace valdora::host
