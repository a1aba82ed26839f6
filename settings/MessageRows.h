#pragma once

#include "MessageTable.h"

#include <span>

// The rows of the message table, one block per language, each in ascending order of number.
namespace valdora::messagerows {

/// The English block 300..587.
std::span<const MessageTable::Row> english();
/// The French block 1300..1587.
std::span<const MessageTable::Row> french();
/// The German block 2300..2587, with the German-only row 2586.
std::span<const MessageTable::Row> german();

/// Keelbrook's own texts of rows 435, 450 and 491, in each language's block.
std::span<const MessageTable::Row> englishKeelbrook();
std::span<const MessageTable::Row> frenchKeelbrook();
std::span<const MessageTable::Row> germanKeelbrook();

} // namespace valdora::messagerows
