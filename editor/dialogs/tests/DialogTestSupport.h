#pragma once

#include "widgets/testsupport/WindowTestSupport.h"

#include "settings/ProgramSession.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::editor::test {

using valdora::test::click;
using valdora::test::English;
using valdora::test::expectNothingClipped;
using valdora::test::French;
using valdora::test::German;
using valdora::test::inNextModal;
using valdora::test::Language;
using valdora::test::rowText;
using valdora::test::saveScreenshot;
using valdora::test::tabOrder;

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
