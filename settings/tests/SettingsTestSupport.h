#pragma once

#include "settings/IniLib.h"

#include "core/ErrorReport.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::test {

/// What a run of the helper process gave.
struct HelperRun {
    int exitCode = -1;
    QByteArray output;
};

/// Runs settings_test_helper with the arguments and waits for it to end.
HelperRun runHelper(const QStringList& arguments);
/// Starts settings_test_helper without waiting; the caller waits for it.
void startHelper(QProcess& process, const QStringList& arguments);

/// The bytes of a button file: its "[Settings]" section with `lines` ("key=value" each) in the
/// file's code page, every line ended by CR LF as the editor writes them.
QByteArray buttonFileText(const QStringList& lines);

/// A pinned environment for settings tests: en_US, a temporary user store, a temporary folder for
/// files, and an IniLib over a scripted platform.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest();

    /// A path in the temporary folder.
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    PinnedLocale m_locale{QStringLiteral("en_US")};
    TemporaryUserSettings m_userSettings;
    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ErrorReporter m_reporter{m_platform, QStringLiteral("Valdora"), [] { return QStringLiteral("support"); }};
    IniLib m_ini{m_reporter, TextLocale(QLocale(QStringLiteral("en_US")))};
};

} // namespace valdora::test
