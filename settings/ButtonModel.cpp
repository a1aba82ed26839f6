#include "ButtonModel.h"

#include "ButtonKeyBinding.h"

#include <QStringList>

#include <array>
#include <utility>

namespace valdora {

namespace {

// The keys of an option group: "Over0" to "Over3" for ("Over", 4).
QStringList groupKeys(const QString& base, int count)
{
    QStringList keys;
    for (int k = 0; k < count; ++k)
        keys << ButtonKey::at(base, k);
    return keys;
}

// "UsedFields": the target's name followed by the names of the fields the scheme reads, joined by "|".
template <class Fields> QString usedFields(const KeyBindingContext& context, const Fields& names)
{
    QStringList items{context.button.target.name};
    for (const QString& name : names)
        items << name;
    return items.join(u'|');
}

template <std::size_t N> std::array<QString, N> operandFieldNames(const std::array<Operand, N>& operands)
{
    std::array<QString, N> names;
    for (std::size_t i = 0; i < N; ++i)
        names[i] = operands[i].field.name;
    return names;
}

// One operand of the arithmetic schemes: "CalcText<i>", the field "CalcField<i>" and the option pair
// "CalcTextOption<i>"/"CalcFieldOption<i>".
const KeyTable<Operand>& operandTable()
{
    static const KeyTable<Operand> table = [] {
        KeyTable<Operand> t;
        t.text(ButtonKey::CalcText, &Operand::constant)
            .field(ButtonKey::CalcField, &Operand::field)
            .choice({ButtonKey::CalcTextOption, ButtonKey::CalcFieldOption}, &Operand::source,
                    Operand::Field);
        return t;
    }();
    return table;
}

// The last keys of both arithmetic schemes: "Invalid", then "UsedFields" with the operands' fields.
template <class S> KeyTable<S> bindArithmeticEnd(KeyTable<S>& table)
{
    table.text(ButtonKey::Invalid, &S::invalid)
        .derived(ButtonKey::UsedFields, [](const KeyBindingContext& c, const S& s) {
            return usedFields(c, operandFieldNames(s.operands));
        });
    return table;
}

template <class S> KeyTable<S> makeTable();

template <> KeyTable<std::monostate> makeTable()
{
    return {};
}

template <> KeyTable<ButtonValue> makeTable()
{
    KeyTable<ButtonValue> table;
    table.field(ButtonKey::Target, &ButtonValue::target)
        .text(ButtonKey::Format, &ButtonValue::format)
        .text(ButtonKey::TargetDecimals, &ButtonValue::targetDecimals)
        .text(ButtonKey::LimitedToDB, &ButtonValue::limitedToDB)
        .custom({[](const KeyBindingContext& c, ButtonValue& b) { b.overwrite = readOverwriteMode(c.file); },
                 [](const KeyBindingContext& c, const ButtonValue& b) {
                     return writeOverwriteMode(c.file, b.overwrite);
                 }})
        .choice(groupKeys(ButtonKey::AutoWarning, 3), &ButtonValue::autoWarning, 0)
        .choice(groupKeys(ButtonKey::Scope, 2), &ButtonValue::scope, 0)
        .text(ButtonKey::AppenSep, &ButtonValue::appendSeparator)
        .text(ButtonKey::FontBold, &ButtonValue::fontBold, QStringLiteral("0"))
        .text(ButtonKey::ForeColor, &ButtonValue::foreColor, QStringLiteral("0"));
    return table;
}

template <> KeyTable<AutoNumberKeys> makeTable()
{
    KeyTable<AutoNumberKeys> table;
    table.number(ButtonKey::AutoFieldPos, &AutoNumberKeys::fieldPosition, 0)
        .number(ButtonKey::AutoTextPos, &AutoNumberKeys::textPosition, 0)
        .number(ButtonKey::AutoNumberPos, &AutoNumberKeys::numberPosition, 0)
        .field(ButtonKey::AutoFieldValue, &AutoNumberKeys::field)
        .text(ButtonKey::AutoTextValue, &AutoNumberKeys::text)
        .custom({[](const KeyBindingContext& c, AutoNumberKeys& s) {
                     // Without a caption there is no default counter file to name.
                     const QString caption = c.button.name;
                     s.counterFile = c.read(
                         ButtonKey::AutoIniFile,
                         caption.isEmpty() ? QString() : defaultCounterFilePath(c.programFolder, caption));
                 },
                 [](const KeyBindingContext& c, const AutoNumberKeys& s) {
                     return c.write(ButtonKey::AutoIniFile, s.counterFile);
                 }})
        .text(ButtonKey::AutoSep, &AutoNumberKeys::separator)
        .derived(ButtonKey::AppendSep,
                 [](const KeyBindingContext& c, const AutoNumberKeys&) { return c.button.appendSeparator; })
        .derived(ButtonKey::UsedFields,
                 [](const KeyBindingContext& c, const AutoNumberKeys& s) {
                     return usedFields(c, std::array{s.field.name});
                 })
        .flag(ButtonKey::Truncate, &AutoNumberKeys::truncate)
        .number(ButtonKey::TruncateDigits, &AutoNumberKeys::truncateDigits, 254)
        .flag(ButtonKey::AutoCaps, &AutoNumberKeys::upperCase);
    return table;
}

template <> KeyTable<ConditionKeys> makeTable()
{
    KeyTable<ConditionRow> row;
    row.flag(ButtonKey::Cond, &ConditionRow::inUse)
        .field(ButtonKey::Field, &ConditionRow::field)
        .number(ButtonKey::Operator, &ConditionRow::op, NoChoice)
        .text(ButtonKey::Condition, &ConditionRow::condition)
        .text(ButtonKey::Value, &ConditionRow::value);
    KeyTable<ConditionKeys> table;
    table.rows(&ConditionKeys::rows, row)
        .derived(ButtonKey::UsedFields, [](const KeyBindingContext& c, const ConditionKeys& s) {
            std::array<QString, ButtonKey::ConditionCount> names;
            for (std::size_t i = 0; i < names.size(); ++i)
                names[i] = s.rows[i].field.name;
            return usedFields(c, names);
        });
    return table;
}

template <> KeyTable<AddSubtractKeys> makeTable()
{
    KeyTable<int> op;
    op.number(
        ButtonKey::CalcOperator, [](auto& value) -> auto& { return value; }, 0);
    KeyTable<AddSubtractKeys> table;
    table.rows(&AddSubtractKeys::operands, operandTable())
        .rows(&AddSubtractKeys::operators, op)
        .flag(ButtonKey::Zero, &AddSubtractKeys::emptyWhenNoData);
    return bindArithmeticEnd(table);
}

template <> KeyTable<MultiplyDivideKeys> makeTable()
{
    KeyTable<MultiplyDivideKeys> table;
    table.rows(&MultiplyDivideKeys::operands, operandTable())
        .number(ButtonKey::CalcOperator, &MultiplyDivideKeys::op, 0);
    return bindArithmeticEnd(table);
}

template <> KeyTable<NowKeys> makeTable()
{
    KeyTable<NowKeys> table;
    table.number(ButtonKey::NowOperator, &NowKeys::op, 0)
        .text(ButtonKey::NowDays, &NowKeys::days, QStringLiteral("0"))
        .choice(groupKeys(ButtonKey::NowFormatDate, 3), &NowKeys::format, 1);
    return table;
}

template <> KeyTable<ComboKeys> makeTable()
{
    KeyTable<ComboSlot> slot;
    slot.flag(ButtonKey::Button, &ComboSlot::inUse)
        .textIfSet(ButtonKey::ButtonName, &ComboSlot::buttonFileName);
    KeyTable<ComboKeys> table;
    table.rows(&ComboKeys::members, slot);
    return table;
}

template <> KeyTable<AgeKeys> makeTable()
{
    KeyTable<AgeKeys> table;
    table.field(ButtonKey::DateField, &AgeKeys::dateField)
        .choice(groupKeys(ButtonKey::AgeFormat, 3), &AgeKeys::format, 0)
        .text(ButtonKey::Invalid, &AgeKeys::invalid)
        .text(ButtonKey::Blank, &AgeKeys::blank);
    return table;
}

// The keys of each alternative of SchemeKeys and of the common part, built once.
template <class S> const KeyTable<S>& tableOf(const S&)
{
    static const KeyTable<S> table = makeTable<S>();
    return table;
}

// The alternative of SchemeKeys for a scheme: its index is the scheme code plus one.
template <std::size_t... I> SchemeKeys emptyKeysOf(Scheme scheme, std::index_sequence<I...>)
{
    static const std::array<SchemeKeys, sizeof...(I)> empty{SchemeKeys(std::in_place_index<I>)...};
    // A number that names no scheme reads as a button without one, never past the table.
    const std::size_t index = isSchemeCode(codeOf(scheme)) ? static_cast<std::size_t>(codeOf(scheme) + 1) : 0;
    return empty[index];
}

} // namespace

ButtonValue loadButton(const ButtonFile& file, const QString& programFolder)
{
    return loadButtonAs(file, file.scheme(), programFolder);
}

ButtonValue loadButtonAs(const ButtonFile& file, Scheme scheme, const QString& programFolder)
{
    ButtonValue button;
    const KeyBindingContext context{file, button, programFolder, {}};
    button.name = file.read(ButtonKey::Name);
    button.scheme = emptyKeysOf(scheme, std::make_index_sequence<std::variant_size_v<SchemeKeys>>());
    tableOf(button).load(context, button);
    std::visit([&](auto& keys) { tableOf(keys).load(context, keys); }, button.scheme);
    button.savedWithDB = file.read(ButtonKey::SavedWithDB);
    return button;
}

SchemeKeys loadSchemeKeys(const ButtonFile& file, Scheme scheme, const QString& programFolder)
{
    ButtonValue button;
    const KeyBindingContext context{file, button, programFolder, {}};
    button.name = file.read(ButtonKey::Name);
    button.scheme = emptyKeysOf(scheme, std::make_index_sequence<std::variant_size_v<SchemeKeys>>());
    std::visit([&](auto& keys) { tableOf(keys).load(context, keys); }, button.scheme);
    return button.scheme;
}

bool saveButton(const ButtonValue& button, const ButtonFile& file)
{
    const KeyBindingContext context{file, button, {}, {}};
    const Scheme scheme = button.type();
    return file.write(ButtonKey::Name, button.name) &&
           (scheme == Scheme::Missing || file.write(ButtonKey::Type, QString::number(codeOf(scheme)))) &&
           tableOf(button).save(context, button) &&
           std::visit([&](const auto& keys) { return tableOf(keys).save(context, keys); }, button.scheme) &&
           file.write(ButtonKey::SavedWithDB, button.savedWithDB);
}

} // namespace valdora
