#pragma once

#include "bar/testsupport/WindowTestSupport.h"

#include "settings/ProgramSession.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::editor::test {

using bar::test::click;
using bar::test::English;
using bar::test::expectNothingClipped;
using bar::test::French;
using bar::test::German;
using bar::test::inNextModal;
using bar::test::Language;
using bar::test::rowText;
using bar::test::saveScreenshot;
using bar::test::tabOrder;

/// A session over a scripted platform and a temporary per-user store, in English unless told.
struct DialogSession {
    valdora::test::TemporaryUserSettings store;
    ScriptedPlatform platform;
    ProgramSession session{platform, QStringLiteral("Valdora"), QStringLiteral("/opt/Valdora/"),
                           UserSettings(store.path())};

    explicit DialogSession(qint16 languageBase = 300) { session.messages().setLanguageBase(languageBase); }
};

/// Shows a window and waits until it is on screen.
inline void showAndWait(QWidget& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

/// Clicks a check box at its box, so that the click toggles it whatever its caption.
inline void tick(QWidget& window, const QString& name)
{
    auto* box = window.findChild<QWidget*>(name);
    ASSERT_NE(box, nullptr) << name.toStdString();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

} // namespace valdora::editor::test
