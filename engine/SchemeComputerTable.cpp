#include "SchemeComputerTable.h"

#include "AgeScheme.h"
#include "ArithmeticSchemes.h"
#include "AutoNumberScheme.h"
#include "ConditionScheme.h"
#include "NowScheme.h"

#include <array>
#include <type_traits>

namespace valdora::engine {

namespace {

using Maker = std::unique_ptr<SchemeComputer> (*)(EngineContext&, Calculator&);

template <class S> std::unique_ptr<SchemeComputer> make(EngineContext& context, Calculator& calculator)
{
    if constexpr (std::is_constructible_v<S, EngineContext&, Calculator&>)
        return std::make_unique<S>(context, calculator);
    else
        return std::make_unique<S>(context);
}

struct ComputerRow {
    Scheme scheme;
    Maker make; ///< null for a scheme without a value of its own
    /// Whether `make` is set, kept beside it: with the sanitizers on, the address of a function is no
    /// constant that the table's check could compare with null.
    bool computes;
};

template <class S> constexpr ComputerRow computedBy(Scheme scheme)
{
    return {scheme, &make<S>, true};
}

constexpr ComputerRow withoutValue(Scheme scheme)
{
    return {scheme, nullptr, false};
}

// One row per row of the scheme table, by the same code.
constexpr std::array<ComputerRow, SchemeTable.size()> ComputerRows{{
    computedBy<AutoNumberScheme>(Scheme::AutoNumber),
    computedBy<ConditionScheme>(Scheme::Condition),
    computedBy<AddScheme>(Scheme::AddSubtract),
    computedBy<MultiplyScheme>(Scheme::MultiplyDivide),
    computedBy<NowScheme>(Scheme::Now),
    withoutValue(Scheme::Combo),
    computedBy<AgeScheme>(Scheme::Age),
}};

constexpr bool matchesSchemeTable()
{
    for (std::size_t i = 0; i < ComputerRows.size(); ++i) {
        if (ComputerRows[i].scheme != SchemeTable[i].scheme ||
            ComputerRows[i].computes != SchemeTable[i].computesValue)
            return false;
    }
    return true;
}
static_assert(
    matchesSchemeTable(),
    "each scheme has its computing object in the row of its code, and only schemes that compute a value");

} // namespace

std::unique_ptr<SchemeComputer> makeSchemeComputer(qint16 code, EngineContext& context,
                                                   Calculator& calculator)
{
    if (!isSchemeCode(code))
        return nullptr;
    const Maker maker = ComputerRows[static_cast<std::size_t>(code)].make;
    return maker != nullptr ? maker(context, calculator) : nullptr;
}

} // namespace valdora::engine
