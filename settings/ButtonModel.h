#pragma once

#include "ButtonFile.h"
#include "OverwriteMode.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace valdora {

/// A field as a button file names it: the name from the host's field list, and beside it the
/// field's id and host type code as the host reported them when the button was saved (decimal text,
/// kept as stored).
struct FieldChoice {
    QString name;
    QString id;
    QString type;

    bool operator==(const FieldChoice&) const = default;
};

/// An option group held as the index of its chosen option; NoChoice when no option reads "1".
inline constexpr int NoChoice = -1;

/// Scheme 0: a number with an optional field part and text part, in up to three positions.
struct AutoNumberKeys {
    int fieldPosition = 0;  ///< "AutoFieldPos": 1 to 3, 0 when the field part is not used
    int textPosition = 0;   ///< "AutoTextPos": 1 to 3, 0 when the text part is not used
    int numberPosition = 0; ///< "AutoNumberPos": the number's position minus one
    FieldChoice field;      ///< "AutoFieldValue" and its id and type
    QString text;           ///< "AutoTextValue"
    /// "AutoIniFile". Absent from a file of a button with a caption, it is the default counter file
    /// in the program folder; the save writes what is held here.
    QString counterFile;
    QString separator;        ///< "AutoSep"
    bool truncate = false;    ///< "Truncate"
    int truncateDigits = 254; ///< "TruncateDigits"
    bool upperCase = false;   ///< "AutoCaps"

    bool operator==(const AutoNumberKeys&) const = default;
};

/// One condition of scheme 1.
struct ConditionRow {
    bool inUse = false; ///< "Cond<i>"
    FieldChoice field;  ///< "Field<i>" and its id and type
    int op =
        NoChoice; ///< "Operator<i>": the position in " =", " <>", " >", " <", " >=", " <=", "Incl.", "Starts"
    QString condition; ///< "Condition<i>": the comparison value
    QString value;     ///< "Value<i>": the value copied when the condition holds

    bool operator==(const ConditionRow&) const = default;
};

/// Scheme 1: the value of the last condition in use that holds.
struct ConditionKeys {
    std::array<ConditionRow, ButtonKey::ConditionCount> rows;

    bool operator==(const ConditionKeys&) const = default;
};

/// One operand of the arithmetic schemes: a constant or a field, as its option pair chooses.
struct Operand {
    /// The options of "CalcTextOption<i>" and "CalcFieldOption<i>", in that order.
    static constexpr int Constant = 0;
    static constexpr int Field = 1;

    QString constant;   ///< "CalcText<i>"
    FieldChoice field;  ///< "CalcField<i>" and its id and type
    int source = Field; ///< Constant, Field or NoChoice

    bool operator==(const Operand&) const = default;
};

/// Scheme 2: up to four operands joined by " +" (0) and " -" (1).
struct AddSubtractKeys {
    std::array<Operand, ButtonKey::AddSubtractOperands> operands;
    /// "CalcOperator<j>", the operator between operand j and operand j + 1.
    std::array<int, ButtonKey::AddSubtractOperands - 1> operators{};
    bool emptyWhenNoData = false; ///< "Zero"
    QString invalid;              ///< "Invalid"

    bool operator==(const AddSubtractKeys&) const = default;
};

/// Scheme 3: two operands joined by " x" (0) or " /" (1).
struct MultiplyDivideKeys {
    std::array<Operand, ButtonKey::MultiplyDivideOperands> operands;
    int op = 0;      ///< "CalcOperator"
    QString invalid; ///< "Invalid"

    bool operator==(const MultiplyDivideKeys&) const = default;
};

/// Scheme 4: the present date and time shifted by whole days.
struct NowKeys {
    int op = 0;                         ///< "NowOperator": "plus" (0) or "minus" (1)
    QString days = QStringLiteral("0"); ///< "NowDays", as typed
    int format = 1;                     ///< "NowFormatDate<k>": date (0), date and time (1), time (2)

    bool operator==(const NowKeys&) const = default;
};

/// One member row of scheme 5.
struct ComboSlot {
    bool inUse = false; ///< "Button<i>"
    /// "ButtonName<i>", the member's file name. Written only when not empty, so that a row without a
    /// chosen button keeps what the file held.
    QString buttonFileName;

    bool operator==(const ComboSlot&) const = default;
};

/// Scheme 5: the members run in row order; the button has no target of its own.
struct ComboKeys {
    std::array<ComboSlot, ButtonKey::ComboCount> members;

