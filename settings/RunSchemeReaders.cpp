#include "RunSchemeReaders.h"

namespace valdora {

bool readRunConstantOperand(const ButtonFile& file, int operand)
{
    return file.isOn(ButtonKey::at(ButtonKey::CalcTextOption, operand));
}

RunAddOperators readRunAddOperators(const ButtonFile& file)
{
    RunAddOperators operators;
    for (int j = 0; j < static_cast<int>(operators.between.size()); ++j) {
        const QString stored = file.read(ButtonKey::at(ButtonKey::CalcOperator, j));
        operators.between[static_cast<std::size_t>(j)] = stored;
        operators.joining[static_cast<std::size_t>(j)] = stored.isEmpty() ? QStringLiteral("0") : stored;
    }
    return operators;
}

QString readRunMultiplyOperator(const ButtonFile& file)
{
    return file.read(ButtonKey::CalcOperator);
}

QString readRunConditionOperator(const ButtonFile& file, int row)
{
    return file.read(ButtonKey::at(ButtonKey::Operator, row), QStringLiteral("-1"));
}

QString readRunNowOperator(const ButtonFile& file)
{
    return file.read(ButtonKey::NowOperator, QStringLiteral("0"));
}

int readRunNowFormat(const ButtonFile& file)
{
    // The options a run tests, in the order it tests them; neither on gives the date and time.
    static constexpr int Date = 0;
    static constexpr int DateAndTime = 1;
    static constexpr int Time = 2;
    for (const int option : {Date, Time}) {
        if (file.isOn(ButtonKey::at(ButtonKey::NowFormatDate, option)))
            return option;
    }
    return DateAndTime;
}

QString readRunAutoSeparator(const ButtonFile& file)
{
    return file.read(ButtonKey::AutoSep, QStringLiteral("-"));
}

QString readRunTruncateDigits(const ButtonFile& file)
{
    return file.read(ButtonKey::TruncateDigits, QStringLiteral("0"));
}

std::optional<QString> readStoredCounterFile(const ButtonFile& file)
{
    const QString stored = file.read(ButtonKey::AutoIniFile);
    return stored.isEmpty() ? std::nullopt : std::optional(stored);
}

} // namespace valdora
