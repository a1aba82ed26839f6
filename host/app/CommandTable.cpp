#include "CommandTable.h"

#include "UsageError.h"

namespace valdora::host::app {

const Command* CommandTable::find(const QString& name) const
{
    for (const Command& command : m_commands)
        if (command.name == name)
            return &command;
    return nullptr;
}

QString CommandTable::help() const
{
    QString text = QStringLiteral("Usage:\n");
    for (const Command& command : m_commands)
        text += QStringLiteral("  ContactHost.exe %1 %2\n").arg(command.name, command.usage);
    return text;
}

int runCommandLine(const CommandTable& table, const QStringList& arguments, QTextStream& out,
                   QTextStream& err)
{
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("help")) {
        (arguments.isEmpty() ? err : out) << table.help();
        return arguments.isEmpty() ? 2 : 0;
    }
    const Command* command = table.find(arguments.first());
    if (!command) {
        err << "ContactHost.exe: unknown command \"" << arguments.first()
            << "\" (try ContactHost.exe --help)\n";
        return 2;
    }
    CommandContext context{arguments.mid(1), out};
    try {
        return command->run(context);
    } catch (const UsageError& failure) {
        out.flush();
        err << "ContactHost.exe " << command->name << ": " << failure.description()
            << " (usage: ContactHost.exe " << command->name << ' ' << command->usage << ")\n";
        return 2;
    } catch (const Failure& failure) {
        out.flush();
        err << "ContactHost.exe " << command->name << ": " << failure.description() << '\n';
        return 1;
    } catch (const std::exception& failure) {
        out.flush();
        err << "ContactHost.exe " << command->name << ": " << failure.what() << '\n';
        return 1;
    }
}

} // namespace valdora::host::app
