#pragma once

#include "settings/ProgramSession.h"
#include "settings/UserSettings.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::test {

/// A Valdora session over a scripted platform, with a program folder and a per-user store of its own
/// in a temporary folder, pinned to en_US.
class StartupSession : public ::testing::Test {
protected:
    StartupSession() { EXPECT_TRUE(m_dir.isValid()); }

    /// A path in the temporary folder.
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    /// A per-user setting of application Valdora.
    QString stored(const QString& section, const QString& key, const QString& defaultValue = {}) const
    {
        return m_session.userSettings().get(Application::Valdora, section, key, defaultValue);
    }
    void store(const QString& section, const QString& key, const QString& value)
    {
        ASSERT_TRUE(m_session.userSettings().set(Application::Valdora, section, key, value));
    }

    PinnedLocale m_locale{QStringLiteral("en_US")};
    QTemporaryDir m_dir;
    ScriptedPlatform m_platform;
    ProgramSession m_session{m_platform, QStringLiteral("Valdora"), m_dir.path() + QStringLiteral("/program"),
                             UserSettings(m_dir.path() + QStringLiteral("/user")),
                             TextLocale(QLocale(QStringLiteral("en_US")))};
};

} // namespace valdora::test
