#include "SaveChecks.h"

#include "host/HostTypes.h"
#include "settings/Cp1252.h"

#include <algorithm>
#include <array>

namespace valdora::editor {

namespace {

const QString LineBreak = QStringLiteral("\r\n");
const QString Blank = QStringLiteral(" ");
const QString MoreConditions = QStringLiteral("frmMoreCond");
const QString MoreMembers = QStringLiteral("frmMoreCombo");

constexpr int ConditionsOnPage = 5;
constexpr int MembersOnPage = 8;
constexpr int NowDateOnly = 0;
constexpr int NowDateAndTime = 1;
constexpr int NowTimeOnly = 2;

// The name of one control of a control array: "txtValueTab1" and 3 give "txtValueTab13".
QString indexed(const char* control, std::size_t index)
{
    return QString::fromLatin1(control) + QString::number(index);
}

// A failure at a control of a scheme's page, or of the "More..." dialog that extends it.
SaveFailure atControl(QString message, QString control, Scheme scheme, QString dialog = {})
{
    return {std::move(message), std::move(control), pageOf(scheme), std::move(dialog)};
}

SaveFailure atCommonControl(QString message, QString control)
{
    return {std::move(message), std::move(control), std::nullopt, {}};
}

SaveFailure withoutControl(QString message)
{
    return {std::move(message), {}, std::nullopt, {}};
}

// Collects the first entry that the button file's code page cannot hold.
class EncodingCheck {
public:
    void operator()(const QString& value, const QString& label, const QString& control,
                    std::optional<EditorPage> page, const QString& dialog = {})
    {
        if (m_failure || Cp1252::canEncode(value))
            return;
        QString refused;
        for (const QChar c : value) {
            if (!Cp1252::canEncode(QStringView(&c, 1)) && !refused.contains(c))
                refused += c;
        }
        m_failure = SaveFailure{
            QStringLiteral("The entry \"%1\" holds characters that a button file cannot store: %2")
                .arg(label, refused),
            control, page, dialog};
    }
    const std::optional<SaveFailure>& failure() const { return m_failure; }

private:
    std::optional<SaveFailure> m_failure;
};

class Checks;

// What the save checks of one scheme's page, at each step of the save where a scheme has a rule of its
// own; a null member has none. One row per row of the scheme table, by the same code.
struct SchemeChecks {
    Scheme scheme;
    /// The page's own entries, after the caption and the target.
    std::optional<SaveFailure> (Checks::*entries)() const;
    /// The page's texts that the file's code page must hold, after the common ones.
    void (Checks::*encodable)(EncodingCheck&, std::optional<EditorPage>) const;
    /// A numeric, currency or time target (its type code given), after the append separator.
    std::optional<SaveFailure> (Checks::*numericTarget)(qint16) const;
    /// A date target, after the append mode.
    std::optional<SaveFailure> (Checks::*dateTarget)() const;
    /// Last, after the target's type, whose message names what a numeric target refuses.
    std::optional<SaveFailure> (Checks::*afterTargetType)() const;
};

const SchemeChecks& schemeChecksOf(Scheme scheme);

// The save's checks over one state, each a member returning its failure or nothing. The checks of
// one scheme are public for its row of the checks table.
class Checks {
public:
    Checks(const EditorState& state, const SaveCheckContext& context)
        : m_state(state), m_context(context), m_scheme(state.chosenScheme())
    {}

