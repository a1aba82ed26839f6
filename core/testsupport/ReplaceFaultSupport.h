#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace valdora::test {

/// The hidden ".<name>.*" files beside `file` except its lock companion: what a replace of the
/// file leaves behind when it does not clean up after itself.
QStringList temporariesBeside(const QString& file);

/// How many steps of atomic replaces `action` takes when none fails.
int replaceStepsOf(const std::function<void()>& action);

/// A file's whole content, nullopt when it does not exist.
std::optional<QByteArray> contentOf(const QString& path);

} // namespace valdora::test
