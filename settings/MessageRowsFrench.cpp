#include "MessageRows.h"

namespace valdora::messagerows {

std::span<const MessageTable::Row> french()
{
    return {};
}

std::span<const MessageTable::Row> frenchKeelbrook()
{
    return {};
}

} // namespace valdora::messagerows