    SaveCheckResult run(SaveAnswers answers) const
    {
        if (m_scheme == Scheme::Missing)
            return withoutControl(text(MessageId::SchemeMissing));
        if (pageOf(m_scheme) != m_state.page && !answers.proceedOffPage)
            return SaveAsk{SaveQuestion::SchemeNotOnScreen,
                           text(MessageId::SchemeNotOnScreen) + LineBreak + text(MessageId::ProceedAnyway)};
        const SchemeChecks& own = schemeChecksOf(m_scheme);
        for (const auto& check : {&Checks::caption, &Checks::target, own.entries}) {
            if (check == nullptr)
                continue;
            if (auto failure = (this->*check)())
                return *failure;
        }
        if (auto failure = encodable(own))
            return *failure;
        // The target's type.
        if (!m_context.targetType)
            return withoutControl(text(MessageId::InvalidDataCheckSettings));
        const qint16 type = *m_context.targetType;
        std::optional<SaveFailure> failure;
        if (type == host::FieldType::Numeric || type == host::FieldType::Currency ||
            type == host::FieldType::Time)
            failure = numericTarget(own, type);
        else if (type == host::FieldType::Date)
            failure = dateTarget(own);
        else if (type == host::FieldType::Url && !answers.acceptUrlTarget)
            return SaveAsk{SaveQuestion::UrlTarget, text(MessageId::UrlTargetField)};
        if (failure)
            return *failure;
        // After the target's type, whose own message names a constant a numeric target refuses.
        if (own.afterTargetType != nullptr) {
            if (auto refused = (this->*own.afterTargetType)())
                return *refused;
        }
        return std::monostate();
    }

private:
    QString text(MessageId id) const { return m_context.messages.get(id); }
    QString text(OwnText id) const { return m_context.messages.get(id); }
    bool isNumber(const QString& value) const { return m_context.locale.isNumeric(value); }
    bool isDate(const QString& value) const { return m_context.locale.isDate(value); }
    QString wrongType(MessageId id) const { return wrongType(text(id)); }
    QString wrongType(const QString& message) const
    {
        return Message_WrongType(m_context.messages, *m_context.targetType, message);
    }
    QString valueNumber(std::size_t index) const
    {
        return text(MessageId::ProblemWithValueNumber) + Blank + QString::number(index + 1);
    }

    std::optional<SaveFailure> caption() const
    {
        const QString& caption = m_state.caption;
        if (caption.isEmpty() || caption == text(MessageId::New))
            return atCommonControl(text(MessageId::CaptionMissing), QStringLiteral("txtButtonName"));
        if (m_state.newButton && m_context.barCaptions.contains(caption))
            return atCommonControl(text(MessageId::CaptionTaken) + LineBreak +
                                       text(MessageId::ChooseAnotherCaption),
                                   QStringLiteral("txtButtonName"));
        return std::nullopt;
    }

    std::optional<SaveFailure> target() const
    {
        // A scheme without a value of its own (Combo) writes no target.
        if (m_state.target.isEmpty() && computesValue(codeOf(m_scheme)))
            return atCommonControl(text(MessageId::TargetFieldMissing), QStringLiteral("cmbTarget"));
        return std::nullopt;
    }

public:
    // The checks of one scheme, named in its row of the checks table.

    std::optional<SaveFailure> startAt() const
    {
        const QString& number = m_state.autoNumber.entries.number;
        if (number.isEmpty())
            return atControl(text(MessageId::StartAtEmpty), QStringLiteral("txtNumber"), m_scheme);
        // The counter file takes digits only: anything else (a sign, a decimal, a blank, a number
        // from an old file) would stop every run of the button.
        if (!std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return atControl(text(OwnText::StartAtNotAWholeNumber), QStringLiteral("txtNumber"), m_scheme);
        return std::nullopt;
    }

    // The run reads the days as a 16-bit whole number; an empty box is 0.
    std::optional<SaveFailure> days() const
    {
        if (m_state.now.days.isEmpty())
            return std::nullopt;
        try {
            (void)m_context.locale.toInt16(m_state.now.days);
            return std::nullopt;
        } catch (const Failure&) {
            return atControl(text(OwnText::DaysNotAWholeNumber), QStringLiteral("txtDays"), m_scheme);
        }
    }

    // A multiplication or division of a constant that is no number could only ever give the
    // invalid value.
    std::optional<SaveFailure> operands() const
    {
        const auto& operands = m_state.multiplyDivide.operands;
        for (std::size_t i = 0; i < operands.size(); ++i) {
            if (operands[i].source == Operand::Constant && !isNumber(operands[i].constant))
                return atControl(text(OwnText::OperandNotANumber).arg(i + 1), indexed("txtCalcTab3", i),
                                 m_scheme);
        }
        return std::nullopt;
    }

    std::optional<SaveFailure> conditions() const
    {
        bool anyInUse = false;
        for (std::size_t i = 0; i < m_state.condition.rows.size(); ++i) {
            const ConditionRow& row = m_state.condition.rows[i];
            anyInUse = anyInUse || row.inUse;
            if (row.inUse && row.op == NoChoice)
                return withoutControl(text(MessageId::CheckedCondition) + Blank + QString::number(i + 1) +
                                      Blank + text(MessageId::ConditionWithoutOperator));
        }
        if (!anyInUse)
            return withoutControl(text(MessageId::NoConditionChecked));
        return std::nullopt;
    }

    std::optional<SaveFailure> members() const
    {
        const auto& rows = m_state.combo.members;
        if (std::none_of(rows.begin(), rows.end(), [](const ComboSlot& slot) { return slot.inUse; }))
            return withoutControl(text(MessageId::NoButtonChecked));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            // Rows are counted from 0 here, as the member rows are numbered.
            if (rows[i].inUse && rows[i].buttonFileName.isEmpty())
                return withoutControl(text(MessageId::CheckedItemNumber) + Blank + QString::number(i) +
                                      Blank + text(MessageId::ItemWithoutButton));
        }
        return std::nullopt;
    }

