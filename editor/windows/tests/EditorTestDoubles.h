#pragma once

#include "editor/windows/EditorHost.h"
#include "editor/windows/EditorScreens.h"

#include "core/Failure.h"
#include "host/Database.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace valdora::editor::test {

/// The bar as the editor sees it, over a database object of the test: the buttons it lists and what
/// it was told.
class TestEditorHost final : public EditorHost {
public:
    explicit TestEditorHost(host::Database* database) : m_database(database) {}

    QStringList buttonFiles() const override { return files; }
    QString lastButtonFile() const override { return last; }
    QString databasePath() const override
    {
        if (!m_database)
            throw Failure(ErrorNumber::ObjectNotSet);
        return m_database->GetDatabasePath();
    }
    const host::FieldList* fields() const override
    {
        return m_database ? &m_database->Contact().Fields() : nullptr;
    }
    void buttonSaved(const QString& fileName, bool newButton) override
    {
        saved << qMakePair(fileName, newButton);
    }
    void setLaunchKeelbrook() override { ++launchKeelbrook; }
    void startShutdown() override { ++shutdowns; }

    QStringList files;
    QString last;
    QList<QPair<QString, bool>> saved;
    int launchKeelbrook = 0;
    int shutdowns = 0;

private:
    host::Database* m_database;
};

/// The editor's windows answered from a script, each call recorded.
class ScriptedEditorScreens final : public EditorScreens {
public:
    bool fieldOptions(AutoNumberPage& page) override
    {
        ++fieldOptionsShown;
        if (!fieldOptionsAnswer)
            return false;
        page.intTruncateA = fieldOptionsAnswer->intTruncateA;
        page.intTruncateDigitsA = fieldOptionsAnswer->intTruncateDigitsA;
        page.intCapsA = fieldOptionsAnswer->intCapsA;
        return true;
    }
    void moreConditions(EditorState& state, const QString& focusControl) override
    {
        moreConditionsShown << focusControl;
        if (conditionsEdit)
            conditionsEdit(state);
    }
    void moreMembers(EditorState& state, const QString& focusControl) override
    {
        moreMembersShown << focusControl;
        if (membersEdit)
            membersEdit(state);
    }
    TriggerChoice triggerChoice() override { return trigger; }
    void startOptions() override { ++startOptionsShown; }
    void languages() override { ++languagesShown; }
    void settingsLocation() override { ++settingsLocationShown; }
    bool integrate() override
    {
        ++integrateShown;
        return integrateAsksRestart;
    }
    void onlineHelp() override { ++onlineHelpShown; }
    bool offersSettingsLocation() const override { return offersOptions; }
    bool offersIntegration() const override { return offersOptions; }

    std::optional<AutoNumberPage> fieldOptionsAnswer;
    std::function<void(EditorState&)> conditionsEdit;
    std::function<void(EditorState&)> membersEdit;
    TriggerChoice trigger = TriggerChoice::Closed;
    int fieldOptionsShown = 0;
    QStringList moreConditionsShown;
    QStringList moreMembersShown;
    int startOptionsShown = 0;
    int languagesShown = 0;
    int settingsLocationShown = 0;
    int integrateShown = 0;
    bool integrateAsksRestart = false;
    bool offersOptions = false;
    int onlineHelpShown = 0;
};

} // namespace valdora::editor::test
