#include "TriggerListing.h"

#include "triggers/ButtonChoices.h"

namespace valdora::keelbrook {

Listing listTriggers(KeelbrookState& state)
{
    Listing listing;
    traced(state, QStringLiteral("frmReport"), QStringLiteral("frmReport.Form_Load"), [&] {
        const ProgramSession& session = state.session();
        // The captions come from the button files, as the add window's button list does.
        const triggers::TriggerRowContext context{
            .messages = session.messages(),
            .programFolder = session.programFolder(),
            .names = triggers::buttonNamesIn(session.ini(), session.buttonFolder()),
            .remembered = state.rememberedTrigger()};
        listing.rows = triggers::listTriggers(state.fields(), context, state.trace());
        for (int row = 0; row < listing.rows.size(); ++row) {
            if (listing.rows[row].selected)
                listing.selectedRow = row;
        }
    });
    return listing;
}

} // namespace valdora::keelbrook
