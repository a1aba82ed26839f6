#pragma once

#include "settings/MessageId.h"
#include "settings/OwnTexts.h"

#include <QString>

#include <span>
#include <variant>

class QObject;

namespace valdora {
class Messages;
}

namespace valdora::editor {

/// One fixed caption of frmSettings: the object it goes on, the text it shows, and whether " :"
/// follows the text (a caption before a box).
struct CaptionRow {
    const char* objectName;
    std::variant<MessageId, OwnText> text;
    bool colon = false;
};

/// The fixed captions of frmSettings, one row per object. Captions that many copies share (the
/// pages' frames and tabs, the scheme boxes, the operands' options, the "or" labels) and the OK
/// button's, which follows the button being new, are set by the window itself.
std::span<const CaptionRow> settingsCaptionRows();

/// The caption of a row in the current language.
QString captionText(const CaptionRow& row, const Messages& messages);

/// Puts a caption on an object: a group box's title, or a button's, label's or menu item's text.
/// False when the object takes no caption.
bool setCaption(QObject& object, const QString& text);

} // namespace valdora::editor
