// Fuzzes the expression calculator. The input's first byte picks the locale (en_US, fr_FR, de_DE);
// its first line is the expression after "//"; each further line is the value of the next field of
// the current contact, from field 1 on. Besides crashes, it checks that a result is a number in the
// locale or one of the calculator's own outcomes, and that a second calculation gives the same.

#include "FuzzSupport.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "engine/Calculator.h"
#include "engine/EngineContext.h"
#include "run/ProgramProfile.h"
#include "settings/ProgramSession.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace valdora;
using valdora::fuzz::check;

namespace {

/// The current contact: fields 1 to n hold the input's lines, every other field is unknown to it.
class LineFieldReader final : public engine::FieldReader {
public:
    void setValues(QStringList values) { m_values = std::move(values); }

    bool makeCurrent(const host::ContactId&, Where) override { return true; }
    engine::FieldRef resolve(const FieldChoice&, const engine::FieldKey&, engine::FieldUse, const QString&,
                             Where) override
    {
        return {};
    }
    std::optional<QString> read(host::FieldId id, Where) override
    {
        if (id < 1 || id > m_values.size())
            return std::nullopt;
        return m_values.at(id - 1);
    }
    host::UserList* users() override { return nullptr; }
    bool translatesRecordManager() const override { return false; }

private:
    QStringList m_values;
};

/// One calculator over the reader in one locale, with the session it reports through.
struct Bench {
    explicit Bench(const char* localeName)
        : locale(QLocale(QString::fromLatin1(localeName))),
          session(platform, QStringLiteral("Valdora"), valdora::fuzz::scratchFolder(),
                  UserSettings(valdora::fuzz::scratchFolder()), locale),
          context{.session = session,
                  .reader = reader,
                  .fieldValues = fieldValues,
                  .options = run::ProgramProfile::valdora(locale).engine},
          calculator(context)
    {}

    TextLocale locale;
    ScriptedPlatform platform;
    ProgramSession session;
    LineFieldReader reader;
    engine::FieldValueTable fieldValues{40};
    engine::EngineContext context;
    engine::Calculator calculator;
};

std::array<std::unique_ptr<Bench>, 3>& benches()
{
    static std::array<std::unique_ptr<Bench>, 3> all{
        std::make_unique<Bench>("en_US"), std::make_unique<Bench>("fr_FR"), std::make_unique<Bench>("de_DE")};
    return all;
}

bool isOutcome(const TextLocale& locale, const QString& result)
{
    // "" after a message, "Invalid" after a division by zero, and a value beyond the range of a
    // double written as the platform writes it.
    static const QStringList words{QString(), QStringLiteral("Invalid"), QStringLiteral("NaN"),
                                   QStringLiteral("Infinity"), QStringLiteral("-Infinity")};
    return words.contains(result) || locale.isNumeric(result);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    valdora::fuzz::pinEnvironment();
    (void)benches();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    Bench& bench = *benches()[data[0] % 3];
    QStringList lines = valdora::fuzz::utf8Text(data + 1, size - 1).split(u'\n');
    const QString expression = QStringLiteral("//") + lines.takeFirst();
    bench.reader.setValues(lines);

    bench.platform.clearRecord();
    const QString result = bench.calculator.Start_Calc(expression);
    const QStringList messages = bench.platform.messageTexts();
    check(isOutcome(bench.locale, result), "a result is a number or an outcome of the calculator", result);
    check(!result.isEmpty() || !messages.isEmpty(), "an empty result comes with a message", expression);

    bench.platform.clearRecord();
    const QString again = bench.calculator.Start_Calc(expression);
    check(again == result, "a calculation gives the same result again", again, result);
    check(bench.platform.messageTexts() == messages, "a calculation shows the same messages again",
          bench.platform.messageTexts().join(u'|'), messages.join(u'|'));
    return 0;
}
