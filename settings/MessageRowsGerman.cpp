#include "MessageRows.h"

namespace valdora::messagerows {

std::span<const MessageTable::Row> german()
{
    return {};
}

std::span<const MessageTable::Row> germanKeelbrook()
{
    return {};
}

} // namespace valdora::messagerows
