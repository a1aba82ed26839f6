#include "RunningHostCommands.h"

#include "UsageError.h"
#include "host/client/HostConnection.h"

namespace valdora::host::app {

using protocol::Op;

namespace {

enum class Output { None, FirstText, EveryText };

/// A command that sends one request built from its arguments and prints the answer.
Command requestCommand(const QString& name, const QString& usage, qsizetype argumentCount, Op op,
                       Output output)
{
    return {name, usage, [=](CommandContext& context) {
                if (context.arguments.size() != argumentCount)
                    throw UsageError(QStringLiteral("takes %1 argument(s)").arg(argumentCount));
                HostConnection connection;
                const protocol::Message answer = connection.call(op, 0, context.arguments);
                if (output == Output::FirstText)
                    context.out << answer.texts.value(0) << '\n';
                if (output == Output::EveryText)
                    for (const QString& text : answer.texts)
                        context.out << text << '\n';
                return 0;
            }};
}

int lookup(CommandContext& context)
{
    const QStringList& a = context.arguments;
    Op op = Op::LookupIds;
    QStringList texts;
    static const QStringList matches{QStringLiteral("equals"), QStringLiteral("contains"),
                                     QStringLiteral("starts")};
    if (a.size() == 1 && a[0] == QLatin1String("all")) {
        op = Op::SetLookup;
        texts = {QStringLiteral("all"), QString(), QString()};
    } else if (a.size() == 3 && matches.contains(a[1])) {
        op = Op::SetLookup;
        texts = {a[1], a[0], a[2]};
    } else if (!a.isEmpty()) {
        throw UsageError(QStringLiteral("a lookup is \"all\" or FIELD equals|contains|starts VALUE"));
    }
    HostConnection connection;
    for (const QString& id : connection.call(op, 0, texts).texts)
        context.out << id << '\n';
    return 0;
}

} // namespace

void addRunningHostCommands(CommandTable& table)
{
    table.add(requestCommand(QStringLiteral("current"), QString(), 0, Op::GetCurrentID, Output::FirstText));
    table.add(
        requestCommand(QStringLiteral("show"), QStringLiteral("ID"), 1, Op::ShowContact, Output::FirstText));
    table.add(
        {QStringLiteral("lookup"), QStringLiteral("[all | FIELD equals|contains|starts VALUE]"), lookup});
    table.add(requestCommand(QStringLiteral("enter-field"), QStringLiteral("FIELD"), 1, Op::EnterField,
                             Output::None));
    table.add(requestCommand(QStringLiteral("leave-field"), QStringLiteral("FIELD"), 1, Op::LeaveField,
                             Output::None));
    table.add(requestCommand(QStringLiteral("type"), QStringLiteral("FIELD VALUE"), 2, Op::TypeField,
                             Output::None));
    table.add(requestCommand(QStringLiteral("close-db"), QString(), 0, Op::CloseDatabase, Output::None));
    table.add(requestCommand(QStringLiteral("quit"), QString(), 0, Op::Quit, Output::None));
}

} // namespace valdora::host::app