    void encodableAutoNumber(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        const AutoNumberPage& p = m_state.autoNumber;
        check(p.entries.text, label(MessageId::AutoNumberText), QStringLiteral("txtText"), page);
        check(p.entries.number, label(MessageId::StartAt), QStringLiteral("txtNumber"), page);
        check(p.entries.separator, label(MessageId::AutoNumberSeparator), QStringLiteral("txtSeparator"),
              page);
        check(p.counterFile, label(MessageId::ChangeDefaultLocation), QStringLiteral("cmdAutoNumber"), page);
    }

    void encodableCondition(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        for (std::size_t i = 0; i < m_state.condition.rows.size(); ++i) {
            const ConditionRow& row = m_state.condition.rows[i];
            const QString dialog = i < ConditionsOnPage ? QString() : MoreConditions;
            check(row.condition, indexed("txtCondition", i), indexed("txtCondition", i), page, dialog);
            check(row.value, indexed("txtValueTab1", i), indexed("txtValueTab1", i), page, dialog);
        }
    }

    void encodableAddSubtract(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        for (std::size_t i = 0; i < m_state.addSubtract.operands.size(); ++i)
            check(m_state.addSubtract.operands[i].constant, indexed("txtCalcTab2", i),
                  indexed("txtCalcTab2", i), page);
        check(m_state.addSubtract.invalid, QStringLiteral("txtInvalidAdd"), QStringLiteral("txtInvalidAdd"),
              page);
    }

    void encodableMultiplyDivide(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        for (std::size_t i = 0; i < m_state.multiplyDivide.operands.size(); ++i)
            check(m_state.multiplyDivide.operands[i].constant, indexed("txtCalcTab3", i),
                  indexed("txtCalcTab3", i), page);
        check(m_state.multiplyDivide.invalid, QStringLiteral("txtInvalid"), QStringLiteral("txtInvalid"),
              page);
    }

    void encodableNow(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        check(m_state.now.days, QStringLiteral("txtDays"), QStringLiteral("txtDays"), page);
    }

    void encodableAge(EncodingCheck& check, std::optional<EditorPage> page) const
    {
        check(m_state.age.invalid, label(MessageId::AgeIfNotDate), QStringLiteral("txtInvalidAge"), page);
        check(m_state.age.blank, label(MessageId::AgeIfNoData), QStringLiteral("txtBlankAge"), page);
    }

    /// The first ticked condition row whose value the target refuses.
    template <typename Refused> std::optional<SaveFailure> firstRefusedConditionValue(Refused refused) const
    {
        for (std::size_t i = 0; i < m_state.condition.rows.size(); ++i) {
            const ConditionRow& row = m_state.condition.rows[i];
            if (row.inUse && refused(row.value))
                return atControl(wrongType(valueNumber(i)), indexed("txtValueTab1", i), m_scheme,
                                 i < ConditionsOnPage ? QString() : MoreConditions);
        }
        return std::nullopt;
    }

