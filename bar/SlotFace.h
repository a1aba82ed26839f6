#pragma once

#include "settings/ButtonFile.h"
#include "settings/MessageTable.h"
#include "settings/ParsedButtonFile.h"

#include <QString>

namespace valdora::bar {

/// How a bar slot looks: its caption, text colour (0x00BBGGRR) and weight.
struct SlotFace {
    QString caption;
    quint32 colour = 0;
    bool bold = false;

    friend bool operator==(const SlotFace&, const SlotFace&) = default;
};

/// The face of a button from its file; a missing file gives an empty caption, black, not bold.
SlotFace faceOf(const ButtonFile& button);
/// The same from a button file already read.
SlotFace faceOf(const ParsedButtonFile& button);
/// The "New" slot: message 458, black, not bold.
SlotFace newSlotFace(const Messages& messages);

/// A colour number as the file holds it; a value that is no colour number reads as black.
quint32 colourNumber(const QString& text);

/// Writes the button's weight: "-1" bold, "0" not. False when the file could not be written.
bool writeBold(const ButtonFile& button, bool bold);
/// Writes the button's text colour as its decimal number. False when the file could not be written.
bool writeColour(const ButtonFile& button, quint32 colour);

} // namespace valdora::bar
