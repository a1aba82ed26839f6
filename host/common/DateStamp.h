#pragma once

#include <QString>

namespace valdora::host {

/// The local time now as the contact database stores dates ("yyyy-MM-dd HH:mm:ss"): the create and
/// edit dates of a contact.
QString currentStamp();

} // namespace valdora::host