    /// The first constant operand whose value the target refuses.
    template <typename Operands, typename Refused>
    std::optional<SaveFailure> firstRefusedConstant(const Operands& operands, const char* control,
                                                    Refused refused) const
    {
        for (std::size_t i = 0; i < operands.size(); ++i) {
            if (operands[i].source == Operand::Constant && refused(operands[i].constant))
                return atControl(wrongType(valueNumber(i)), indexed(control, i), m_scheme);
        }
        return std::nullopt;
    }

    // Target of type numeric, currency or time.
    std::optional<SaveFailure> numericAutoNumber(qint16) const
    {
        const AutoNumberEntries& entries = m_state.autoNumber.entries;
        if (entries.positions.text != 0 && !isNumber(entries.text))
            return atControl(wrongType(MessageId::TextValueRejected), QStringLiteral("txtText"), m_scheme);
        if (!entries.separator.isEmpty() && !isNumber(entries.separator))
            return atControl(wrongType(MessageId::NonNumericSeparatorRejected),
                             QStringLiteral("txtSeparator"), m_scheme);
        return std::nullopt;
    }

    std::optional<SaveFailure> numericCondition(qint16) const
    {
        return firstRefusedConditionValue([this](const QString& value) {
            return !value.isEmpty() && !value.startsWith(QStringLiteral("//")) && !isNumber(value);
        });
    }

    std::optional<SaveFailure> numericAddSubtract(qint16) const
    {
        return firstRefusedConstant(
            m_state.addSubtract.operands, "txtCalcTab2",
            [this](const QString& value) { return !value.isEmpty() && !isNumber(value); });
    }

    std::optional<SaveFailure> numericMultiplyDivide(qint16) const
    {
        if (auto failure = firstRefusedConstant(m_state.multiplyDivide.operands, "txtCalcTab3",
                                                [this](const QString& value) { return !isNumber(value); }))
            return failure;
        if (!m_state.multiplyDivide.invalid.isEmpty() && !isNumber(m_state.multiplyDivide.invalid))
            return atControl(wrongType(MessageId::InvalidValueRejected), QStringLiteral("txtInvalid"),
                             m_scheme);
        return std::nullopt;
    }

    std::optional<SaveFailure> numericNow(qint16 type) const
    {
        if (type == host::FieldType::Numeric || type == host::FieldType::Currency)
            return withoutControl(wrongType(MessageId::DateRejected));
        if (m_state.now.format == NowDateOnly || m_state.now.format == NowDateAndTime)
            return withoutControl(wrongType(MessageId::SelectTimeOnly));
        return std::nullopt;
    }

    // Target of type date.
    std::optional<SaveFailure> dateAutoNumber() const
    {
        return withoutControl(wrongType(MessageId::AutoNumberInDateField));
    }

    std::optional<SaveFailure> dateCondition() const
    {
        return firstRefusedConditionValue([this](const QString& value) { return !isDate(value); });
    }

    std::optional<SaveFailure> dateAddSubtract() const
    {
        return firstRefusedConstant(
            m_state.addSubtract.operands, "txtCalcTab2",
            [this](const QString& value) { return !value.isEmpty() && !isDate(value) && !isNumber(value); });
    }

    std::optional<SaveFailure> dateMultiplyDivide() const
    {
        return withoutControl(wrongType(MessageId::CalculationCannotBeDate));
    }

    std::optional<SaveFailure> dateNow() const
    {
        if (m_state.now.format == NowDateAndTime || m_state.now.format == NowTimeOnly)
            return withoutControl(wrongType(MessageId::DateFormatRejected));
        return std::nullopt;
    }

private:
    QString label(MessageId id) const
    {
        QString caption = text(id).trimmed();
        if (caption.endsWith(u':'))
            caption.chop(1);
        return caption.trimmed();
    }

    // Every text the save writes must fit the button file's code page: a character it cannot hold
    // would be stored as "?" and the button would no longer be what the user entered.
    std::optional<SaveFailure> encodable(const SchemeChecks& own) const
    {
        EncodingCheck check;
        check(m_state.caption, label(MessageId::ButtonCaption), QStringLiteral("txtButtonName"),
              std::nullopt);
        check(m_state.appendSeparator, label(MessageId::AppendWithSeparator), QStringLiteral("txtAppendSep"),
              std::nullopt);
        if (own.encodable != nullptr)
            (this->*own.encodable)(check, pageOf(m_scheme));
        return check.failure();
    }

