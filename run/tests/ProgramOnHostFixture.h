#pragma once

#include "core/testsupport/ScriptedPlatform.h"
#include "host/tests/RunningHostFixture.h"
#include "settings/ProgramSession.h"

#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace valdora::run::test {

using Keys = QList<QPair<QString, QString>>;

/// A program folder with a settings folder, beside a running headless host: Valdora's session over a
/// scripted platform for runs in the test's process, and Valdora.exe for runs in a process of its own.
class ProgramOnHostTest : public valdora::test::RunningHostTest {
protected:
    void SetUp() override;

    /// Writes these keys into a button file of the button folder.
    void writeButton(const QString& name, const Keys& keys);

    /// Valdora.exe with these arguments, the program folder and per-user settings of the test,
    /// started (not waited for).
    std::unique_ptr<QProcess> startValdora(const QStringList& arguments) const;
    /// Valdora.exe with these arguments, to its end; killed when it runs longer than `msecs`.
    valdora::test::CommandResult valdora(const QStringList& arguments, int msecs = 120000) const;
    /// The values of a field in every contact of the test's database, in the default sort.
    QStringList column(const QString& field) const;

    ScriptedPlatform m_platform;
    QString m_program;
    std::unique_ptr<ProgramSession> m_session;
};

} // namespace valdora::run::test
