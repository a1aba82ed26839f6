#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace valdora::host::app {

/// What a command reads and writes: its arguments (after the command name) and standard output.
struct CommandContext {
    QStringList arguments;
    QTextStream& out;
};

/// One command of ContactHost.exe. A failure is thrown as valdora::Failure (a UsageError for
/// wrong arguments); main prints its description on one line of stderr and exits non-zero.
struct Command {
    QString name;
    QString usage; ///< arguments as the help shows them, e.g. "DB ID FIELD"
    std::function<int(CommandContext&)> run;
};

/// The commands ContactHost.exe knows, by name. Each area adds its own commands.
class CommandTable {
public:
    void add(Command command) { m_commands += std::move(command); }
    /// The command of that name; nullptr when there is none.
    const Command* find(const QString& name) const;
    /// One line per command: "ContactHost.exe NAME USAGE".
    QString help() const;

private:
    QList<Command> m_commands;
};

/// Carries out the command line (arguments without the program name) with the table; returns
/// the exit code: 0 done, 1 failed, 2 wrong arguments.
int runCommandLine(const CommandTable& table, const QStringList& arguments, QTextStream& out,
                   QTextStream& err);

} // namespace valdora::host::app
