#include "ArithmeticSchemes.h"

#include "MemberSlot.h"
#include "TextHelpers.h"

#include "settings/FixedTexts.h"
#include "settings/RunSchemeReaders.h"

#include <cmath>
#include <optional>

namespace valdora::engine {

namespace {

/// Which operands a run takes as constants (see readRunConstantOperand).
template <size_t N> std::array<bool, N> constantOperands(const ButtonFile& file)
{
    std::array<bool, N> constant{};
    for (size_t k = 0; k < N; ++k)
        constant[k] = readRunConstantOperand(file, static_cast<int>(k));
    return constant;
}

/// Which operands of a scheme are read, and how.
struct Gathering {
    int count;
    /// Field ids at or below this are not read (Multiply/Divide skips the unique id too).
    host::FieldId lowestSkipped;
    /// Dates lose their time; user fields give the user's name (Add/Subtract only).
    bool refineByType;
};

/// The operands of an arithmetic scheme for the current contact; nullopt when the result is to be
/// empty text (a missing field, a file that was not resaved since field ids were stored).
template <size_t N>
std::optional<std::array<OperandValue, N>>
gatherOperands(EngineContext& context, const ArithmeticMember<N>& keys, const Gathering& how)
{
    std::array<OperandValue, N> operands;
    for (int k = 0; k < how.count; ++k) {
        OperandValue& operand = operands[static_cast<size_t>(k)];
        const Operand& stored = keys.operands[static_cast<size_t>(k)];
        if (keys.constant[static_cast<size_t>(k)]) {
            operand.text = stored.constant;
            continue;
        }
        const FieldRef ref = context.reader.resolve(stored.field, {ButtonKey::CalcField, k},
                                                    FieldUse::Optional, QStringLiteral("-2"));
        if (ref.state == FieldRefState::NotUpgraded) {
            context.memberFailed = true;
            context.session.platform().showMessage({.text = fixedtexts::OperandsNotResaved,
                                                    .title = fixedtexts::IncompleteUpgradeCaption,
                                                    .buttons = MessageButtons::OkCancel});
            return std::nullopt;
        }
        if (ref.state == FieldRefState::Missing) {
            context.showInvalidData();
            return std::nullopt;
        }
        operand.fromCurrencyField = ref.type == host::FieldType::Currency;
        if (ref.id <= how.lowestSkipped)
            continue;
        QString value = context.fieldValue(ref.id).value_or(QString());
        if (how.refineByType) {
            if (ref.type == host::FieldType::Date || ref.type == host::FieldType::DateTime)
                value = Extract_Day(context, value);
            else if (ref.type == host::FieldType::User && ref.id != host::FieldNumber::UniqueId)
                value = Get_Username(context, value);
        }
        operand.text = value;
    }
    return operands;
}

/// A currency field's "." becomes the user's separator, so that its number passes the numeric test.
void adoptSeparator(OperandValue& operand, const EngineContext& context)
{
    const QChar separator = context.options.decimalSeparator;
    if (!operand.fromCurrencyField || separator == u'.' || !operand.text.contains(u'.'))
        return;
    QString swapped = operand.text;
    swapped.replace(u'.', separator);
    if (context.session.locale().isNumeric(swapped))
        operand.text = swapped;
}

/// A currency target takes "." as its separator where the program says so.
QString forTarget(QString number, const EngineContext& context)
{
    const QChar separator = context.options.decimalSeparator;
    if (separator != u'.' && context.targetIsCurrency && context.options.currencyTargetUsesDot)
        number.replace(separator, u'.');
    return number;
}

QDateTime shiftedByDays(const QDateTime& start, double days)
{
    const double whole = std::trunc(days);
    QDateTime shifted = start.addDays(static_cast<qint64>(whole));
    if (days != whole)
        shifted = shifted.addMSecs(std::llround((days - whole) * 86400000.0));
    return shifted;
}

} // namespace

void AddScheme::Initialize_Add(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Add"), [&] {
        Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        const AddSubtractKeys keys = m_context.schemeKeys<AddSubtractKeys>(buttonFileName);
        const ButtonFile file = m_context.keys(buttonFileName);
        m = {keys.invalid,
             {keys.operands, constantOperands<4>(file)},
             readRunAddOperators(file),
             keys.emptyWhenNoData};
    });
}

// The member's keys were read by Initialize_Add.
QString AddScheme::Obtain_Add(const host::ContactId& contactId, const QString&, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Add"), [&] {
        const Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        if (!m_context.reachContact(contactId))
            return;
        std::optional<std::array<OperandValue, 4>> operands =
            gatherOperands<4>(m_context, m.operands, {4, 0, true});
        if (!operands)
            return;
        const bool allEmpty = std::all_of(operands->begin(), operands->end(),
                                          [](const OperandValue& operand) { return operand.text.isEmpty(); });
        if (allEmpty && m.emptyWhenNoData)
            return;
        result = Add_Values(*operands, member);
    });
    return result;
}

