#pragma once

#include "MessageId.h"
#include "Scheme.h"

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace valdora {

/// What the engine and the editor know of one scheme beyond its own keys and its computation. The
/// keys are the scheme's alternative of SchemeKeys (ButtonModel.h, by the same code); the computing
/// object is made by the engine's row of the same code.
struct SchemeRow {
    Scheme scheme;
    /// The page of the editor's tab control that shows the scheme (the pages are not in code order).
    int editorPage;
    /// The page's tab caption.
    MessageId caption;
    /// False for a scheme that computes no value of its own (Combo only runs its members).
    bool computesValue;
};

/// Every scheme, in the order of its code: row i is the scheme of code i.
inline constexpr std::array<SchemeRow, 7> SchemeTable{{
    {Scheme::AutoNumber, 0, MessageId::SchemeAutoNumber, true},
    {Scheme::Condition, 1, MessageId::SchemeCondition, true},
    {Scheme::AddSubtract, 2, MessageId::SchemeAddSubtract, true},
    {Scheme::MultiplyDivide, 3, MessageId::SchemeMultiplyDivide, true},
    {Scheme::Now, 4, MessageId::SchemeNow, true},
    {Scheme::Combo, 6, MessageId::SchemeCombo, false},
    {Scheme::Age, 5, MessageId::SchemeAge, true},
}};

/// How many schemes there are: the codes run from 0 to SchemeCount - 1.
inline constexpr int SchemeCount = static_cast<int>(SchemeTable.size());

/// True for the code of a scheme; any other number names none.
constexpr bool isSchemeCode(qint16 code)
{
    return code >= 0 && code < SchemeCount;
}

/// The row of a scheme code; nullptr for a number that names no scheme.
constexpr const SchemeRow* schemeRowOf(qint16 code)
{
    return isSchemeCode(code) ? &SchemeTable[static_cast<std::size_t>(code)] : nullptr;
}

/// The row of a scheme; nullptr for Scheme::Missing.
constexpr const SchemeRow* schemeRowOf(Scheme scheme)
{
    return schemeRowOf(codeOf(scheme));
}

/// True when a button of this code computes a value of its own: every scheme but Combo, which only
/// runs its members. An unknown code computes nothing.
constexpr bool computesValue(qint16 code)
{
    const SchemeRow* row = schemeRowOf(code);
    return row != nullptr && row->computesValue;
}

/// The scheme the editor shows on a page; Scheme::Missing for a page no scheme has.
constexpr Scheme schemeOnEditorPage(int page)
{
    for (const SchemeRow& row : SchemeTable) {
        if (row.editorPage == page)
            return row.scheme;
    }
    return Scheme::Missing;
}

namespace schemetable {

// The table is looked up by code, and the editor's pages are one each.
constexpr bool inCodeOrder()
{
    for (std::size_t i = 0; i < SchemeTable.size(); ++i) {
        if (codeOf(SchemeTable[i].scheme) != static_cast<qint16>(i))
            return false;
    }
    return true;
}

constexpr bool onePagePerScheme()
{
    for (int page = 0; page < SchemeCount; ++page) {
        int rows = 0;
        for (const SchemeRow& row : SchemeTable)
            rows += row.editorPage == page ? 1 : 0;
        if (rows != 1)
            return false;
    }
    return true;
}

} // namespace schemetable

static_assert(schemetable::inCodeOrder(), "row i of the scheme table is the scheme of code i");
static_assert(schemetable::onePagePerScheme(), "each editor page shows exactly one scheme");

} // namespace valdora
