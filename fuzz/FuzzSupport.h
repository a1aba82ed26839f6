#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace valdora::fuzz {

/// Pins what the code under test reads from the environment, as the test main does: the time zone
/// (UTC) and the C library locale (C.UTF-8). Call once, from LLVMFuzzerInitialize.
void pinEnvironment();

/// A folder of this process for the files a target writes; removed when the process ends normally.
const QString& scratchFolder();

/// The input's bytes as UTF-8 text (invalid sequences become U+FFFD).
QString utf8Text(const std::uint8_t* data, std::size_t size);

/// A property of the code under test that must hold for every input. When it does not, prints what
/// was expected with the two texts compared and aborts, so that libFuzzer keeps the input.
void check(bool holds, const char* property, const QString& got = {}, const QString& expected = {});

} // namespace valdora::fuzz
