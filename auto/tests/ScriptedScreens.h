#pragma once

#include "auto/WarningScreens.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace valdora::autorun::test {

/// Warning screens that answer from a script and record what was shown: "confirm <field>",
/// "notice <field>" and "done". A confirmation without a scripted answer is answered yes.
class ScriptedScreens final : public WarningScreens {
public:
    void answerNextConfirmation(bool yes) { m_answers.push_back(yes); }

    bool confirm(const ConfirmationTexts& texts) override
    {
        shown << QStringLiteral("confirm ") + texts.target;
        confirmations << texts;
        if (m_answers.empty())
            return true;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }
    void notice(const NoticeTexts& texts) override
    {
        shown << QStringLiteral("notice ") + texts.updating;
        notices << texts;
    }
    void done(const QString& text) override { shown << QStringLiteral("done ") + text; }

    QStringList shown;
    QList<ConfirmationTexts> confirmations;
    QList<NoticeTexts> notices;

private:
    std::deque<bool> m_answers;
};

} // namespace valdora::autorun::test
