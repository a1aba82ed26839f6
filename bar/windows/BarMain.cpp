#include "BarMain.h"

#include "settings/MessageId.h"
#include "settings/OwnTexts.h"

namespace valdora::bar {

namespace {
/// The splash and the messages before the bar's load take English when no language was chosen.
constexpr int SplashDefaultLanguage = 0;
constexpr qint16 EnglishLanguageBase = 300;
} // namespace

std::unique_ptr<MainBar> Main(BarProgramParts parts, SingleInstance& instance)
{
    ProgramSession& session = parts.session;
    std::unique_ptr<MainBar> bar;
    trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        // Messages before the language is read are in English.
        session.messages().setLanguageBase(EnglishLanguageBase);
        // Read before the start stores the current version over it.
        const bool targetDecimalsDue = targetDecimalsUpgradeDue(session);
        if (!settleSettings(session, parts.screens))
            return;
        if (!instance.claim()) {
            if (instance.storeUnwritable()) {
                session.showMessage(
                    session.messages().get(OwnText::StoreNotWritable).arg(instance.storeFolder()),
                    MessageButtons::Ok, MessageIcon::Critical);
                return;
            }
            const SingleInstance::Handover handover = instance.askRunningToShow();
            if (handover == SingleInstance::Handover::NoAnswer)
                session.showMessage(session.messages().get(MessageId::AlreadyRunning));
            else if (handover == SingleInstance::Handover::Refused)
                session.showMessage(instance.refusal());
            return;
        }
        parts.screens.showSplash();
        trapped(session.reporter(), {"frmSplash", RoutineKind::Sub, "Form_Load"}, [&] {
            session.messages().setLanguageBase(
                languageBaseFromSettings(session.userSettings(), SplashDefaultLanguage));
        });
        auto loaded = std::make_unique<MainBar>(
            BarParts{session, parts.screens, parts.scopes, std::move(parts.factories), parts.makeIcon()});
        loaded->flags().upgradeTargetDecimals = targetDecimalsDue;
        const bool running = loaded->Form_Load();
        parts.screens.closeSplash();
        if (!running)
            return;
        QObject::connect(&instance, &SingleInstance::showRequested, loaded.get(),
                         &MainBar::showForSecondStart);
        bar = std::move(loaded);
    });
    return bar;
}

} // namespace valdora::bar
