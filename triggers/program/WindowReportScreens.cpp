#include "WindowReportScreens.h"

#include "KeelbrookState.h"

#include "triggers/windows/AddTriggerWindow.h"

namespace valdora::keelbrook {

void WindowReportScreens::addTrigger(KeelbrookState& state, QWidget* parent)
{
    // The add window enters its own procedures into the trace; its failures end the program here.
    reportingFailures(state, QStringLiteral("frmAdd"), [&] {
        ProgramSession& session = state.session();
        const triggers::AddTriggerContext context{.messages = session.messages(),
                                                  .platform = session.platform(),
                                                  .title = session.applicationTitle(),
                                                  .fields = state.fields(),
                                                  .ini = session.ini(),
                                                  .buttonFolder = session.buttonFolder(),
                                                  .databasePath = state.databasePath(),
                                                  .databaseName = state.databaseName(),
                                                  .programFolder = session.programFolder(),
                                                  .trace = state.trace()};
        if (const std::optional<RememberedTrigger> created = triggers::AddTriggerWindow::run(context, parent))
            state.rememberTrigger(*created);
    });
}

} // namespace valdora::keelbrook