QString AddScheme::Add_Values(std::array<OperandValue, 4>& operands, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Add_Values"), [&] {
        const Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        const QString invalid = m.invalid;
        const TextLocale& locale = m_context.session.locale();

        enum class Kind { Number, Date, Empty, Text };
        std::array<Kind, 4> kinds{};
        int numbers = 0;
        int dates = 0;
        int empties = 0;
        for (size_t k = 0; k < operands.size(); ++k) {
            adoptSeparator(operands[k], m_context);
            const QString& text = operands[k].text;
            if (locale.isNumeric(text)) {
                kinds[k] = Kind::Number;
                ++numbers;
            } else if (locale.isDate(text)) {
                kinds[k] = Kind::Date;
                ++dates;
            } else if (text.isEmpty()) {
                kinds[k] = Kind::Empty;
                ++empties;
            } else {
                kinds[k] = Kind::Text;
            }
        }
        const auto operatorBefore = [&](size_t k) { return m.operators.between[k - 1]; };

        if (numbers == 4 - empties) {
            double total = kinds[0] == Kind::Empty ? 0.0 : locale.toDouble(operands[0].text);
            for (size_t k = 1; k < operands.size(); ++k) {
                if (kinds[k] == Kind::Empty)
                    continue;
                const QString op = operatorBefore(k);
                if (op == u"0")
                    total += locale.toDouble(operands[k].text);
                else if (op == u"1")
                    total -= locale.toDouble(operands[k].text);
            }
            result = forTarget(locale.format(total, u"0.00000000"), m_context);
            return;
        }

        // The date modes start from the first operand that holds something; it must be the date.
        size_t first = 0;
        while (first < operands.size() && kinds[first] == Kind::Empty)
            ++first;
        const bool dateMode = (numbers == 3 - empties && dates == 1) || (dates == 2 && empties == 2);
        if (dateMode && kinds[first] != Kind::Date) {
            result = invalid;
            return;
        }

        if (numbers == 3 - empties && dates == 1) {
            QDateTime running = *locale.toDateTime(operands[first].text);
            for (size_t k = first + 1; k < operands.size(); ++k) {
                if (kinds[k] == Kind::Empty)
                    continue;
                const QString op = operatorBefore(k);
                const double days = locale.toDouble(operands[k].text);
                if (op == u"0")
                    running = shiftedByDays(running, days);
                else if (op == u"1")
                    running = shiftedByDays(running, -days);
            }
            result = locale.dateTimeText(running);
            return;
        }

        if (dates == 2 && empties == 2) {
            const QDateTime start = *locale.toDateTime(operands[first].text);
            QString running = locale.dateTimeText(start);
            for (size_t k = first + 1; k < operands.size(); ++k) {
                if (kinds[k] == Kind::Empty)
                    continue;
                const QString op = operatorBefore(k);
                if (op == u"1")
                    running = QString::number(
                        dayDifference(locale.toDateTime(operands[k].text)->date(), start.date()));
                else if (op == u"0")
                    running = invalid;
            }
            result = running;
            return;
        }

        // Texts join when every operator is "+".
        int sum = 0;
        for (const QString& op : m.operators.joining)
            sum += locale.toInt16(op);
        if (sum != 0) {
            result = invalid;
            return;
        }
        QString joined;
        for (const OperandValue& operand : operands)
            joined += operand.text;
        result = joined.remove(u'|');
    });
    return result;
}

void MultiplyScheme::Initialize_Multiply(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Multiply"), [&] {
        Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        const MultiplyDivideKeys keys = m_context.schemeKeys<MultiplyDivideKeys>(buttonFileName);
        const ButtonFile file = m_context.keys(buttonFileName);
        m = {keys.invalid, {keys.operands, constantOperands<2>(file)}, readRunMultiplyOperator(file)};
    });
}

// The member's keys were read by Initialize_Multiply.
QString MultiplyScheme::Obtain_Multiply(const host::ContactId& contactId, const QString&, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Multiply"), [&] {
        const Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        if (!m_context.reachContact(contactId))
            return;
        std::optional<std::array<OperandValue, 2>> operands =
            gatherOperands<2>(m_context, m.operands, {2, 1, false});
        if (!operands)
            return;
        result = Multiply_Values(*operands, member);
    });
    return result;
}

QString MultiplyScheme::Multiply_Values(std::array<OperandValue, 2>& operands, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Multiply_Values"), [&] {
        const Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        const QString invalid = m.invalid;
        const TextLocale& locale = m_context.session.locale();
        for (OperandValue& operand : operands)
            adoptSeparator(operand, m_context);
        const std::optional<double> a = locale.toNumber(operands[0].text);
        const std::optional<double> b = locale.toNumber(operands[1].text);
        if (!a || !b) {
            result = invalid;
            return;
        }
        const QString& op = m.op;
        if (op == u"0") {
            result = locale.fromDouble(*a * *b);
        } else if (op == u"1") {
            result = *b == 0 ? invalid : forTarget(locale.fromDouble(*a / *b), m_context);
        }
    });
    return result;
}

} // namespace valdora::engine
