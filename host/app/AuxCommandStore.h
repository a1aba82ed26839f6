#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace valdora::host {

/// One auxiliary command as its definer gave it, in the order of AddAuxCommand's arguments.
struct AuxCommand {
    QString name;
    QStringList texts; ///< the seven texts after the name: program, folder, caption, tool tip, icons
    int flags = 0;
};

/// The host's auxiliary commands and where they are placed (toolbar and Tools menu of views 1 to 6),
/// kept in a JSON file so that they survive restarts. Every change is written at once; a change that
/// cannot be written is refused (non-zero) and forgotten.
class AuxCommandStore {
public:
    static constexpr int ViewCount = 6;

    /// The store of that file; a missing file is an empty store, an unreadable one too (kept aside).
    explicit AuxCommandStore(QString file);

    /// The default file: "ContactHost/auxcommands.json" in the per-user settings folder.
    static QString defaultFile();

    bool exists(const QString& name) const { return find(name).has_value(); }
    /// Defines (or redefines) a command; 0 on success.
    int add(const AuxCommand& command);
    bool inToolbar(int view, const QString& name) const;
    bool inToolsMenu(int view, const QString& name) const;
    /// Placement changes; 0 on success, 1 for a view outside 1..6, an unknown command or a failed write.
    int placeInToolbar(int view, const QString& name, bool placed);
    int placeInToolsMenu(int view, const QString& name, bool placed);

    /// The commands placed in a view's toolbar or Tools menu, in placement order.
    QList<AuxCommand> toolbar(int view) const;
    QList<AuxCommand> toolsMenu(int view) const;
    std::optional<AuxCommand> find(const QString& name) const;

private:
    using Placement = std::array<QStringList, ViewCount>;
    int place(Placement& placement, int view, const QString& name, bool placed);
    QList<AuxCommand> resolve(const QStringList& names) const;
    bool save() const;
    void load();

    QString m_file;
    QList<AuxCommand> m_commands;
    Placement m_toolbar;
    Placement m_toolsMenu;
};

} // namespace valdora::host
