#pragma once

#include "ButtonFile.h"
#include "ButtonModel.h"
#include "ParsedButtonFile.h"

#include <QString>

#include <array>

namespace valdora {

// Typed reads of a few keys of a button file, for the runs, ValdoraAuto and the bar, which need a
// key or two of many buttons rather than the whole button that loadButton gives the editor. A key
// read here reads as it does through loadButton unless its comment says otherwise.

/// "Name": the caption; empty when absent.
QString readCaption(const ButtonFile& file);
/// The caption, or the file name ("~100.ini") of a button without one: how a run's summary, the
/// journal's list and the question before a delete name a button.
QString captionOrFileName(const ButtonFile& file);
/// "Type" as stored, "-1" when absent or empty: the text a run takes its scheme code from
/// (typeCodeOf), which a damaged file needs in its failure's text.
QString readTypeText(const ButtonFile& file);
/// "Target" with its id and host type as stored.
FieldChoice readTarget(const ButtonFile& file);
/// "TargetDecimals" as stored; empty when absent.
QString readTargetDecimals(const ButtonFile& file);
/// "_DB": the database the button is limited to; empty for every database.
QString readLimitedToDB(const ButtonFile& file);
/// "DB": the path of the database that was open when the button was saved.
QString readSavedWithDB(const ButtonFile& file);

/// What the bar shows of a button: its caption, and "ForeColor" and "FontBold" as stored.
struct ButtonLook {
    QString caption;
    QString foreColor;
    QString fontBold;
};
ButtonLook readLook(const ButtonFile& file);

/// The member rows of a Combo, "Button<i>" and "ButtonName<i>", whatever scheme the file is saved with.
std::array<ComboSlot, ButtonKey::ComboCount> readComboSlots(const ButtonFile& file);

/// The options of "AutoWarning" that are on. Unlike the editor, which shows the last of them,
/// ValdoraAuto shows every screen whose option is on.
struct AutoWarningOptions {
    bool confirmation = true; ///< "AutoWarning0", on when absent
    bool notice = false;      ///< "AutoWarning1"
    bool none = false;        ///< "AutoWarning2"
};
AutoWarningOptions readAutoWarningOptions(const ButtonFile& file);
/// "DoneScreen" is "1": ValdoraAuto shows its done notice after the button. The editor never writes it.
bool readDoneScreen(const ButtonFile& file);

/// "_DB" of a button file read once (see readLimitedToDB).
QString readLimitedToDB(const ParsedButtonFile& file);
/// What the bar shows of a button file read once (see readLook).
ButtonLook readLook(const ParsedButtonFile& file);

} // namespace valdora
