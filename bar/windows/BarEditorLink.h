#pragma once

#include "editor/windows/EditorHost.h"

namespace valdora::bar {

class MainBar;

/// The bar as the editor sees it: its buttons, its open database, its reload after a save and its
/// shutdown for a launch of Keelbrook.
class BarEditorLink final : public editor::EditorHost {
public:
    explicit BarEditorLink(MainBar& bar) : m_bar(bar) {}

    QStringList buttonFiles() const override;
    QString lastButtonFile() const override;
    QString databasePath() const override;
    const host::FieldList* fields() const override;
    void buttonSaved(const QString& fileName, bool newButton) override;
    void setLaunchKeelbrook() override;
    void startShutdown() override;
    bool offersOptions() const override;
    void settingsLocation(QWidget* parent) override;
    bool integrate(QWidget* parent) override;
    void startOptions(QWidget* parent) override;
    void languages(QWidget* parent) override;

private:
    MainBar& m_bar;
};

} // namespace valdora::bar
