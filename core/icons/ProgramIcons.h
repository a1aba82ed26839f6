#pragma once

#include <QIcon>
#include <QString>

namespace valdora::icons {

/// The suite's programs that show windows, each with its own icon.
enum class Program {
    Valdora,     ///< the bar, the editor and ValdoraAuto's notices
    Keelbrook,   ///< the trigger utility
    ContactHost, ///< the embedded host's window
};

/// The resource path of the program's icon (":/icons/valdora.svg").
QString iconResource(Program program);

/// The program's icon, drawn from its SVG at any size. Null only when the resource is missing; a
/// desktop without Qt's SVG support draws it empty (see `rendersVisibly`). The SVG is read when the
/// icon is first drawn, not when it is made.
QIcon programIcon(Program program);

/// True when the icon draws something other than one flat colour at this size: what a user sees as a
/// real icon rather than a blank square.
bool rendersVisibly(const QIcon& icon, int size);

/// Makes the program's icon the default icon of every window the application opens.
void useProgramIcon(Program program);

} // namespace valdora::icons
