// The scheme table walked row by row: codes 0 up in order, a caption in each language, the scheme
// that the plain "Type" text names, and the typed keys of the same code.
#include "settings/SchemeTable.h"
#include "settings/ButtonModel.h"
#include "settings/MessageTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace valdora {
namespace {

// The typed keys of every row's code name that code back.
template <std::size_t... I> constexpr bool keysNameTheirScheme(std::index_sequence<I...>)
{
    return ((schemeOfKeys<SchemeKeysOf<SchemeTable[I].scheme>>() == SchemeTable[I].scheme) && ...);
}
static_assert(keysNameTheirScheme(std::make_index_sequence<SchemeTable.size()>()));

class SchemeTableTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SchemeTableTest, RowIsComplete)
{
    const std::size_t index = GetParam();
    const SchemeRow& row = SchemeTable[index];
    EXPECT_EQ(codeOf(row.scheme), static_cast<qint16>(index)) << "rows are in code order from 0";
    EXPECT_EQ(schemeOf(QString::number(index)), row.scheme);
    EXPECT_EQ(schemeRowOf(row.scheme), &row);
    EXPECT_EQ(schemeOnEditorPage(row.editorPage), row.scheme);
    EXPECT_EQ(computesValue(codeOf(row.scheme)), row.computesValue);
    for (const qint16 base : {qint16(300), qint16(1300), qint16(2300)}) {
        const QString caption = Messages(MessageTable::valdora(), base).get(row.caption);
        EXPECT_FALSE(caption.trimmed().isEmpty()) << "language base " << base;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SchemeTableTest, ::testing::Range<std::size_t>(0, SchemeTable.size()),
                         [](const auto& info) { return "Code" + std::to_string(info.param); });

TEST(SchemeTable, CodesAndPagesAreEachUsedOnce)
{
    std::set<int> pages;
    for (const SchemeRow& row : SchemeTable)
        pages.insert(row.editorPage);
    EXPECT_EQ(pages.size(), SchemeTable.size());
    EXPECT_EQ(*pages.begin(), 0);
    EXPECT_EQ(*pages.rbegin(), SchemeCount - 1);
    EXPECT_EQ(schemeRowOf(codeOf(Scheme::Missing)), nullptr);
    EXPECT_EQ(schemeRowOf(static_cast<qint16>(SchemeCount)), nullptr);
    EXPECT_EQ(schemeOf(QString::number(SchemeCount)), Scheme::Missing);
    EXPECT_FALSE(computesValue(static_cast<qint16>(SchemeCount)));
}

} // namespace
} // namespace valdora
