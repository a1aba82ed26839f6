#pragma once

#include "ButtonFile.h"

#include <QString>

#include <array>
#include <optional>

namespace valdora {

// The scheme keys that a run reads otherwise than the editor shows them, each with the run's own
// default. A run takes every other key of its member from the typed keys (loadSchemeKeys); these
// readers keep what a run computed from files written by hand or by earlier versions.

/// "CalcTextOption<operand>" reads "1": a run takes the operand's constant, whatever
/// "CalcFieldOption<operand>" says, and its field otherwise. The editor shows the last option on.
bool readRunConstantOperand(const ButtonFile& file, int operand);

/// The operators of Add/Subtract, "CalcOperator<j>" between operand j and operand j + 1.
struct RunAddOperators {
    /// As stored, empty when absent: "0" adds the operand after it, "1" subtracts it, any other text
    /// leaves it out.
    std::array<QString, ButtonKey::AddSubtractOperands - 1> between;
    /// The same keys for joining texts, "0" when absent: texts join only when these, read as whole
    /// numbers of the user's locale, add up to 0.
    std::array<QString, ButtonKey::AddSubtractOperands - 1> joining;
};
RunAddOperators readRunAddOperators(const ButtonFile& file);

/// "CalcOperator" of Multiply/Divide as stored: "0" multiplies, "1" divides, any other text (an
/// absent key too) gives no value. The editor shows an absent or damaged key as " x".
QString readRunMultiplyOperator(const ButtonFile& file);

/// "Operator<row>" of a condition, "-1" (none chosen, which never holds) when absent: a run reads it
/// as a whole number of the user's locale ("0.0" is "="), the editor only a plain number.
QString readRunConditionOperator(const ButtonFile& file, int row);

/// "NowOperator", "0" when absent: a run reads it as a whole number of the user's locale, 0 adding
/// the days and any other number subtracting them; a text that is no number stops the member. The
/// editor shows anything but a plain number as "plus".
QString readRunNowOperator(const ButtonFile& file);
/// What a Now member writes, numbered as NowKeys::format: the date (0) when "NowFormatDate0" is on,
/// else the time (2) when "NowFormatDate2" is, else the date and time (1). The editor shows the last
/// option on.
int readRunNowFormat(const ButtonFile& file);

/// "AutoSep" as a run joins the parts with it: "-" when absent or empty. The editor shows it empty.
QString readRunAutoSeparator(const ButtonFile& file);
/// "TruncateDigits" as stored, "0" when absent: a run keeps that many letters of the field part, read
/// as a whole number of the user's locale, where the editor shows and writes 254.
QString readRunTruncateDigits(const ButtonFile& file);
/// "AutoIniFile"; nullopt when absent or empty. A run then names the counter file after the button
/// file, where the editor names it after the caption.
std::optional<QString> readStoredCounterFile(const ButtonFile& file);

} // namespace valdora
