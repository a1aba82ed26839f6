#pragma once

#include <QString>

#include <cstdio>

namespace valdora::bar {

/// Writes `text` and a line end to `stream` in the console's encoding, flushed at once so that a
/// script reading the program's output sees each line as it is written.
void printLine(FILE* stream, const QString& text);

} // namespace valdora::bar
