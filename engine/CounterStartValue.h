#pragma once

#include "core/TextLocale.h"

#include <QString>

#include <optional>

/// The counter file as the editor sees it: the "Start at" number it shows and saves. The format
/// itself (one line, the next number) belongs to CounterFile.h, which the run uses.
namespace valdora::engine::CounterFile {

/// The number a counter file holds as "Start at" shows it: the first line, trimmed, when it is
/// numeric for `locale`; nullopt when the file cannot be read or holds something else. Reads only:
/// a missing file is not created.
std::optional<QString> startValue(const QString& path, const TextLocale& locale);
/// Makes the file hold `number` as its one line, replaced atomically. Throws Failure when it cannot
/// (the file is then unchanged).
void writeStartValue(const QString& path, const QString& number);

} // namespace valdora::engine::CounterFile
