#include "RunCommand.h"

#include "settings/ButtonFile.h"
#include "settings/ButtonFileName.h"

namespace valdora::bar {

bool RunCommand::isRunRequest(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--run"));
}

std::optional<RunRequest> RunCommand::parse(const QStringList& arguments, QString& error)
{
    RunRequest request;
    std::optional<QString> button;
    std::optional<QString> scope;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--preview")) {
            request.preview = true;
            continue;
        }
        if (argument != QStringLiteral("--run") && argument != QStringLiteral("--scope")) {
            error = QStringLiteral("unknown argument '%1'").arg(argument);
            return std::nullopt;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QStringLiteral("--"))) {
            error = QStringLiteral("%1 needs a value").arg(argument);
            return std::nullopt;
        }
        (argument == QStringLiteral("--run") ? button : scope) = arguments[++i];
    }
    if (!button) {
        error = QStringLiteral("--run BUTTON is missing");
        return std::nullopt;
    }
    // Only a plain file name of the button folder: a path would run a file from elsewhere.
    if (!isButtonFileName(*button) || button->contains(u'/') || button->contains(u'\\')) {
        error = QStringLiteral("'%1' is not a button name (like ~100.ini or ~100)").arg(*button);
        return std::nullopt;
    }
    request.buttonFileName = button->endsWith(ButtonFileName::Extension, Qt::CaseInsensitive)
                                 ? *button
                                 : buttonFileNameOf(*button);
    const QString scopeText = scope.value_or(QString());
    if (scopeText == QStringLiteral("current"))
        request.scope = run::Scope::CurrentContact;
    else if (scopeText == QStringLiteral("lookup"))
        request.scope = run::Scope::CurrentLookup;
    else if (scopeText == QStringLiteral("all"))
        request.scope = run::Scope::AllContacts;
    else {
        error = scope ? QStringLiteral("unknown scope '%1' (current, lookup or all)").arg(scopeText)
                      : QStringLiteral("--scope current|lookup|all is missing");
        return std::nullopt;
    }
    return request;
}

QString RunCommand::summaryLine(const QString& buttonFileName, const run::RunSummary& summary)
{
    if (summary.handedOver)
        return QStringLiteral("%1: handed to ValdoraAuto.exe for the current contact").arg(buttonFileName);
    if (!summary.started)
        return QStringLiteral("%1: not run").arg(buttonFileName);
    QString line = QStringLiteral("%1: %2 contacts in scope, %3 written, %4 left unchanged, %5 failed")
                       .arg(buttonFileName)
                       .arg(summary.inScope)
                       .arg(summary.written)
                       .arg(summary.unchanged)
                       .arg(summary.failed);
    // The counts add up to the scope: a run that stopped says how many it never came to.
    if (summary.notReached() > 0)
        line += QStringLiteral(", %1 not reached").arg(summary.notReached());
    return line;
}

int RunCommand::exitCode(const run::RunSummary& summary)
{
    if (summary.handedOver)
        return 0;
    if (!summary.started)
        return 2;
    const bool failedSomewhere =
        summary.failed > 0 || summary.stopped || summary.failureReported || summary.notReached() > 0;
    return failedSomewhere ? 1 : 0;
}

QString RunCommand::usage()
{
    return QStringLiteral("usage: Valdora.exe                  (the bar)\n       Valdora.exe --run BUTTON "
                          "--scope current|lookup|all [--preview]\n"
                          "       Valdora.exe --runs              (the run journal)\n"
                          "       Valdora.exe --undo [RUN]\n"
                          "       Valdora.exe --retry [RUN]");
}

} // namespace valdora::bar
