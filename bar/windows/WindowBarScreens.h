#pragma once

#include "bar/BarScreens.h"

#include "settings/ProgramSession.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace valdora::bar {

class MainBar;
class SplashWindow;

/// The bar's windows on the desktop: the upgrade's two windows, the splash, the language window, the
/// trigger-syntax window and the editor.
class WindowBarScreens final : public BarScreens {
public:
    explicit WindowBarScreens(ProgramSession& session);
    ~WindowBarScreens() override;

    /// The window the modal ones belong to (the bar, once it is there).
    void setParentWindow(QWidget* parent) { m_parent = parent; }
    /// The bar whose buttons the editor edits; it is also the parent of the modal windows.
    void setBar(MainBar* bar);

    bool upgradeSettings() override;
    void showSplash() override;
    void closeSplash() override;
    void chooseLanguage() override;
    void openEditor(int slot) override;
    void showTriggerSyntax(const QString& syntax) override;
    bool previewRun(const QString& buttonFileName, run::Scope scope) override;
    void openSchedule(const QString& buttonFileName, const QString& database) override;
    std::optional<RunChoice> chooseRun(const std::vector<ListedRun>& runs,
                                       std::optional<qint64> preselected) override;

private:
    ProgramSession& m_session;
    QPointer<QWidget> m_parent;
    QPointer<MainBar> m_bar;
    std::unique_ptr<SplashWindow> m_splash;
};

} // namespace valdora::bar