    std::optional<SaveFailure> numericTarget(const SchemeChecks& own, qint16 type) const
    {
        if (m_state.overwrite == OverwriteMode::Append && !m_state.appendSeparator.isEmpty() &&
            !isNumber(m_state.appendSeparator))
            return atCommonControl(wrongType(MessageId::AppendSeparatorRejected),
                                   QStringLiteral("txtAppendSep"));
        return own.numericTarget != nullptr ? (this->*own.numericTarget)(type) : std::nullopt;
    }

    std::optional<SaveFailure> dateTarget(const SchemeChecks& own) const
    {
        if (m_state.overwrite == OverwriteMode::Append)
            return withoutControl(wrongType(MessageId::SeparatorInDateField));
        return own.dateTarget != nullptr ? (this->*own.dateTarget)() : std::nullopt;
    }

    const EditorState& m_state;
    const SaveCheckContext& m_context;
    const Scheme m_scheme;
};

// One row per scheme, by code.
constexpr std::array<SchemeChecks, SchemeTable.size()> SchemeChecksTable{{
    {Scheme::AutoNumber, &Checks::startAt, &Checks::encodableAutoNumber, &Checks::numericAutoNumber,
     &Checks::dateAutoNumber, nullptr},
    {Scheme::Condition, &Checks::conditions, &Checks::encodableCondition, &Checks::numericCondition,
     &Checks::dateCondition, nullptr},
    {Scheme::AddSubtract, nullptr, &Checks::encodableAddSubtract, &Checks::numericAddSubtract,
     &Checks::dateAddSubtract, nullptr},
    // A multiplication or division of a constant that is no number could only ever give the invalid
    // value; its message follows the target's, which names a constant a numeric target refuses.
    {Scheme::MultiplyDivide, nullptr, &Checks::encodableMultiplyDivide, &Checks::numericMultiplyDivide,
     &Checks::dateMultiplyDivide, &Checks::operands},
    {Scheme::Now, &Checks::days, &Checks::encodableNow, &Checks::numericNow, &Checks::dateNow, nullptr},
    {Scheme::Combo, &Checks::members, nullptr, nullptr, nullptr, nullptr},
    {Scheme::Age, nullptr, &Checks::encodableAge, nullptr, nullptr, nullptr},
}};

constexpr bool checksInCodeOrder()
{
    for (std::size_t i = 0; i < SchemeChecksTable.size(); ++i) {
        if (SchemeChecksTable[i].scheme != SchemeTable[i].scheme)
            return false;
    }
    return true;
}
static_assert(checksInCodeOrder(), "the checks of a scheme sit in the row of its code");

// Called for a chosen scheme only: the save stops first when none is ticked.
const SchemeChecks& schemeChecksOf(Scheme scheme)
{
    return SchemeChecksTable[static_cast<std::size_t>(codeOf(scheme))];
}

} // namespace

std::optional<qint16> targetTypeOf(const FieldListModel& fields, const QString& target)
{
    if (target.isEmpty())
        return qint16(-1);
    const std::optional<FieldEntry> field = fields.find(target);
    return field ? std::optional(field->type) : std::nullopt;
}

SaveCheckResult checkSave(const EditorState& state, const SaveCheckContext& context, SaveAnswers answers)
{
    return Checks(state, context).run(answers);
}

QString Message_WrongType(const Messages& messages, qint16 typeCode, const QString& text)
{
    QString word;
    switch (typeCode) {
    case host::FieldType::Numeric:
        word = QStringLiteral("numeric");
        break;
    case host::FieldType::Currency:
        word = QStringLiteral("currency");
        break;
    case host::FieldType::Date:
        word = QStringLiteral("date");
        break;
    case host::FieldType::Time:
        word = QStringLiteral("time");
        break;
    default:
        break;
    }
    return messages.get(MessageId::TargetFieldTypeOpen) + word +
           messages.get(MessageId::TargetFieldTypeIncompatible) + LineBreak + text;
}

} // namespace valdora::editor
