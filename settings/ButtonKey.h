#pragma once

#include <QString>

namespace valdora {

/// The keys of a button file, each name written once. Indexed keys are a base name and a number:
/// ButtonKey::at(ButtonKey::Cond, 3) is "Cond3"; option groups are indexed the same way
/// (ButtonKey::at(ButtonKey::Over, 0) is "Over0").
namespace ButtonKey {

/// The one section of a button file.
inline const QString Section = QStringLiteral("Settings");

/// An indexed key: the base name followed by the index in decimal.
inline QString at(const QString& base, int index)
{
    return base + QString::number(index);
}

/// A field is named by three keys: the field-name key, and beside it the field's id and host type
/// code under the same name followed by "ID" and "Type" ("Target", "TargetID", "TargetType";
/// "CalcField2", "CalcFieldID2", "CalcFieldType2").
inline QString idOf(const QString& fieldBase)
{
    return fieldBase + QStringLiteral("ID");
}
inline QString typeOf(const QString& fieldBase)
{
    return fieldBase + QStringLiteral("Type");
}

// Every scheme, in the order the editor writes them.
inline const QString Name = QStringLiteral("Name");
inline const QString Type = QStringLiteral("Type");
inline const QString Target = QStringLiteral("Target");
inline const QString TargetID = QStringLiteral("TargetID");
inline const QString TargetType = QStringLiteral("TargetType");
inline const QString Format = QStringLiteral("Format");
inline const QString TargetDecimals = QStringLiteral("TargetDecimals");
/// The database the button is limited to; empty for all databases.
inline const QString LimitedToDB = QStringLiteral("_DB");
inline const QString Over = QStringLiteral("Over");               ///< group of 4: overwrite mode
inline const QString AutoWarning = QStringLiteral("AutoWarning"); ///< group of 3: warning by a trigger
/// "1": ValdoraAuto shows its done notice after the button; the editor never writes it.
inline const QString DoneScreen = QStringLiteral("DoneScreen");
inline const QString Scope = QStringLiteral("Scope"); ///< group of 2: this or all databases
inline const QString AppenSep = QStringLiteral("AppenSep");
inline const QString FontBold = QStringLiteral("FontBold");
inline const QString ForeColor = QStringLiteral("ForeColor");
/// The full path of the database open when the button was saved; written last.
inline const QString SavedWithDB = QStringLiteral("DB");

// AutoNumber.
inline const QString AutoFieldPos = QStringLiteral("AutoFieldPos");
inline const QString AutoTextPos = QStringLiteral("AutoTextPos");
inline const QString AutoNumberPos = QStringLiteral("AutoNumberPos");
inline const QString AutoFieldValue = QStringLiteral("AutoFieldValue");
inline const QString AutoFieldValueID = QStringLiteral("AutoFieldValueID");
inline const QString AutoFieldValueType = QStringLiteral("AutoFieldValueType");
inline const QString AutoTextValue = QStringLiteral("AutoTextValue");
inline const QString AutoIniFile = QStringLiteral("AutoIniFile");
inline const QString AutoSep = QStringLiteral("AutoSep");
inline const QString AppendSep = QStringLiteral("AppendSep");
inline const QString UsedFields = QStringLiteral("UsedFields");
inline const QString Truncate = QStringLiteral("Truncate");
inline const QString TruncateDigits = QStringLiteral("TruncateDigits");
inline const QString AutoCaps = QStringLiteral("AutoCaps");

// Condition, indexed 0 to ConditionCount - 1.
inline constexpr int ConditionCount = 20;
inline const QString Cond = QStringLiteral("Cond");
inline const QString Field = QStringLiteral("Field");
inline const QString FieldID = QStringLiteral("FieldID");
inline const QString FieldType = QStringLiteral("FieldType");
inline const QString Operator = QStringLiteral("Operator");
inline const QString Condition = QStringLiteral("Condition");
inline const QString Value = QStringLiteral("Value");

// Add/Subtract (operands 0-3, operators 0-2) and Multiply/Divide (operands 0-1, one operator).
inline constexpr int AddSubtractOperands = 4;
inline constexpr int MultiplyDivideOperands = 2;
inline const QString CalcText = QStringLiteral("CalcText");
inline const QString CalcField = QStringLiteral("CalcField");
inline const QString CalcFieldID = QStringLiteral("CalcFieldID");
inline const QString CalcFieldType = QStringLiteral("CalcFieldType");
inline const QString CalcTextOption = QStringLiteral("CalcTextOption");
inline const QString CalcFieldOption = QStringLiteral("CalcFieldOption");
/// Indexed for Add/Subtract, alone for Multiply/Divide.
inline const QString CalcOperator = QStringLiteral("CalcOperator");
inline const QString Zero = QStringLiteral("Zero");
/// Shared by Add/Subtract, Multiply/Divide and Age.
inline const QString Invalid = QStringLiteral("Invalid");

// Now.
inline const QString NowOperator = QStringLiteral("NowOperator");
inline const QString NowDays = QStringLiteral("NowDays");
inline const QString NowFormatDate = QStringLiteral("NowFormatDate"); ///< group of 3

// Combo, indexed 0 to ComboCount - 1.
inline constexpr int ComboCount = 20;
inline const QString Button = QStringLiteral("Button");
inline const QString ButtonName = QStringLiteral("ButtonName");

// Age.
inline const QString DateField = QStringLiteral("DateField");
inline const QString DateFieldID = QStringLiteral("DateFieldID");
inline const QString DateFieldType = QStringLiteral("DateFieldType");
inline const QString AgeFormat = QStringLiteral("AgeFormat"); ///< group of 3
inline const QString Blank = QStringLiteral("Blank");

} // namespace ButtonKey

} // namespace valdora
