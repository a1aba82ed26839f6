#pragma once

#include "host/Application.h"

#include <QString>

namespace valdora::schedule {

/// The host application as a run over a saved lookup file sees it: its "current lookup" is that file,
/// whatever lookup the host has on screen. Everything else goes to the host.
class SavedLookupApplication final : public host::Application {
public:
    SavedLookupApplication(host::Application& host, QString lookupFile)
        : m_host(host), m_lookupFile(std::move(lookupFile))
    {}

    void OpenFile(const QString& path, Where where) override { m_host.OpenFile(path, where); }
    bool IsDBOpen(Where where) const override { return m_host.IsDBOpen(where); }
    QString GetOpenDBName(Where where) const override { return m_host.GetOpenDBName(where); }
    std::unique_ptr<host::ContactView> CreateView(int kind, const QString& name, Where where) override
    {
        return m_host.CreateView(kind, name, where);
    }
    /// Copies the saved lookup file to `file`; throws HostFailure naming the saved file when it cannot
    /// be read (a lookup file that is gone) or the copy cannot be written.
    void SaveCurrentLookup(const QString& file, Where where) override;
    QString GetAppPath(Where where) const override { return m_host.GetAppPath(where); }
    void Command(int command, Where where) override { m_host.Command(command, where); }

private:
    host::Application& m_host;
    QString m_lookupFile;
};

} // namespace valdora::schedule
