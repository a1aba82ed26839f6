#pragma once

#include "bar/BarScreens.h"
#include "bar/windows/NotificationIcon.h"

#include "settings/UserSettings.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace valdora::bar::test {

/// The bar's windows answered from a script, each call recorded.
class ScriptedScreens final : public BarScreens {
public:
    explicit ScriptedScreens(UserSettings store) : m_store(std::move(store)) {}

    bool upgradeSettings() override { return upgradeAnswer; }
    void showSplash() override { ++splashShown; }
    void closeSplash() override { ++splashClosed; }
    void chooseLanguage() override
    {
        ++languageAsked;
        if (languageChoice)
            m_store.set(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language"),
                        QString::number(*languageChoice));
    }
    void openEditor(int slot) override { editorSlots << slot; }
    void showTriggerSyntax(const QString& syntax) override { syntaxes << syntax; }
    bool previewRun(const QString& buttonFileName, run::Scope scope) override
    {
        previews << qMakePair(buttonFileName, scope);
        return runFromPreview;
    }
    void openSchedule(const QString& buttonFileName, const QString& database) override
    {
        schedules << qMakePair(buttonFileName, database);
    }
    std::optional<RunChoice> chooseRun(const std::vector<ListedRun>& runs,
                                       std::optional<qint64> preselected) override
    {
        listedRuns.push_back(runs);
        preselectedRuns << preselected;
        if (!runChoice)
            return std::nullopt;
        // The preselected run unless the script names one.
        if (runChoice->run == 0 && !preselected)
            return std::nullopt;
        return RunChoice{runChoice->run != 0 ? runChoice->run : *preselected, runChoice->action};
    }

    bool upgradeAnswer = true;
    /// The language the language window stores; nullopt: it is closed without a choice.
    std::optional<int> languageChoice;
    int splashShown = 0;
    int splashClosed = 0;
    int languageAsked = 0;
    QList<int> editorSlots;
    QStringList syntaxes;
    QList<QPair<QString, run::Scope>> previews;
    /// What the user does in a preview: run the button (true) or close it.
    bool runFromPreview = false;
    /// The schedule windows opened: the button and the database.
    QList<QPair<QString, QString>> schedules;
    /// What the user does in the list of runs: nullopt closes it; a run of 0 takes the preselected one.
    std::optional<RunChoice> runChoice = RunChoice{};
    std::vector<std::vector<ListedRun>> listedRuns;
    QList<std::optional<qint64>> preselectedRuns;

private:
    UserSettings m_store;
};

/// A notification area that the test says is there or not.
class ScriptedIcon final : public NotificationIcon {
public:
    explicit ScriptedIcon(bool available) : m_available(available) {}
    bool add(const QIcon& icon, const QString& tip) override
    {
        if (!m_available || m_shown)
            return false;
        m_shown = true;
        lastTip = tip;
        lastIcon = icon;
        return true;
    }
    bool remove() override
    {
        const bool was = m_shown;
        m_shown = false;
        return was;
    }
    bool isShown() const override { return m_shown; }
    QString lastTip;
    QIcon lastIcon;

private:
    bool m_available;
    bool m_shown = false;
};

} // namespace valdora::bar::test
