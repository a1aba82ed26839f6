#pragma once

#include "triggers/TriggerCheck.h"

#include <QStringList>

namespace valdora::triggers::test {

/// Answers the check from a script and records what it was asked.
class ScriptedQuestions final : public CheckQuestions {
public:
    bool yes = false;
    CheckResult conflictChoice = CheckResult::Nothing;
    QStringList asked;
    QStringList told;
    int conflictWindows = 0;

    bool askYesNo(const QString& question) override
    {
        asked.append(question);
        return yes;
    }
    void tell(const QString& notice) override { told.append(notice); }
    CheckResult chooseConflict() override
    {
        ++conflictWindows;
        return conflictChoice;
    }
};

} // namespace valdora::triggers::test