    bool operator==(const ComboKeys&) const = default;
};

/// Scheme 6: the age of the date a field holds.
struct AgeKeys {
    FieldChoice dateField; ///< "DateField" and its id and type
    int format = 0;        ///< "AgeFormat<k>": years (0), years and months (1), days (2)
    QString invalid;       ///< "Invalid": written when the field holds no date
    QString blank;         ///< "Blank": written when the field is empty

    bool operator==(const AgeKeys&) const = default;
};

/// The keys of a button's scheme. The alternative is the scheme: its index is the scheme code plus
/// one, std::monostate standing for a button without a (known) scheme.
using SchemeKeys = std::variant<std::monostate, AutoNumberKeys, ConditionKeys, AddSubtractKeys,
                                MultiplyDivideKeys, NowKeys, ComboKeys, AgeKeys>;

static_assert(std::variant_size_v<SchemeKeys> == SchemeTable.size() + 1,
              "every row of the scheme table has its keys in SchemeKeys");

/// The keys of a scheme: the alternative of SchemeKeys that its code names.
template <Scheme S>
using SchemeKeysOf = std::variant_alternative_t<static_cast<std::size_t>(codeOf(S) + 1), SchemeKeys>;

/// The scheme whose keys `Keys` are.
template <class Keys> constexpr Scheme schemeOfKeys()
{
    return []<std::size_t... I>(std::index_sequence<I...>)
    {
        int code = codeOf(Scheme::Missing);
        ((std::is_same_v<Keys, std::variant_alternative_t<I, SchemeKeys>> ? (code = int(I) - 1) : 0), ...);
        return static_cast<Scheme>(code);
    }
    (std::make_index_sequence<std::variant_size_v<SchemeKeys>>());
}

/// A button as a value: the keys every scheme has and the keys of its own scheme.
struct ButtonValue {
    QString name;           ///< "Name", the caption
    SchemeKeys scheme;      ///< "Type" and the scheme's own keys
    FieldChoice target;     ///< "Target" and its id and type
    QString format;         ///< "Format", the AutoNumber pattern
    QString targetDecimals; ///< "TargetDecimals"
    QString limitedToDB;    ///< "_DB"; empty for all databases
    /// "Over<k>", as the editor shows it; nullopt when no option is on.
    std::optional<OverwriteMode> overwrite = OverwriteMode::NeverOverwrite;
    int autoWarning = 0;                     ///< "AutoWarning<k>": confirm (0), splash (1), none (2)
    int scope = 0;                           ///< "Scope<k>": this database (0), all databases (1)
    QString appendSeparator;                 ///< "AppenSep"
    QString fontBold = QStringLiteral("0");  ///< "FontBold", kept as the file holds it
    QString foreColor = QStringLiteral("0"); ///< "ForeColor", kept as the file holds it
    QString savedWithDB;                     ///< "DB", written last

    /// The scheme the keys are of; Missing for std::monostate.
    Scheme type() const { return static_cast<Scheme>(static_cast<int>(scheme.index()) - 1); }

    bool operator==(const ButtonValue&) const = default;
};

/// The button a file holds. A key that is absent (or empty) takes the editor's default; a file
/// without a scheme code from "0" to "6" gives std::monostate. `programFolder` (ending with the
/// separator) is where the counter file of an AutoNumber button without "AutoIniFile" lies.
ButtonValue loadButton(const ButtonFile& file, const QString& programFolder);

/// The button a file holds, read as a button of `scheme` whatever its "Type" key says: a run takes
/// the code it checked itself, so a damaged "Type" never picks the keys. Defaults as for loadButton.
ButtonValue loadButtonAs(const ButtonFile& file, Scheme scheme, const QString& programFolder);

/// The keys of one scheme as a file holds them, whatever scheme the file is saved with: the editor
/// fills every page, and keys of an earlier scheme stay in the file. Defaults as for loadButton;
/// Scheme::Missing gives std::monostate.
SchemeKeys loadSchemeKeys(const ButtonFile& file, Scheme scheme, const QString& programFolder);

/// Writes a button in the editor's order: the keys of every scheme, the scheme's own keys in the
/// order of their table (with the derived "AppendSep" and "UsedFields"), "DB" last. Keys of other
/// schemes that the file holds stay. A button without a scheme writes no "Type" and no scheme keys.
/// Stops at the first key that cannot be written and returns false; the keys written before stay.
bool saveButton(const ButtonValue& button, const ButtonFile& file);

} // namespace valdora
