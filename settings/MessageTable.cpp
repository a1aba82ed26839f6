#include "MessageTable.h"

#include "MessageRows.h"

#include <algorithm>
#include <vector>

namespace valdora {

namespace {

constexpr int LastOffset = 287;

bool lessByNumber(const MessageTable::Row& a, const MessageTable::Row& b)
{
    return a.number < b.number;
}

// Rows that Keelbrook's copy leaves out: the settings-file location rows, in every language.
bool missingFromKeelbrook(int number)
{
    const int offset = number % 1000;
    return offset == 585 || offset == 587;
}

// The three language blocks in one list sorted by number; Keelbrook's copy with its own rows
// in place of the shared ones and without the rows it lacks.
std::vector<MessageTable::Row> buildRows(bool keelbrook)
{
    std::vector<MessageTable::Row> rows;
    for (auto block : {messagerows::english(), messagerows::french(), messagerows::german()})
        rows.insert(rows.end(), block.begin(), block.end());
    std::sort(rows.begin(), rows.end(), lessByNumber);
    if (!keelbrook)
        return rows;

    std::erase_if(rows, [](const MessageTable::Row& row) { return missingFromKeelbrook(row.number); });
    for (auto block :
         {messagerows::englishKeelbrook(), messagerows::frenchKeelbrook(), messagerows::germanKeelbrook()}) {
        for (const MessageTable::Row& own : block) {
            auto at = std::lower_bound(rows.begin(), rows.end(), own, lessByNumber);
            if (at != rows.end() && at->number == own.number)
                *at = own;
        }
    }
    return rows;
}

} // namespace

MessageTable::MessageTable(const Row* rows, int count, bool keelbrook)
    : m_rows(rows), m_count(count), m_keelbrook(keelbrook)
{}

const MessageTable& MessageTable::valdora()
{
    static const std::vector<Row> rows = buildRows(false);
    static const MessageTable table(rows.data(), static_cast<int>(rows.size()), false);
    return table;
}

const MessageTable& MessageTable::keelbrook()
{
    static const std::vector<Row> rows = buildRows(true);
    static const MessageTable table(rows.data(), static_cast<int>(rows.size()), true);
    return table;
}

std::optional<QString> MessageTable::row(int number) const
{
    const Row* end = m_rows + m_count;
    const Row* at = std::lower_bound(m_rows, end, Row{number, nullptr}, lessByNumber);
    if (at == end || at->number != number)
        return std::nullopt;
    return QString::fromUtf8(at->utf8Text);
}

QString MessageTable::text(qint16 languageBase, int offset) const
{
    // An offset beyond the block would silently fetch a row of another language.
    if (offset < 0 || offset > LastOffset)
        return {};
    return row(languageBase + offset).value_or(QString());
}

QList<int> MessageTable::numbers() const
{
    QList<int> result;
    result.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        result.append(m_rows[i].number);
    return result;
}

} // namespace valdora
