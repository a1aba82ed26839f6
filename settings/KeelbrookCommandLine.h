#pragma once

#include <QString>

/// Keelbrook's command line, as Valdora writes it and Keelbrook reads it.
namespace valdora::KeelbrookCommandLine {

/// Keelbrook waits before it checks that the host has closed when its argument text holds this
/// anywhere.
inline const QString WaitMark = QStringLiteral("w5");
/// The argument Valdora passes when it has just closed the host and starts Keelbrook: "/w5".
inline const QString WaitArgument = QLatin1Char('/') + WaitMark;

} // namespace valdora::KeelbrookCommandLine
